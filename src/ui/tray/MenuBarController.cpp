// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/MenuBarController.h"

#include "actions/AppActions.h"
#include "platform/AppInfo.h"
#include "ui/look/Icons.h"

#include <QGuiApplication>
#include <QMenu>
#include <QSystemTrayIcon>

MenuBarController::MenuBarController(WindowShortcuts::Actions actions, DefaultBrowser& browser,
                                     Desktop desktop, QObject* parent)
    : QObject(parent), m_actions(std::move(actions)), m_browser(browser), m_desktop(desktop)
{
}

MenuBarController::~MenuBarController() = default;

void MenuBarController::install()
{
    m_tray.reset(); // it points at the menu replaced below
    auto menu = std::make_unique<QMenu>();
    QAction* version =
        menu->addAction(QString::fromUtf16(AppInfo::name) + u" v" + AppInfo::version());
    version->setEnabled(false);
    menu->addSeparator();

    QAction* settings = menu->addAction(QStringLiteral("設定を開く…"));
    settings->setShortcut(WindowShortcuts::settingsKey());
    connect(settings, &QAction::triggered, this, [this] {
        if (m_actions.openSettings)
            m_actions.openSettings();
    });

    QAction* makeDefault = menu->addAction(QStringLiteral("既定のブラウザにする…"));
    connect(makeDefault, &QAction::triggered, this,
            [this] { AppActions::setAsDefaultBrowser(m_browser); });
    menu->addSeparator();

    QAction* quit = menu->addAction(QStringLiteral("終了"));
    quit->setShortcut(WindowShortcuts::quitKey());
    connect(quit, &QAction::triggered, this, [this] {
        if (m_actions.quit)
            m_actions.quit();
    });

    m_menu = std::move(menu);
    // Off X11, Qt's only tray is a StatusNotifierItem; with no host for one
    // (GNOME without an extension) there is nothing to put it in, and Qt's X11
    // fallback would only complain. Orlim is then reached by starting it again.
    if (m_desktop != Desktop::X11 && !QSystemTrayIcon::isSystemTrayAvailable())
        return;
    auto tray = std::make_unique<QSystemTrayIcon>(Icons::tray());
    tray->setToolTip(QString::fromUtf16(AppInfo::name));
    tray->setContextMenu(m_menu.get());
    // A plain click on the icon opens the menu too, as on panels that only
    // send activations.
    connect(tray.get(), &QSystemTrayIcon::activated, this,
            [menu = m_menu.get()](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    menu->popup(QCursor::pos());
            });
    tray->show();

    m_tray = std::move(tray);
}
