// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsModel.h"

#include "browser/ChromeProfiles.h"
#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"
#include "text/CanonicalText.h"
#include "ui/settings/DefaultBrowserStatus.h"

#include <QFileInfo>
#include <QSignalBlocker>

SettingsModel::SettingsModel(const Services& services, QObject* parent)
    : QObject(parent), m_installations(services.browsers), m_store(services.rules),
      m_status(new DefaultBrowserStatus(services.defaultBrowser, services.scheduler, this))
{
    connect(m_status, &DefaultBrowserStatus::changed, this, &SettingsModel::changed);
}

void SettingsModel::load()
{
    const QList<BrowserInstallation> installed = m_installations.installed();
    const QList<BrowserInstallation> shown = m_installations.shownAmong(installed);
    m_listed.clear();
    for (const BrowserInstallation& browser : shown)
        m_listed.append({browser, true});
    for (const BrowserInstallation& browser : installed) {
        if (!std::any_of(shown.begin(), shown.end(), [&](const BrowserInstallation& b) {
                return b.desktopId == browser.desktopId;
            }))
            m_listed.append({browser, false});
    }
    m_groups = ChromeProfiles::loadAll(shown);
    m_hidden = m_installations.choice().hidden();
    m_rules = m_store.load();
    {
        const QSignalBlocker once(m_status); // one change below tells it all
        m_status->refresh();
    }
    Q_EMIT changed();
}

void SettingsModel::move(int index, int distance)
{
    const int target = index + distance;
    if (index < 0 || index >= m_rules.size() || target < 0 || target >= m_rules.size())
        return;
    ProfileRules reordered = m_rules;
    reordered.swapItemsAt(index, target);
    m_store.save(reordered);
    reloadRules();
}

void SettingsModel::remove(const ProfileRule& rule)
{
    m_store.remove(rule.prefix);
    reloadRules();
}

QStringList SettingsModel::shownIds() const
{
    QStringList ids;
    for (const ListedBrowser& listed : m_listed) {
        if (listed.shown)
            ids.append(listed.browser.desktopId);
    }
    return ids;
}

void SettingsModel::setShown(int index, bool shown)
{
    if (index < 0 || index >= m_listed.size())
        return;
    QStringList ids = shownIds();
    const QString id = m_listed.at(index).browser.desktopId;
    ids.removeAll(id);
    if (shown)
        ids.append(id);
    if (!ids.isEmpty())
        writeShown(ids);
}

void SettingsModel::moveBrowser(int index, int distance)
{
    QStringList ids = shownIds();
    const int target = index + distance;
    if (index < 0 || index >= ids.size() || target < 0 || target >= ids.size())
        return;
    ids.swapItemsAt(index, target);
    writeShown(ids);
}

void SettingsModel::writeShown(const QStringList& desktopIds)
{
    // Old rules mean the browser served until now: settle them before it changes.
    if constexpr (FeatureFlags::rulesEnabled)
        m_store.settle();
    // A browser listed but not installed now (removed for a while, or being
    // updated) stays listed, after those installed, for when it is back.
    QStringList ids = desktopIds;
    for (const QString& id : m_installations.choice().shown()) {
        if (!std::any_of(m_listed.begin(), m_listed.end(),
                         [&](const ListedBrowser& l) { return l.browser.desktopId == id; }))
            ids.append(id);
    }
    m_installations.choice().show(ids);
    load();
}

bool SettingsModel::profileShown(int group, int profile) const
{
    const ChromeProfiles::BrowserProfiles& g = m_groups.at(group);
    return !m_hidden.contains(g.browser.desktopId, g.profiles.at(profile).directoryName);
}

bool SettingsModel::everyProfileHidden() const
{
    return std::any_of(m_groups.begin(), m_groups.end(),
                       [](const auto& g) { return !g.profiles.isEmpty(); }) &&
           std::all_of(m_groups.begin(), m_groups.end(), [&](const auto& g) {
               return std::all_of(
                   g.profiles.begin(), g.profiles.end(), [&](const ChromeProfile& p) {
                       return m_hidden.contains(g.browser.desktopId, p.directoryName);
                   });
           });
}

void SettingsModel::setProfileShown(int group, int profile, bool shown)
{
    if (group < 0 || group >= m_groups.size() || profile < 0 ||
        profile >= m_groups.at(group).profiles.size())
        return;
    const ChromeProfiles::BrowserProfiles& g = m_groups.at(group);
    HiddenProfiles hidden = m_installations.choice().hidden();
    hidden.set(g.browser.desktopId, g.profiles.at(profile).directoryName, !shown);
    hidden.keepOnly(g.browser.desktopId, g.profiles);
    m_installations.choice().hide(hidden);
    m_hidden = m_installations.choice().hidden();
    Q_EMIT changed();
}

void SettingsModel::retarget(int index, const Target& target)
{
    if (index < 0 || index >= m_rules.size())
        return;
    ProfileRules rules = m_rules;
    rules[index].browser = target.browser;
    rules[index].profileDirectory = target.directory;
    m_store.save(rules);
    reloadRules();
}

QList<SettingsModel::Target> SettingsModel::targets() const
{
    QList<Target> targets;
    for (const ChromeProfiles::BrowserProfiles& group : m_groups) {
        for (const ChromeProfile& profile : group.profiles) {
            const QString label =
                m_groups.size() > 1 ? profile.displayName + u"（" + group.browser.shortName + u"）"
                                    : profile.displayName;
            targets.append({group.browser.desktopId, profile.directoryName, label});
        }
    }
    return targets;
}

int SettingsModel::targetOf(const ProfileRule& rule) const
{
    // A rule no browser was served for is read as the first shown's, as the router reads it.
    const QString browser = rule.browser.isEmpty() && !m_groups.isEmpty()
                                ? m_groups.first().browser.desktopId
                                : rule.browser;
    const QList<Target> all = targets();
    for (int i = 0; i < all.size(); ++i) {
        if (all.at(i).browser == browser &&
            CanonicalText::equal(all.at(i).directory, rule.profileDirectory))
            return i;
    }
    return -1;
}

QString SettingsModel::targetLabel(const ProfileRule& rule) const
{
    if (const int i = targetOf(rule); i >= 0)
        return targets().at(i).label;
    // A Firefox profile is keyed by its folder's whole path; its own name says enough.
    const QString name = rule.profileDirectory.startsWith(u'/')
                             ? QFileInfo(rule.profileDirectory).fileName()
                             : rule.profileDirectory;
    // The browser by the name the table gives it, installed or not; else its ID.
    for (const BrowserInstallations::Kind& kind : BrowserInstallations::kinds) {
        if (QStringView(kind.desktopId) == rule.browser)
            return name + u"（" + QString::fromUtf16(kind.shortName) + u"）";
    }
    return rule.browser.isEmpty() ? name : name + u"（" + rule.browser + u"）";
}

void SettingsModel::reloadRules()
{
    m_rules = m_store.load();
    Q_EMIT changed();
}
