// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsWindowController.h"

#include "ui/window/WindowPlacement.h"

#include <QWidget>

SettingsWindowController::SettingsWindowController(WindowPlacement::Presenter presenter,
                                                   const SettingsModel::Services& services,
                                                   QObject* parent)
    : QObject(parent), m_presenter(presenter), m_services(services)
{
}

SettingsWindowController::~SettingsWindowController()
{
    delete m_window;
}

void SettingsWindowController::show(const QString& activationToken)
{
    auto* content = new SettingsView(m_services);
    // The content loads everything it shows as it comes on screen.
    m_presenter.present(m_window, {u"Orlim 設定", u"settings", true}, content, activationToken);
    m_content = content;
}
