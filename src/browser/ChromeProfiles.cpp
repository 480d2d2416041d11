// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ChromeProfiles.h"

#include "browser/BrowserInstallation.h"
#include "browser/firefox/FirefoxProfiles.h"
#include "platform/RegularFile.h"
#include "text/CanonicalText.h"

#include <QCollator>
#include <QFileInfo>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

namespace ChromeProfiles {
namespace {

/// A JSON number with an integral value that fits 64 bits, exactly.
std::optional<qint64> exactInteger(const QJsonValue& value)
{
    if (!value.isDouble())
        return std::nullopt;
    // toInteger() answers its default for anything that is not an exact 64-bit
    // integer; two different defaults tell that apart from a real value.
    const qint64 a = value.toInteger(0);
    const qint64 b = value.toInteger(1);
    if (a != b)
        return std::nullopt;
    return a;
}

ChromeProfile profileFromEntry(const QString& directory, const QJsonObject& entry,
                               const QString& chromeDirectory)
{
    ChromeProfile profile;
    profile.directoryName = directory;
    const QJsonValue name = entry.value(u"name");
    profile.displayName = name.isString() ? name.toString() : directory;

    const QJsonValue picture = entry.value(u"gaia_picture_file_name");
    if (picture.isString() && !picture.toString().isEmpty()) {
        const QString path = chromeDirectory + u'/' + directory + u'/' + picture.toString();
        if (QFileInfo::exists(path))
            profile.pictureURL = QUrl::fromLocalFile(path);
    }
    profile.fillColor = exactInteger(entry.value(u"default_avatar_fill_color"));
    profile.strokeColor = exactInteger(entry.value(u"default_avatar_stroke_color"));
    return profile;
}

/// "profiles_order" as directory names; empty unless it is an array of strings.
QStringList profilesOrder(const QJsonValue& value)
{
    QStringList order;
    if (!value.isArray())
        return order;
    const QJsonArray array = value.toArray();
    order.reserve(array.size());
    for (const QJsonValue& element : array) {
        if (!element.isString())
            return {};
        order.append(element.toString());
    }
    return order;
}

void sortProfiles(QList<ChromeProfile>& profiles, const QStringList& order)
{
    QCollator collator; // the user's locale
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    const auto byDirectoryName = [&collator](const ChromeProfile& a, const ChromeProfile& b) {
        return collator.compare(a.directoryName, b.directoryName) < 0;
    };
    if (order.isEmpty()) {
        std::stable_sort(profiles.begin(), profiles.end(), byDirectoryName);
        return;
    }

    // First position of each listed name, keyed by its canonical form.
    QHash<QString, qsizetype> position;
    for (qsizetype i = order.size(); i-- > 0;) // backwards, so the first position wins
        position.insert(CanonicalText::normalized(order.at(i)), i);

    struct Keyed
    {
        qsizetype position; // -1 when not listed
        ChromeProfile profile;
    };
    QList<Keyed> keyed;
    keyed.reserve(profiles.size());
    for (ChromeProfile& profile : profiles)
        keyed.append({position.value(CanonicalText::normalized(profile.directoryName), -1),
                      std::move(profile)});

    std::stable_sort(keyed.begin(), keyed.end(), [&](const Keyed& a, const Keyed& b) {
        if (a.position >= 0 && b.position >= 0)
            return a.position < b.position;
        if (a.position >= 0 || b.position >= 0)
            return a.position >= 0;
        return byDirectoryName(a.profile, b.profile);
    });
    profiles.clear();
    for (Keyed& k : keyed)
        profiles.append(std::move(k.profile));
}

} // namespace

QString localStateURL(const QString& chromeDirectory)
{
    return chromeDirectory + u"/Local State";
}

ChromeProfileInfo load(const BrowserInstallation& browser)
{
    if (browser.family == BrowserInstallation::Family::Firefox)
        return FirefoxProfiles::load(browser.dataDirectory);
    const QString& directory = browser.dataDirectory;
    const RegularFile::Contents file = RegularFile::read(localStateURL(directory));
    if (file.status != RegularFile::Status::Read)
        return {};
    return parse(file.bytes, directory);
}

QList<BrowserProfiles> loadAll(const QList<BrowserInstallation>& browsers)
{
    QList<BrowserProfiles> all;
    for (const BrowserInstallation& browser : browsers)
        all.append({browser, load(browser).profiles});
    return all;
}

ChromeProfileInfo parse(const QByteArray& localState, const QString& chromeDirectory)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(localState, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return {};
    const QJsonValue profileValue = document.object().value(u"profile");
    if (!profileValue.isObject())
        return {};
    const QJsonObject profile = profileValue.toObject();
    const QJsonValue cacheValue = profile.value(u"info_cache");
    if (!cacheValue.isObject())
        return {};

    ChromeProfileInfo info;
    const QJsonObject cache = cacheValue.toObject();
    info.profiles.reserve(cache.size());
    for (auto it = cache.begin(); it != cache.end(); ++it) {
        if (it.value().isObject())
            info.profiles.append(
                profileFromEntry(it.key(), it.value().toObject(), chromeDirectory));
    }
    sortProfiles(info.profiles, profilesOrder(profile.value(u"profiles_order")));

    const QJsonValue lastUsed = profile.value(u"last_used");
    if (lastUsed.isString())
        info.lastUsedDirectory = lastUsed.toString();
    return info;
}

} // namespace ChromeProfiles
