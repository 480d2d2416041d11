// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>

#include "ui/settings/SettingsView.h"
#include "ui/window/WindowPlacement.h"

class QWidget;

/// Owns the one settings window. Every show puts fresh content in it (which
/// reloads everything it displays), centres it and brings it to the front.
class SettingsWindowController : public QObject
{
    Q_OBJECT
public:
    /// `presenter` shows the window; `services` serve what it shows.
    SettingsWindowController(WindowPlacement::Presenter presenter,
                             const SettingsModel::Services& services, QObject* parent = nullptr);
    ~SettingsWindowController() override;

    void show(const QString& activationToken = {});

    /// The window; null until the first show.
    QWidget* window() const { return m_window; }
    SettingsView* content() const { return m_content; }

private:
    WindowPlacement::Presenter m_presenter;
    SettingsModel::Services m_services;
    QPointer<QWidget> m_window;
    QPointer<SettingsView> m_content;
};
