// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/HiddenProfiles.h"

#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>

bool HiddenProfiles::contains(const QString& browser, const QString& folder) const
{
    const auto folders = m_folders.constFind(browser);
    return folders != m_folders.cend() && folders->contains(folder);
}

void HiddenProfiles::set(const QString& browser, const QString& folder, bool hidden)
{
    if (hidden) {
        m_folders[browser].insert(folder);
        return;
    }
    const auto folders = m_folders.find(browser);
    if (folders == m_folders.end())
        return;
    folders->remove(folder);
    if (folders->isEmpty())
        m_folders.erase(folders);
}

void HiddenProfiles::keepOnly(const QString& browser, const QList<ChromeProfile>& profiles)
{
    const QSet<QString> folders = m_folders.value(browser);
    for (const QString& folder : folders) {
        if (std::none_of(profiles.begin(), profiles.end(),
                         [&](const ChromeProfile& p) { return p.directoryName == folder; }))
            set(browser, folder, false);
    }
}

QList<ChromeProfiles::BrowserProfiles>
HiddenProfiles::shownOf(const QList<ChromeProfiles::BrowserProfiles>& groups) const
{
    if (m_folders.isEmpty())
        return groups;
    QList<ChromeProfiles::BrowserProfiles> shown;
    bool anyProfile = false;
    for (const ChromeProfiles::BrowserProfiles& group : groups) {
        const auto folders = m_folders.constFind(group.browser.desktopId);
        if (folders == m_folders.cend() || group.profiles.isEmpty()) {
            shown.append(group);
            anyProfile |= !group.profiles.isEmpty();
            continue;
        }
        ChromeProfiles::BrowserProfiles kept{group.browser, {}};
        for (const ChromeProfile& profile : group.profiles) {
            if (!folders->contains(profile.directoryName))
                kept.profiles.append(profile);
        }
        if (!kept.profiles.isEmpty()) {
            shown.append(std::move(kept));
            anyProfile = true;
        }
    }
    // The picker is never empty: with every profile hidden, it offers them all.
    return anyProfile ? shown : groups;
}

QJsonValue HiddenProfiles::toJson() const
{
    QJsonObject object;
    for (auto it = m_folders.cbegin(); it != m_folders.cend(); ++it) {
        QStringList folders(it->begin(), it->end());
        folders.sort();
        object.insert(it.key(), QJsonArray::fromStringList(folders));
    }
    return object;
}

HiddenProfiles HiddenProfiles::fromJson(const QJsonValue& value)
{
    HiddenProfiles hidden;
    const QJsonObject object = value.toObject();
    for (auto it = object.begin(); it != object.end(); ++it) {
        for (const QJsonValue& folder : it.value().toArray()) {
            if (!it.key().isEmpty() && folder.isString() && !folder.toString().isEmpty())
                hidden.set(it.key(), folder.toString(), true);
        }
    }
    return hidden;
}
