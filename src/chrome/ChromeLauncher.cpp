// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/ChromeLauncher.h"

#include "chrome/ChromeInstallation.h"
#include "platform/ChromeWindows.h"
#include "platform/Platform.h"
#include "platform/ProcessLauncher.h"
#include "platform/Scheduler.h"

#include <QPointer>

#include <chrono>
#include <cstdio>

namespace ChromeLauncher {
namespace {

void activateChrome(const QString& windowClass, int retriesRemaining, const QObject* owner)
{
    Platform& platform = Platform::current();
    if (!platform.chromeWindows)
        return;
    const QList<ChromeWindows::Handle> windows = platform.chromeWindows->find(windowClass);
    if (!windows.isEmpty()) {
        platform.chromeWindows->activate(windows.first());
        return;
    }
    if (retriesRemaining <= 0)
        return;
    platform.scheduler->schedule(std::chrono::milliseconds(activationIntervalMs), owner,
                                 [windowClass, retriesRemaining, owner] {
                                     activateChrome(windowClass, retriesRemaining - 1, owner);
                                 });
}

bool looksLikeSwitch(const QString& url)
{
    for (const QChar c : url) {
        if (!c.isSpace())
            return c == u'-';
    }
    return false;
}

const char* reason(Failure why)
{
    switch (why) {
    case Failure::NoBrowser:
        return "no supported browser is installed";
    case Failure::BrowserGone:
        return "its browser was removed";
    case Failure::DidNotStart:
        return "the browser could not be started";
    }
    return "";
}

} // namespace

QStringList arguments(const QString& url, const QString& profileDirectory,
                      const QString& privateSwitch)
{
    QStringList args{u"--profile-directory=" + profileDirectory};
    if (!privateSwitch.isEmpty())
        args.append(privateSwitch);
    if (looksLikeSwitch(url))
        args.append(QStringLiteral("--"));
    args.append(url);
    return args;
}

void fail(const QString& url, Failure why, const FailureHandler& failed)
{
    std::fprintf(stderr, "orlim: a link could not be opened: %s\n", reason(why));
    if (failed)
        failed(url, why);
}

void open(const ChromeInstallation& browser, const Request& request, const FailureHandler& failed)
{
    const auto command =
        browser.commandLine(arguments(request.url, request.profileDirectory,
                                      request.privateWindow ? browser.privateSwitch : QString()));
    const auto didNotStart = [url = request.url, failed] {
        fail(url, Failure::DidNotStart, failed);
    };
    if (!command || !Platform::current().processes->startDetached(
                        command->first(), command->mid(1), request.activationToken, didNotStart)) {
        didNotStart();
        return;
    }
    if (request.toFront)
        activateChrome(browser.windowClass, activationRetries, request.owner);
}

void openChosen(const ChromeInstallation& browser, const Request& request,
                const FailureHandler& failed)
{
    if (!browser.isInstalled()) {
        // Its profiles are no other browser's: the link goes nowhere else.
        fail(request.url, Failure::BrowserGone, failed);
        return;
    }
    open(browser, request, failed);
}

} // namespace ChromeLauncher
