// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserInstallation.h"
#include "browser/ChromeProfile.h"
#include "browser/ChromeProfiles.h"
#include "browser/HiddenProfiles.h"
#include "rules/ProfileRule.h"

#include <QObject>
#include <functional>
#include <optional>

class DefaultBrowser;
class DefaultBrowserStatus;
class RuleStore;
class Scheduler;
class WrappedLinkSetting;

/// What the settings show, and the changes made there, without a widget: the
/// installed browsers and those the picker shows (the first is the one
/// served), their profiles and which of them the picker shows, the rules and
/// the default-browser status.
/// Everything is read afresh by `load()`; every change is written at once, and
/// what the files then hold is read back. `changed` follows each change.
class SettingsModel : public QObject
{
    Q_OBJECT
public:
    /// What the settings read and change.
    struct Services
    {
        BrowserInstallations& browsers;
        RuleStore& rules;
        /// With `scheduler`, what the default-browser status asks.
        DefaultBrowser& defaultBrowser;
        Scheduler& scheduler;
        /// What "アプリを終了" does.
        std::function<void()> quit;
        /// Whether wrapped links open their destination; without it, not offered.
        WrappedLinkSetting* wrappedLinks = nullptr;
    };

    /// An installed browser, and whether the picker shows it.
    struct ListedBrowser
    {
        BrowserInstallation browser;
        bool shown;
    };
    /// A profile a rule may open: one of a shown browser's.
    struct Target
    {
        QString browser; // desktop-file ID
        QString directory;
        QString label;
    };

    explicit SettingsModel(const Services& services, QObject* parent = nullptr);

    /// Reads the browsers, the shown ones' profiles, the rules and the
    /// default-browser status.
    void load();

    /// The installed browsers: those shown first, in the picker's order, then
    /// the others in the table's order. Before the user lists any, the one
    /// served is shown alone.
    const QList<ListedBrowser>& browsers() const { return m_listed; }
    /// The shown browsers' profiles, in the picker's order, hidden ones too.
    const QList<ChromeProfiles::BrowserProfiles>& groups() const { return m_groups; }
    /// Whether the picker shows profile `profile` of group `group`, as the user
    /// asked (with every profile hidden, the picker shows them all anyway).
    bool profileShown(int group, int profile) const;
    /// Whether the user hid every profile, so the picker shows them all.
    bool everyProfileHidden() const;
    const ProfileRules& rules() const { return m_rules; }
    DefaultBrowserStatus& defaultBrowserStatus() const { return *m_status; }

    /// Shows or hides browser `index` in the picker (a browser shown anew comes
    /// last); the last one shown stays. The first shown is served.
    void setShown(int index, bool shown);
    /// Swaps shown browser `index` with the one `distance` places away.
    void moveBrowser(int index, int distance);
    /// Shows or hides profile `profile` of group `group` in the picker; the
    /// browser's profiles gone from its catalogue are forgotten with it.
    void setProfileShown(int group, int profile, bool shown);

    /// Swaps rule `index` with the one `distance` places away, and saves.
    void move(int index, int distance);
    /// Deletes every rule with `rule`'s prefix.
    void remove(const ProfileRule& rule);
    /// Points rule `index` at `target`'s profile and browser.
    void retarget(int index, const Target& target);
    /// Every profile of the shown browsers, labelled by name (and browser, among several).
    QList<Target> targets() const;
    /// Where `rule`'s profile is in `targets()`; -1 where no shown browser has it.
    int targetOf(const ProfileRule& rule) const;
    /// What `rule` opens, as `targets()` labels it; where no shown browser has
    /// the profile, its folder's name and the rule's browser.
    QString targetLabel(const ProfileRule& rule) const;

Q_SIGNALS:
    void changed();

private:
    void reloadRules();
    /// Keeps `desktopIds` as the browsers shown, the first served.
    void writeShown(const QStringList& desktopIds);
    QStringList shownIds() const;

    BrowserInstallations& m_installations;
    RuleStore& m_store;
    QList<ListedBrowser> m_listed;
    QList<ChromeProfiles::BrowserProfiles> m_groups;
    HiddenProfiles m_hidden;
    ProfileRules m_rules;
    DefaultBrowserStatus* m_status;
};
