// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/LinkRouter.h"
#include "app/Options.h"
#include "chrome/ChromeInstallation.h"
#include "instance/Election.h"
#include "instance/Forwarding.h"
#include "instance/InstanceLock.h"
#include "instance/LinkServer.h"
#include "instance/RuntimeDirectory.h"
#include "platform/ActivationVariables.h"
#include "platform/AppActions.h"
#include "platform/AppInfo.h"
#include "platform/ArgumentText.h"
#include "platform/Platform.h"
#include "rules/RuleStore.h"
#include "ui/look/Accessibility.h"
#include "ui/look/Appearance.h"
#include "ui/look/Typography.h"
#include "ui/notice/LinkNotice.h"
#include "ui/picker/PickerWindowController.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/tray/MenuBarController.h"
#include "ui/window/TitleBar.h"
#include "ui/window/WindowShortcuts.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

namespace {

/// Becomes the running Orlim: listens for later links, routes our own, and runs
/// until quit.
int runApplication(int argc, char** argv, const RuntimeDirectory& runtime, InstanceLock& lock,
                   const QStringList& links, const std::string& launchToken)
{
    // The token is handed to the first window explicitly; Qt must not spend it
    // on its own, and no program started later may inherit it.
    for (const char* name : ActivationVariables::all)
        qunsetenv(name);
    const QString token = QString::fromStdString(launchToken);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromUtf16(AppInfo::desktopEntry));
    QApplication::setApplicationVersion(AppInfo::version());
    QApplication::setDesktopFileName(QString::fromUtf16(AppInfo::desktopEntry));
    QApplication::setQuitOnLastWindowClosed(false);
    Platform platform = Platform::forThisSystem();
    platform.settleDesktop();
    Appearance::follow(*platform.colorScheme, QApplication::palette());
    Accessibility::install();
    Typography::preferJapaneseFaces();

    // What links go through: the browsers, the rules, the launcher.
    ChromeInstallations browsers(*platform.applications, *platform.files);
    RuleStore rules(*platform.files);
    const ChromeLauncher launcher(*platform.processes, platform.chromeWindows, *platform.scheduler,
                                  browsers);

    // The windows, and what they set off. What the window keys trigger is
    // filled in once the delegate they reach exists.
    WindowShortcuts::Actions keys;
    const WindowPlacement::Presenter presenter{*platform.windowActivation,
                                               TitleBar::wanted(platform.desktop), &keys};
    LinkNotice notice(presenter, *platform.notifications);
    const ChromeLauncher::FailureHandler notOpened =
        [&notice](const QString& url, ChromeLauncher::Failure why) { notice.show(url, why); };
    PickerWindowController picker(
        {[&rules](const QString& prefix, const QString& profileDirectory) {
             rules.upsert(prefix, profileDirectory);
         },
         [&launcher, &notOpened](const ChromeInstallation& browser,
                                 const ChromeLauncher::Request& request) {
             launcher.openChosen(browser, request, notOpened);
         }},
        presenter, *platform.scheduler);
    LinkRouter router(
        {[&picker](const QString& url, const QList<ChromeProfiles::BrowserProfiles>& groups,
                   const QString& token) { picker.show(url, groups, token); },
         notOpened,
         [&picker](const QString& url, const ChromeInstallation& browser,
                   const QString& profileDirectory) {
             return picker.openInTurn(url, browser, profileDirectory);
         }},
        LinkRouter::browsersShown(browsers), launcher, rules, *platform.windowActivation);
    SettingsWindowController settings(presenter, {browsers, rules, *platform.defaultBrowser,
                                                  *platform.scheduler, &AppActions::quit});
    MenuBarController tray({[&settings] { settings.show(); }, &AppActions::quit},
                           *platform.defaultBrowser, platform.desktop);
    AppDelegate delegate(
        router, tray, [&settings](const QString& token) { settings.show(token); },
        *platform.scheduler);
    keys = {[&delegate] { delegate.applicationShouldHandleReopen(); }, &AppActions::quit};
    LinkServer server;
    QObject::connect(&server, &LinkServer::linksReceived, &delegate, &AppDelegate::openURLs);
    QObject::connect(&server, &LinkServer::reopenRequested, &delegate,
                     &AppDelegate::applicationShouldHandleReopen);
    // Listen before routing anything, so no later link can slip past.
    // Without a door the lock must go too: a later `orlim` then starts its own
    // application instead of waiting for one that cannot hear it.
    if (!server.listen(runtime.socketPath())) {
        lock.release();
        Options::print(stderr, u"orlim: cannot listen on " +
                                   QFile::decodeName(runtime.socketPath().c_str()) +
                                   u"; later links will start another Orlim\n");
    }

    delegate.openURLs(links, token);
    delegate.applicationDidFinishLaunching(links.isEmpty() ? token : QString());
    return app.exec();
}

} // namespace

int runOrlim(int argc, char** argv)
{
    const CommandLine commandLine = CommandLine::parse(argc, argv);
    if (commandLine.action != CommandLine::Action::Open)
        return Options::answer(commandLine, argc, argv);

    const auto runtime = RuntimeDirectory::forCurrentUser();
    if (!runtime) {
        Options::print(stderr, QStringLiteral("orlim: cannot create a private runtime folder\n"));
        return 1;
    }
    const std::string token = Forwarding::activationToken();
    InstanceLock lock;
    if (const auto exitCode = Election::run(
            lock, runtime->lockPath(),
            [&] { return Forwarding::handOver(*runtime, commandLine.links, token); },
            Election::steadyClock()))
        return *exitCode;
    // Read as text only now, to be shown.
    return runApplication(argc, argv, *runtime, lock, ArgumentText::fromBytes(commandLine.links),
                          token);
}
