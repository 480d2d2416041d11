// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/BrowserChoice.h"

#include "browser/HiddenProfiles.h"
#include "platform/FileLayout.h"
#include "platform/RegularFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr char16_t olderBrowserKey[] = u"browser";
constexpr char16_t shownKey[] = u"shown";
constexpr char16_t hiddenKey[] = u"hidden";
// Room for a few thousand hidden Firefox profiles, each a whole path.
constexpr qint64 maxSize = 1024 * 1024;

/// The file's object; empty when it cannot be read or decoded.
QJsonObject contents(const QString& file)
{
    const RegularFile::Contents read = RegularFile::read(file, maxSize);
    if (read.status != RegularFile::Status::Read)
        return {};
    return QJsonDocument::fromJson(read.bytes).object();
}

void appendOnce(QStringList& ids, const QJsonValue& value)
{
    if (value.isString() && !value.toString().isEmpty() && !ids.contains(value.toString()))
        ids.append(value.toString());
}

} // namespace

QString BrowserChoice::fileURL() const
{
    return m_files.orlimDirectory() + u"/browser.json";
}

QStringList BrowserChoice::shown() const
{
    const QJsonObject object = contents(fileURL());
    QStringList ids;
    // An older Orlim kept the browser served apart, and may have changed it
    // after the list: the user's last word on which browser serves.
    appendOnce(ids, object.value(olderBrowserKey));
    for (const QJsonValue& value : object.value(shownKey).toArray())
        appendOnce(ids, value);
    return ids;
}

bool BrowserChoice::show(const QStringList& desktopIds)
{
    QJsonObject object = contents(fileURL());
    object.remove(QString::fromUtf16(olderBrowserKey));
    object.insert(QString::fromUtf16(shownKey), QJsonArray::fromStringList(desktopIds));
    return RegularFile::replace(fileURL(), QJsonDocument(object).toJson());
}

HiddenProfiles BrowserChoice::hidden() const
{
    return HiddenProfiles::fromJson(contents(fileURL()).value(hiddenKey));
}

bool BrowserChoice::hide(const HiddenProfiles& profiles)
{
    QJsonObject object = contents(fileURL());
    object.insert(QString::fromUtf16(hiddenKey), profiles.toJson());
    return RegularFile::replace(fileURL(), QJsonDocument(object).toJson());
}
