// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ChromeLauncher.h"

#include "browser/BrowserInstallation.h"
#include "browser/NotOpened.h"
#include "platform/BrowserWindows.h"
#include "platform/ProcessLauncher.h"
#include "platform/Scheduler.h"

#include <QPointer>

#include <chrono>
#include <cstdio>

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

} // namespace

void ChromeLauncher::activate(const QString& windowClass, int retriesRemaining,
                              const QObject* owner) const
{
    if (!m_windows)
        return;
    const QList<BrowserWindows::Handle> windows = m_windows->find(windowClass);
    if (!windows.isEmpty()) {
        m_windows->activate(windows.first());
        return;
    }
    if (retriesRemaining <= 0)
        return;
    m_scheduler.schedule(std::chrono::milliseconds(activationIntervalMs), owner,
                         [this, windowClass, retriesRemaining, owner] {
                             activate(windowClass, retriesRemaining - 1, owner);
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
    if (!command || !m_processes.startDetached(command->first(), command->mid(1),
                                               request.activationToken, didNotStart)) {
        didNotStart();
        return;
    }
    if (request.toFront)
        activate(browser.windowClass, activationRetries, request.owner);
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
