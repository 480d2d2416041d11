// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ChromeLauncher.h"

#include "browser/BrowserInstallation.h"
#include "browser/NotOpened.h"
#include "platform/BrowserWindows.h"
#include "platform/ProcessLauncher.h"
#include "platform/Scheduler.h"

#include <QPointer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>

namespace {

bool looksLikeSwitch(const QString& url)
{
    for (const QChar c : url) {
        if (!c.isSpace())
            return c == u'-';
    }
    return false;
}

const char* reason(ChromeLauncher::Failure why)
{
    using enum ChromeLauncher::Failure;
    switch (why) {
    case NoBrowser:
        return "no supported browser is installed";
    case BrowserGone:
        return "its browser was removed";
    case DidNotStart:
        return "the browser could not be started";
    }
    return "";
}

/// The window of a browser's class, listed topmost first in `now`, that can
/// show the start made when `before` was listed: one that appeared, else one
/// that changed since; none when every window is as it was.
std::optional<BrowserWindows::Handle> windowOfTheStart(const QList<BrowserWindows::Window>& before,
                                                       const QList<BrowserWindows::Window>& now)
{
    // Every profile of a browser shares its window class: a window that was
    // there before the start and is as it was belongs to another profile, or
    // to the chosen one if it has not acted on the link yet. A window that
    // appeared is the likelier one, then one whose program acted on input (its
    // user time), one raised, and last one whose title changed.
    std::optional<BrowserWindows::Handle> best;
    int bestRank = 0;
    for (const BrowserWindows::Window& window : now) {
        const auto was = std::find_if(before.begin(), before.end(),
                                      [&](const auto& w) { return w.handle == window.handle; });
        const int rank = was == before.end()                ? 4
                         : was->userTime != window.userTime ? 3
                         : was->stacking < window.stacking  ? 2
                         : was->title != window.title       ? 1
                                                            : 0;
        // Topmost first: of equals, the first found.
        if (rank > bestRank)
            best = window.handle, bestRank = rank;
    }
    return best;
}

} // namespace

void ChromeLauncher::activate(const QString& windowClass,
                              const QList<BrowserWindows::Window>& before, int retriesRemaining,
                              const QObject* owner) const
{
    if (const auto window = windowOfTheStart(before, m_windows->find(windowClass))) {
        // A browser that brought its own window forward (with the start's
        // token) needs no request of ours.
        if (m_windows->active() != *window)
            m_windows->activate(*window);
        return;
    }
    if (retriesRemaining <= 0)
        return;
    m_scheduler.schedule(std::chrono::milliseconds(activationIntervalMs), owner,
                         [this, windowClass, before, retriesRemaining, owner] {
                             activate(windowClass, before, retriesRemaining - 1, owner);
                         });
}

QStringList ChromeLauncher::arguments(const QString& url, const QString& profileDirectory,
                                      const QString& privateSwitch,
                                      BrowserInstallation::Family family)
{
    const bool firefox = family == BrowserInstallation::Family::Firefox;
    if (firefox && looksLikeSwitch(url))
        return {};
    QStringList args;
    if (!firefox)
        args.append(u"--profile-directory=" + profileDirectory);
    else if (profileDirectory.startsWith(u'/')) // a path is never taken for a switch
        args += QStringList{QStringLiteral("--profile"), profileDirectory};
    if (!privateSwitch.isEmpty())
        args.append(privateSwitch);
    if (looksLikeSwitch(url))
        args.append(QStringLiteral("--"));
    args.append(url);
    return args;
}

void ChromeLauncher::fail(const QString& url, Failure why, const FailureHandler& failed)
{
    std::fprintf(stderr, "orlim: a link could not be opened: %s\n", reason(why));
    if (failed)
        failed->notOpened(url, why);
}

void ChromeLauncher::open(const BrowserInstallation& browser, const Request& request,
                          const FailureHandler& failed) const
{
    const QStringList args =
        arguments(request.url, request.profileDirectory,
                  request.privateWindow ? browser.privateSwitch : QString(), browser.family);
    const auto command = args.isEmpty() ? std::nullopt : browser.commandLine(args);
    const auto didNotStart = [url = request.url, failed] {
        fail(url, Failure::DidNotStart, failed);
    };
    // Which of the browser's windows were there before it was started: only
    // one that appears or changes after can be the chosen profile's.
    const bool toFront = request.toFront && m_windows;
    const QList<BrowserWindows::Window> before =
        toFront ? m_windows->find(browser.windowClass) : QList<BrowserWindows::Window>();
    if (!command || !m_processes.startDetached(command->first(), command->mid(1),
                                               request.activationToken, didNotStart)) {
        didNotStart();
        return;
    }
    if (toFront)
        activate(browser.windowClass, before, activationRetries, request.owner);
}

void ChromeLauncher::openChosen(const BrowserInstallation& browser, const Request& request,
                                const FailureHandler& failed) const
{
    if (!m_installations.isInstalled(browser)) {
        // Its profiles are no other browser's: the link goes nowhere else.
        fail(request.url, Failure::BrowserGone, failed);
        return;
    }
    open(browser, request, failed);
}
