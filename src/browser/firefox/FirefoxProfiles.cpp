// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/firefox/FirefoxProfiles.h"

#include "browser/firefox/ProfileGroupStore.h"
#include "platform/RegularFile.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <map>

namespace FirefoxProfiles {
namespace {

/// Far beyond a "profiles.ini" of thousands of profiles.
constexpr qint64 maxSize = qint64(8) << 20;

using Section = QHash<QByteArray, QByteArray>;

/// The sections of an INI file by name; a key given twice keeps its last value.
QHash<QByteArray, Section> sectionsOf(const QByteArray& ini)
{
    QHash<QByteArray, Section> sections;
    Section* current = nullptr;
    for (const QByteArray& raw : ini.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[') && line.endsWith(']')) {
            current = &sections[line.mid(1, line.size() - 2)];
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (current && equals > 0 && !line.startsWith(';') && !line.startsWith('#'))
            current->insert(line.left(equals).trimmed(), line.mid(equals + 1).trimmed());
    }
    return sections;
}

/// `bytes` as UTF-8; nothing when they are not, since such a path could not
/// reach Firefox intact.
std::optional<QString> strictUtf8(const QByteArray& bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = decoder(bytes);
    if (decoder.hasError())
        return std::nullopt;
    return text;
}

/// A folder Firefox names relative to `dataDirectory`, or absolutely.
std::optional<QString> folderOf(const QByteArray& path, bool relative, const QString& dataDirectory)
{
    const auto text = strictUtf8(path);
    if (!text || text->isEmpty())
        return std::nullopt;
    if (!relative && !text->startsWith(u'/'))
        return std::nullopt;
    return QDir::cleanPath(relative ? dataDirectory + u'/' + *text : *text);
}

/// A CSS colour as Firefox keeps a theme's ("rgba(21, 20, 26, 1)", "#1c1b22"),
/// packed as ARGB; nothing for any other form.
std::optional<qint64> argbOf(const QString& css)
{
    static const QRegularExpression function(QStringLiteral(
        R"(^\s*rgba?\(\s*(\d+)\s*,\s*(\d+)\s*,\s*(\d+)\s*(?:,\s*([\d.]+)\s*)?\)\s*$)"));
    static const QRegularExpression hex(QStringLiteral(R"(^\s*#([0-9a-fA-F]{6})\s*$)"));
    if (const auto m = hex.match(css); m.hasMatch())
        return qint64(0xff000000u | m.captured(1).toUInt(nullptr, 16));
    const auto m = function.match(css);
    if (!m.hasMatch())
        return std::nullopt;
    quint32 argb = 0;
    for (int i = 1; i <= 3; ++i) {
        const uint channel = m.captured(i).toUInt();
        if (channel > 255)
            return std::nullopt;
        argb = argb << 8 | channel;
    }
    const double alpha = m.captured(4).isEmpty() ? 1.0 : m.captured(4).toDouble();
    return qint64(quint32(std::clamp(alpha, 0.0, 1.0) * 255 + 0.5) << 24 | argb);
}

/// The profiles of the group kept in `storeId`'s store, as Firefox's profile
/// manager lists them (by name); nothing when the store cannot be read.
std::optional<QList<ChromeProfile>> groupOf(const QByteArray& storeId, const QString& dataDirectory)
{
    static const QRegularExpression plainId(QStringLiteral("^[A-Za-z0-9_-]+$"));
    const QString id = QString::fromLatin1(storeId);
    if (!plainId.match(id).hasMatch())
        return std::nullopt;
    const QString groups = dataDirectory + u"/Profile Groups";
    const auto rows = ProfileGroupStore::read(groups + u'/' + id + u".sqlite");
    if (!rows || rows->isEmpty())
        return std::nullopt;
    QList<ChromeProfile> profiles;
    for (const ProfileGroupStore::Row& row : *rows) {
        const auto folder = folderOf(row.path.toUtf8(), !row.path.startsWith(u'/'), dataDirectory);
        if (!folder)
            continue;
        ChromeProfile profile;
        profile.directoryName = *folder;
        profile.displayName = row.name.isEmpty() ? QFileInfo(*folder).fileName() : row.name;
        profile.fillColor = argbOf(row.themeBg);
        profile.strokeColor = argbOf(row.themeFg);
        // A picture of the user's own; Firefox's built-in avatars are its own drawings.
        const QString avatar = groups + u"/avatars/" + row.avatar;
        if (!row.avatar.isEmpty() && !row.avatar.contains(u'/') && QFileInfo(avatar).isFile())
            profile.pictureURL = QUrl::fromLocalFile(avatar);
        profiles.append(std::move(profile));
    }
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(profiles.begin(), profiles.end(),
                     [&collator](const ChromeProfile& a, const ChromeProfile& b) {
                         return collator.compare(a.displayName, b.displayName) < 0;
                     });
    return profiles;
}

} // namespace

QString profilesIniURL(const QString& dataDirectory)
{
    return dataDirectory + u"/profiles.ini";
}

ChromeProfileInfo load(const QString& dataDirectory)
{
    const RegularFile::Contents file = RegularFile::read(profilesIniURL(dataDirectory), maxSize);
    if (file.status != RegularFile::Status::Read)
        return {};
    return parse(file.bytes, dataDirectory);
}

ChromeProfileInfo parse(const QByteArray& profilesIni, const QString& dataDirectory)
{
    const QHash<QByteArray, Section> sections = sectionsOf(profilesIni);
    // Firefox lists "Profile0", "Profile1", … by number, whatever their order in the file.
    std::map<quint64, const Section*> numbered;
    for (auto it = sections.begin(); it != sections.end(); ++it) {
        bool ok = false;
        const quint64 number =
            it.key().startsWith("Profile") ? it.key().mid(7).toULongLong(&ok) : 0;
        if (ok)
            numbered.emplace(number, &it.value());
    }

    ChromeProfileInfo info;
    QSet<QString> folders;
    const auto add = [&info, &folders](ChromeProfile profile) {
        // One folder is one profile, however often it is listed.
        if (!folders.contains(profile.directoryName)) {
            folders.insert(profile.directoryName);
            info.profiles.append(std::move(profile));
        }
    };
    for (const auto& [number, section] : numbered) {
        const auto folder =
            folderOf(section->value("Path"), section->value("IsRelative") == "1", dataDirectory);
        if (!folder)
            continue;
        if (section->value("Default") == "1" && !info.lastUsedDirectory)
            info.lastUsedDirectory = folder;
        if (section->contains("StoreID")) {
            if (const auto group = groupOf(section->value("StoreID"), dataDirectory)) {
                for (const ChromeProfile& profile : *group)
                    add(profile);
                continue;
            }
        }
        ChromeProfile profile;
        profile.directoryName = *folder;
        const QString name = QString::fromUtf8(section->value("Name"));
        profile.displayName = name.isEmpty() ? QFileInfo(*folder).fileName() : name;
        add(std::move(profile));
    }
    return info;
}

} // namespace FirefoxProfiles
