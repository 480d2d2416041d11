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

class InstanceLock;
struct Platform;
struct RuntimeDirectory;

/// Orlim, from its command line to its end. `run` is how it starts, step by
/// step; an Application is the running Orlim: the services links go through
/// (the browsers, the rules, the launcher) and the windows (the picker, the
/// notice, the settings, the tray), made once on the platform and handed to
/// each part that uses them. Links come in by its AppDelegate.
class Application
{
public:
    /// `orlim-app`, which `orlim` starts when no running Orlim took its links
    /// or its command line holds an option: answers the option, or hands the
    /// links to the running Orlim, or becomes it. Returns the exit code.
    static int run(int argc, char** argv);

    /// Makes everything on `platform`, whose desktop is settled, and joins it.
    explicit Application(Platform& platform);

    AppDelegate& delegate() { return m_delegate; }
    PickerWindowController& picker() { return m_picker; }
    LinkNotice& notice() { return m_notice; }

private:
    /// Listens at `runtime`'s socket for the links of later `orlim`s; without
    /// it, lets `lock` go, so that a later `orlim` starts an Orlim of its own
    /// instead of waiting for one that cannot hear it.
    void openTheDoor(const RuntimeDirectory& runtime, InstanceLock& lock);
    /// Routes the links Orlim was started with, with the token of the program
    /// they came from, then installs the tray and, without links, brings up
    /// the settings a moment later with that token.
    void start(const QStringList& links, const QString& launchToken);

    /// The desktop entry of the browser served now; empty when none is installed.
    QString servedBrowser() const;

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
