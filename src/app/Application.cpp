// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"

#include "actions/AppActions.h"
#include "app/CommandLine.h"
#include "app/Options.h"
#include "instance/DetachedStart.h"
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

namespace {

/// The token is handed to the first window explicitly; Qt must not spend it
/// on its own, and no program started later may inherit it.
void forgetActivationVariables()
{
    for (const char* name : ActivationVariables::all)
        qunsetenv(name);
}

/// The names the desktop knows Orlim by; Orlim lives on with no window open.
void nameTheApplication()
{
    QApplication::setApplicationName(QString::fromUtf16(AppInfo::desktopEntry));
    QApplication::setApplicationVersion(AppInfo::version());
    QApplication::setDesktopFileName(QString::fromUtf16(AppInfo::desktopEntry));
    QApplication::setQuitOnLastWindowClosed(false);
}

/// Orlim's look follows the desktop's colours, reads to screen readers and
/// prefers Japanese faces.
void followTheDesktop(const Platform& platform)
{
    Appearance::follow(*platform.colorScheme, QApplication::palette());
    Accessibility::install();
    Typography::preferJapaneseFaces();
}

} // namespace

int Application::run(int argc, char** argv)
{
    // Taken first, so that nothing started later inherits it.
    DetachedStart::Starter starter = DetachedStart::Starter::fromEnvironment();
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

    // Elected: this process becomes the running Orlim.
    forgetActivationVariables();
    QApplication app(argc, argv);
    nameTheApplication();
    Platform platform = Platform::forThisSystem();
    platform.settleDesktop();
    followTheDesktop(platform);
    Application orlim(platform);
    // The door opens before anything is routed, so no later link slips past.
    orlim.openTheDoor(*runtime, lock);
    // Read as text only now, to be shown.
    orlim.start(ArgumentText::fromBytes(commandLine.links), QString::fromStdString(token));
    starter.linksTaken();
    return app.exec();
}

Application::Application(Platform& platform)
    : m_browsers(*platform.applications, *platform.files),
      m_rules(*platform.files, [this] { return servedBrowser(); }), m_wrappedLinks(*platform.files),
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
    // Later `orlim`s' links and reopens come in by the delegate, as Orlim's own.
    QObject::connect(&m_server, &LinkServer::linksReceived, &m_delegate, &AppDelegate::openURLs);
    QObject::connect(&m_server, &LinkServer::reopenRequested, &m_delegate,
                     &AppDelegate::applicationShouldHandleReopen);
}

QString Application::servedBrowser() const
{
    const auto served = m_browsers.find();
    return served ? served->desktopId : QString();
}

void Application::openTheDoor(const RuntimeDirectory& runtime, InstanceLock& lock)
{
    if (m_server.listen(runtime.socketPath()))
        return;
    lock.release();
    Options::print(stderr, u"orlim: cannot listen on " +
                               QFile::decodeName(runtime.socketPath().c_str()) +
                               u"; later links will start another Orlim\n");
}

void Application::start(const QStringList& links, const QString& launchToken)
{
    m_delegate.openURLs(links, launchToken);
    m_delegate.applicationDidFinishLaunching(links.isEmpty() ? launchToken : QString());
}
