// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeInstallation.h"
#include "chrome/ChromeProfile.h"
#include "rules/ProfileRule.h"

#include <QWidget>

class DefaultBrowserStatus;
class QScrollArea;
class QVBoxLayout;

/// The settings window's content: name and version, the default-browser
/// warning, the served browser's profiles (with a choice of browser when more
/// than one is installed), the rules (rules builds only) and quit.
/// It loads everything each time it comes on screen and writes every rule
/// change through the rule store at once, then shows what the file holds.
class SettingsView : public QWidget
{
    Q_OBJECT
public:
    static constexpr QSize fixedSize{460, 560};

    explicit SettingsView(QWidget* parent = nullptr);

    /// Loads the profiles, the rules and the default-browser status. Runs by
    /// itself when the content comes on screen.
    void appear();

    const QList<ChromeProfile>& profiles() const { return m_profiles; }
    const ProfileRules& rules() const { return m_rules; }
    DefaultBrowserStatus& defaultBrowserStatus() const { return *m_status; }

    /// Swaps rule `index` with the one `distance` places away, saves, and reloads.
    void move(int index, int distance);
    /// Deletes every rule with `rule`'s prefix, and reloads.
    void remove(const ProfileRule& rule);
    /// Serves the installed browser `desktopId` from the next link on, and
    /// shows its profiles.
    void chooseBrowser(const QString& desktopId);
    /// The display name of the profile in `directory`, or the directory itself.
    QString profileName(const QString& directory) const;

protected:
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void rebuild();
    QWidget* header(QWidget* parent) const;
    QWidget* warning(QWidget* parent);
    QWidget* profilesSection(QWidget* parent);
    QWidget* browserChoice(QWidget* parent);
    QWidget* rulesSection(QWidget* parent);
    QWidget* otherSection(QWidget* parent) const;
    QWidget* ruleRow(int index, QWidget* parent);

    QList<ChromeInstallation> m_browsers; // installed
    std::optional<ChromeInstallation> m_served;
    QList<ChromeProfile> m_profiles;
    ProfileRules m_rules;
    DefaultBrowserStatus* m_status;
    QScrollArea* m_scroll;
};
