// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/AppDelegate.h"
#include "app/LinkRouter.h"
#include "browser/BrowserInstallation.h"
#include "browser/ChromeLauncher.h"
#include "instance/LinkServer.h"
#include "rules/RuleStore.h"
#include "rules/WrappedLinkSetting.h"
#include "ui/notice/LinkNotice.h"
#include "ui/picker/PickerWindowController.h"
#include "ui/settings/SettingsWindowController.h"
#include "ui/tray/MenuBarController.h"
#include "ui/window/WindowPlacement.h"
#include "ui/window/WindowShortcuts.h"

#include <string>

struct Platform;

/// The running Orlim: the services links go through (the browsers, the rules,
/// the launcher) and the windows (the picker, the notice, the settings, the
/// tray), made once on `platform` and handed to each part that uses them.
/// It owns them all; the platform's services outlive it.
class Application
{
public:
    /// Makes everything on `platform`, whose desktop is settled.
    explicit Application(Platform& platform);

    /// Listens at `socketPath` for the links of later `orlim`s; false when it cannot.
    bool listen(const std::string& socketPath);
    /// Routes the links Orlim was started with, with the token of the program
    /// they came from, then installs the tray and, without links, brings up
    /// the settings a moment later with that token.
    void start(const QStringList& links, const QString& launchToken);

    AppDelegate& delegate() { return m_delegate; }
    PickerWindowController& picker() { return m_picker; }
    LinkNotice& notice() { return m_notice; }

private:
    BrowserInstallations m_browsers;
    RuleStore m_rules;
    WrappedLinkSetting m_wrappedLinks;
    const ChromeLauncher m_launcher;
    /// What the window keys, the tray and the settings set off.
    const WindowShortcuts::Actions m_commands;
    const WindowPlacement::Presenter m_presenter;
    LinkNotice m_notice;
    PickerWindowController m_picker;
    LinkRouter m_router;
    SettingsWindowController m_settings;
    MenuBarController m_tray;
    AppDelegate m_delegate;
    LinkServer m_server;
};

/// `orlim-app`, which `orlim` starts when no running Orlim took its links or
/// its command line holds an option: answers the option, or hands the links
/// to the running Orlim, or becomes it. Returns the process's exit code.
int runOrlim(int argc, char** argv);
