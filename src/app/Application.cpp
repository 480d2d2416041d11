// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "actions/AppActions.h"
#include "app/CommandLine.h"
#include "app/Options.h"
#include "instance/Election.h"
#include "instance/Forwarding.h"
#include "instance/InstanceLock.h"
#include "instance/RuntimeDirectory.h"
#include "platform/ActivationVariables.h"
#include "platform/AppInfo.h"
#include "platform/Platform.h"
#include "rules/FeatureFlags.h"
#include "text/ArgumentText.h"
#include "ui/look/Accessibility.h"
#include "ui/look/Appearance.h"
#include "ui/look/Typography.h"
#include "ui/window/TitleBar.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

Application::Application(Platform& platform)
    : m_browsers(*platform.applications, *platform.files),
      m_rules(*platform.files,
              [this] {
                  const auto served = m_browsers.find();
                  return served ? served->desktopId : QString();
              }),
      m_wrappedLinks(*platform.files),
      m_launcher(*platform.processes, platform.browserWindows, *platform.scheduler, m_browsers),
      m_commands{[this] { m_settings.show(); }, &AppActions::quit},
      m_presenter{*platform.windowActivation, TitleBar::wanted(platform.desktop), &m_commands},
      m_notice(m_presenter, *platform.notifications),
      m_picker(m_launcher, m_rules, m_notice, m_presenter, *platform.scheduler),
      m_router(m_picker, m_notice, LinkRouter::browsersShown(m_browsers), m_launcher, m_rules,
               *platform.windowActivation, LinkRouter::browsersInstalled(m_browsers),
               &m_wrappedLinks, LinkRouter::profilesHidden(m_browsers)),
      m_settings(m_presenter, {m_browsers, m_rules, *platform.defaultBrowser, *platform.scheduler,
                               m_commands.quit, &m_wrappedLinks}),
      m_tray(m_commands, *platform.defaultBrowser, platform.desktop),
      m_delegate(
          m_router, m_tray, [this](const QString& token) { m_settings.show(token); },
          *platform.scheduler)
{
    // Rules written before they named a browser stay with the one served now.
    if constexpr (FeatureFlags::rulesEnabled)
        m_rules.settle();
    // The window of links not opened waits while the picker is up.
    QObject::connect(&m_picker, &PickerWindowController::up, &m_notice, &LinkNotice::pickerUp);
    QObject::connect(&m_server, &LinkServer::linksReceived, &m_delegate, &AppDelegate::openURLs);
    QObject::connect(&m_server, &LinkServer::reopenRequested, &m_delegate,
                     &AppDelegate::applicationShouldHandleReopen);
}

bool Application::listen(const std::string& socketPath)
{
    return m_server.listen(socketPath);
}

void Application::start(const QStringList& links, const QString& launchToken)
{
    m_delegate.openURLs(links, launchToken);
    m_delegate.applicationDidFinishLaunching(links.isEmpty() ? launchToken : QString());
}

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

    Application orlim(platform);
    // Listen before routing anything, so no later link can slip past.
    // Without a door the lock must go too: a later `orlim` then starts its own
    // application instead of waiting for one that cannot hear it.
    if (!orlim.listen(runtime.socketPath())) {
        lock.release();
        Options::print(stderr, u"orlim: cannot listen on " +
                                   QFile::decodeName(runtime.socketPath().c_str()) +
                                   u"; later links will start another Orlim\n");
    }
    orlim.start(links, token);
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
