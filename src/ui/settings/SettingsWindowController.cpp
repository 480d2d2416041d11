// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsWindowController.h"

#include "ui/look/WindowPlacement.h"

#include <QWidget>

SettingsWindowController& SettingsWindowController::shared()
{
    static auto* controller = new SettingsWindowController;
    return *controller;
}

SettingsWindowController::SettingsWindowController(QObject* parent) : QObject(parent) {}

SettingsWindowController::~SettingsWindowController()
{
    delete m_window;
}

void SettingsWindowController::show(const QString& activationToken)
{
    auto* content = new SettingsView;
    // The content loads everything it shows as it comes on screen.
    WindowPlacement::present(m_window, {u"Orlim 設定", u"settings", true}, content,
                             activationToken);
    m_content = content;
}
