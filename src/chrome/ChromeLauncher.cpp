// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/ChromeLauncher.h"

#include "chrome/ChromeInstallation.h"
#include "platform/ChromeWindows.h"
#include "platform/Platform.h"
#include "platform/ProcessLauncher.h"
#include "platform/Scheduler.h"

#include <chrono>
#include <cstdio>

namespace ChromeLauncher {
namespace {

void activateChrome(const QString& windowClass, int retriesRemaining)
{
    Platform& platform = Platform::current();
    const QList<ChromeWindows::Handle> windows = platform.chromeWindows->find(windowClass);
    if (!windows.isEmpty()) {
        platform.chromeWindows->activate(windows.first());
        return;
    }
    if (retriesRemaining <= 0)
        return;
    platform.scheduler->schedule(
        std::chrono::milliseconds(activationIntervalMs), nullptr,
        [windowClass, retriesRemaining] { activateChrome(windowClass, retriesRemaining - 1); });
}

bool looksLikeSwitch(const QString& url)
{
    for (const QChar c : url) {
        if (!c.isSpace())
            return c == u'-';
    }
    return false;
}

} // namespace

QStringList arguments(const QString& url, const QString& profileDirectory)
{
    QStringList args{u"--profile-directory=" + profileDirectory};
    if (looksLikeSwitch(url))
        args.append(QStringLiteral("--"));
    args.append(url);
    return args;
}

void open(const QString& url, const QString& profileDirectory, const QString& activationToken)
{
    const auto chrome = ChromeInstallation::find();
    if (!chrome) {
        // The link itself is not written: links can carry secrets.
        std::fprintf(stderr, "orlim: a link was dropped: %s\n", ChromeInstallations::noneInstalled);
        return;
    }
    Platform::current().processes->startDetached(
        chrome->program, chrome->leadingArguments + arguments(url, profileDirectory),
        activationToken);
    activateChrome(chrome->windowClass, activationRetries);
}

} // namespace ChromeLauncher
