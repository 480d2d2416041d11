#include "chrome/ChromeLauncher.h"

#include "platform/ApplicationDirectory.h"
#include "platform/ChromeWindows.h"
#include "platform/Platform.h"
#include "platform/ProcessLauncher.h"
#include "platform/Scheduler.h"

#include <chrono>

namespace ChromeLauncher {
namespace {

void activateChrome(int retriesRemaining)
{
    Platform& platform = Platform::current();
    const QList<ChromeWindows::Handle> windows = platform.chromeWindows->find();
    if (!windows.isEmpty()) {
        platform.chromeWindows->activate(windows.first());
        return;
    }
    if (retriesRemaining <= 0)
        return;
    platform.scheduler->schedule(std::chrono::milliseconds(activationIntervalMs), nullptr,
                                 [retriesRemaining] { activateChrome(retriesRemaining - 1); });
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

void open(const QString& url, const QString& profileDirectory)
{
    Platform& platform = Platform::current();
    const auto chrome = platform.applications->find(QString::fromUtf16(chromeDesktopId));
    if (!chrome)
        return;
    const QString program =
        chrome->executable.isEmpty() ? QString::fromUtf16(fallbackExecutable) : chrome->executable;
    platform.processes->startDetached(program, arguments(url, profileDirectory));
    activateChrome(activationRetries);
}

} // namespace ChromeLauncher
