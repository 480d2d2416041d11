// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "app/LinkRouter.h"
#include "app/LinkServer.h"
#include "chrome/ChromeInstallation.h"
#include "chrome/ChromeProfiles.h"
#include "handover/Forwarding.h"
#include "handover/InstanceLock.h"
#include "handover/RuntimeDirectory.h"
#include "platform/ActivationVariables.h"
#include "platform/AppActions.h"
#include "platform/AppInfo.h"
#include "platform/ArgumentText.h"
#include "platform/DefaultBrowser.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxPlatform.h"
#include "rules/RuleStore.h"
#include "ui/look/Accessibility.h"
#include "ui/look/Appearance.h"
#include "ui/look/TitleBar.h"
#include "ui/look/Typography.h"
#include "ui/look/WindowShortcuts.h"
#include "ui/notice/LinkNotice.h"
#include "ui/picker/PickerWindowController.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/tray/MenuBarController.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cstdio>

namespace {

constexpr int handOverDeadlineMs = 10000;
constexpr int handOverRetryMs = 10;

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

QStringList argumentsOf(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments.append(ArgumentText::fromBytes(QByteArray(argv[i])));
    return arguments;
}

/// The browsers as the user's desktop and settings have them.
ChromeInstallations browsersOf(const Platform& platform)
{
    return {*platform.applications, *platform.files};
}

void printNoneInstalled()
{
    print(stderr, u"orlim: " + ChromeInstallations::noneInstalled() + u'\n');
}

int listProfiles(const ChromeInstallations& browsers)
{
    const auto served = browsers.find();
    if (!served) {
        printNoneInstalled();
        return 1;
    }
    for (const ChromeProfile& profile : ChromeProfiles::load(*served).profiles)
        print(stdout, profile.directoryName + u'\t' + profile.displayName + u'\n');
    return 0;
}

int listBrowsers(const ChromeInstallations& browsers)
{
    const QList<ChromeInstallation> installed = browsers.installed();
    const auto served = browsers.servedAmong(installed);
    if (!served) {
        printNoneInstalled();
        return 1;
    }
    for (const ChromeInstallation& browser : installed) {
        print(stdout, browser.desktopId + u'\t' + browser.name +
                          (browser.desktopId == served->desktopId ? u"\tserved\n" : u"\n"));
    }
    return 0;
}

int makeDefaultBrowser(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    DefaultBrowser& browser = *linuxPlatform().defaultBrowser;
    AppActions::setAsDefaultBrowser(browser, [] { QCoreApplication::quit(); });
    app.exec();
    const auto handler = browser.handler(QStringLiteral("https"));
    if (handler == QString::fromUtf16(AppInfo::desktopId)) {
        print(stdout, QStringLiteral("Orlim is the default web browser.\n"));
        return 0;
    }
    print(stdout, u"Orlim is not the default web browser; https links open with " +
                      handler.value_or(QStringLiteral("no application")) + u".\n");
    if (!handler || handler->isEmpty())
        print(stderr, QStringLiteral("orlim: is orlim.desktop installed? (make install)\n"));
    return 1;
}

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
    QApplication::setApplicationName(QStringLiteral("orlim"));
    QApplication::setApplicationVersion(AppInfo::version());
    QApplication::setDesktopFileName(QStringLiteral("orlim"));
    QApplication::setQuitOnLastWindowClosed(false);
    Platform platform = linuxPlatform();
    platform.settleDesktop();
    Appearance::follow(*platform.colorScheme, QApplication::palette());
    Accessibility::install();
    Typography::preferJapaneseFaces();

    // What links go through: the browsers, the rules, the launcher.
    const ChromeInstallations browsers = browsersOf(platform);
    const RuleStore rules(*platform.files);
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
        LinkRouter::servedOnly(browsers), launcher, rules, *platform.windowActivation);
    SettingsWindowController settings(
        presenter, {browsers, rules, *platform.defaultBrowser, *platform.scheduler});
    MenuBarController tray([&settings] { settings.show(); }, *platform.defaultBrowser,
                           platform.desktop);
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
        print(stderr, u"orlim: cannot listen on " +
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
    const CommandLine commandLine = CommandLine::parse(argumentsOf(argc, argv));
    switch (commandLine.action) {
    case CommandLine::Action::Invalid:
        print(stderr, u"orlim: " + commandLine.error + u"\nTry 'orlim --help'.\n");
        return 2;
    case CommandLine::Action::Help:
        print(stdout, CommandLine::usage());
        return 0;
    case CommandLine::Action::Version:
        print(stdout, u"Orlim " + AppInfo::version() + u'\n');
        return 0;
    case CommandLine::Action::ListProfiles:
        return listProfiles(browsersOf(linuxPlatform()));
    case CommandLine::Action::ListBrowsers:
        return listBrowsers(browsersOf(linuxPlatform()));
    case CommandLine::Action::MakeDefaultBrowser:
        return makeDefaultBrowser(argc, argv);
    case CommandLine::Action::Open:
        break;
    }

    const auto runtime = RuntimeDirectory::forCurrentUser();
    if (!runtime) {
        print(stderr, QStringLiteral("orlim: cannot create a private runtime folder\n"));
        return 1;
    }
    // Either we take the lock and become the running Orlim, or someone holds it
    // and will listen shortly: hand the links over. Loop until one succeeds.
    std::vector<std::string> links;
    for (const QString& link : commandLine.links)
        links.push_back(ArgumentText::toBytes(link).toStdString());
    const std::string token = Forwarding::activationToken();
    InstanceLock lock;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < handOverDeadlineMs) {
        if (lock.tryAcquire(runtime->lockPath()))
            return runApplication(argc, argv, *runtime, lock, commandLine.links, token);
        if (const auto exitCode =
                Forwarding::exitCodeAfter(Forwarding::handOver(*runtime, links, token)))
            return *exitCode;
        QThread::msleep(handOverRetryMs);
    }
    print(stderr, QStringLiteral("orlim: the running Orlim does not answer\n"));
    return 1;
}
