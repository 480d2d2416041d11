// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsModel.h"

#include "chrome/ChromeProfiles.h"
#include "platform/CanonicalText.h"
#include "rules/RuleStore.h"
#include "ui/settings/DefaultBrowserStatus.h"

#include <QSignalBlocker>

SettingsModel::SettingsModel(const Services& services, QObject* parent)
    : QObject(parent), m_installations(services.browsers), m_store(services.rules),
      m_status(new DefaultBrowserStatus(services.defaultBrowser, services.scheduler, this))
{
    connect(m_status, &DefaultBrowserStatus::changed, this, &SettingsModel::changed);
}

void SettingsModel::load()
{
    m_browsers = m_installations.installed();
    m_served = m_installations.servedAmong(m_browsers);
    m_profiles = m_served ? ChromeProfiles::load(*m_served).profiles : QList<ChromeProfile>();
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

void SettingsModel::chooseBrowser(const QString& desktopId)
{
    m_installations.choice().choose(desktopId);
    load();
}

QString SettingsModel::profileName(const QString& directory) const
{
    for (const ChromeProfile& profile : m_profiles) {
        if (CanonicalText::equal(profile.directoryName, directory))
            return profile.displayName;
    }
    return directory;
}

void SettingsModel::reloadRules()
{
    m_rules = m_store.load();
    Q_EMIT changed();
}
