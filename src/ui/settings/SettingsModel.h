// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeInstallation.h"
#include "chrome/ChromeProfile.h"
#include "rules/ProfileRule.h"

#include <QObject>
#include <functional>
#include <optional>

class DefaultBrowser;
class DefaultBrowserStatus;
class RuleStore;
class Scheduler;

/// What the settings show, and the changes made there, without a widget: the
/// installed browsers and the one served, its profiles, the rules and the
/// default-browser status. Everything is read afresh by `load()`; every rule
/// change goes through the rule store at once, and what the file then holds is
/// read back. `changed` follows each change.
class SettingsModel : public QObject
{
    Q_OBJECT
public:
    /// What the settings read and change.
    struct Services
    {
        ChromeInstallations& browsers;
        RuleStore& rules;
        /// With `scheduler`, what the default-browser status asks.
        DefaultBrowser& defaultBrowser;
        Scheduler& scheduler;
        /// What "アプリを終了" does.
        std::function<void()> quit;
    };

    explicit SettingsModel(const Services& services, QObject* parent = nullptr);

    /// Reads the browsers, the served one's profiles, the rules and the
    /// default-browser status.
    void load();

    const QList<ChromeInstallation>& browsers() const { return m_browsers; }
    const std::optional<ChromeInstallation>& served() const { return m_served; }
    const QList<ChromeProfile>& profiles() const { return m_profiles; }
    const ProfileRules& rules() const { return m_rules; }
    DefaultBrowserStatus& defaultBrowserStatus() const { return *m_status; }

    /// Swaps rule `index` with the one `distance` places away, and saves.
    void move(int index, int distance);
    /// Deletes every rule with `rule`'s prefix.
    void remove(const ProfileRule& rule);
    /// Serves the installed browser `desktopId` from the next link on, and
    /// reads its profiles.
    void chooseBrowser(const QString& desktopId);
    /// The display name of the profile in `directory`, or the directory itself.
    QString profileName(const QString& directory) const;

Q_SIGNALS:
    void changed();

private:
    void reloadRules();

    ChromeInstallations& m_installations;
    RuleStore& m_store;
    QList<ChromeInstallation> m_browsers; // installed
    std::optional<ChromeInstallation> m_served;
    QList<ChromeProfile> m_profiles;
    ProfileRules m_rules;
    DefaultBrowserStatus* m_status;
};
