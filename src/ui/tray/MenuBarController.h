// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"
#include "ui/window/WindowShortcuts.h"

#include <QObject>
#include <functional>
#include <memory>

class DefaultBrowser;
class QAction;
class QMenu;
class QSystemTrayIcon;

/// Orlim's tray icon and its menu: the version, open settings, make Orlim the
/// default browser, quit.
class MenuBarController : public QObject
{
    Q_OBJECT
public:
    /// `actions` are what "設定を開く…" and "終了" do, as the window keys;
    /// `browser` is asked to make Orlim the default; `desktop` decides where
    /// the icon can go.
    MenuBarController(WindowShortcuts::Actions actions, DefaultBrowser& browser, Desktop desktop,
                      QObject* parent = nullptr);
    ~MenuBarController() override;

    /// Builds the menu and puts the icon in the tray (replacing an earlier one).
    void install();

    QMenu* menu() const { return m_menu.get(); }
    QSystemTrayIcon* trayIcon() const { return m_tray.get(); }

private:
    WindowShortcuts::Actions m_actions;
    DefaultBrowser& m_browser;
    Desktop m_desktop;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_tray;
};
