// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/ChromeProfiles.h"

#include <QJsonValue>
#include <QMap>
#include <QSet>

/// The profiles the user hid from the picker, each known by its browser's
/// desktop-file ID and its folder (`ChromeProfile::directoryName`). A folder
/// the browser no longer has counts for nothing; one made later is shown.
class HiddenProfiles
{
public:
    /// Whether `browser`'s profile in `folder` is hidden.
    bool contains(const QString& browser, const QString& folder) const;
    /// Hides or shows again `browser`'s profile in `folder`.
    void set(const QString& browser, const QString& folder, bool hidden);
    /// Forgets every folder of `browser` that `profiles` does not hold.
    void keepOnly(const QString& browser, const QList<ChromeProfile>& profiles);

    /// `groups` as the picker offers them: the hidden profiles left out, and a
    /// browser left without profiles left out with them; `groups` whole when
    /// no profile would be left.
    QList<ChromeProfiles::BrowserProfiles>
    shownOf(const QList<ChromeProfiles::BrowserProfiles>& groups) const;

    /// {ID: [folder, …]}, the folders sorted.
    QJsonValue toJson() const;
    /// What `toJson` wrote; whatever else is there (a wrong type, an empty
    /// name) is left out.
    static HiddenProfiles fromJson(const QJsonValue& value);

    friend bool operator==(const HiddenProfiles&, const HiddenProfiles&) = default;

private:
    QMap<QString, QSet<QString>> m_folders; // by browser
};
