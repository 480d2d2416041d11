// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/settings/SettingsModel.h"

#include <QWidget>

class QScrollArea;
class QVBoxLayout;

/// The settings window's content: name and version, the default-browser
/// warning, the browsers the picker shows (when more than one is installed),
/// their profiles, the rules (rules builds only), how wrapped links open and
/// quit. It shows
/// its model, which it loads each time it comes on screen, and hands it every
/// change the user makes.
class SettingsView : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize fixedSize{460, 560};

    explicit SettingsView(const SettingsModel::Services& services, QWidget* parent = nullptr);

    /// Loads the model. Runs by itself when the content comes on screen.
    void appear() { m_model.load(); }
    SettingsModel& model() { return m_model; }

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void rebuild();
    QWidget* header(QWidget* parent) const;
    QWidget* warning(QWidget* parent);
    QWidget* profilesSection(QWidget* parent);
    QWidget* browsersSection(QWidget* parent);
    QWidget* rulesSection(QWidget* parent);
    QWidget* otherSection(QWidget* parent) const;
    QWidget* ruleRow(int index, QWidget* parent);
    QWidget* ruleTarget(int index, QWidget* parent);
    /// Runs `change` on the model once the widget that asked for it has
    /// finished emitting: the rebuild that follows deletes it.
    void later(std::function<void()> change);

    SettingsModel m_model;
    std::function<void()> m_quit;
    WrappedLinkSetting* m_wrappedLinks;
    QScrollArea* m_scroll;
};
