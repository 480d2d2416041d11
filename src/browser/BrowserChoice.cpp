// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/BrowserChoice.h"

#include "platform/FileLayout.h"
#include "platform/RegularFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr char16_t browserKey[] = u"browser";
constexpr char16_t shownKey[] = u"shown";
constexpr qint64 maxSize = 64 * 1024;

/// The file's object; empty when it cannot be read or decoded.
QJsonObject contents(const QString& file)
{
    const RegularFile::Contents read = RegularFile::read(file, maxSize);
    if (read.status != RegularFile::Status::Read)
        return {};
    return QJsonDocument::fromJson(read.bytes).object();
}

} // namespace

QString BrowserChoice::fileURL() const
{
    return m_files.orlimDirectory() + u"/browser.json";
}

std::optional<QString> BrowserChoice::chosen() const
{
    const QJsonValue value = contents(fileURL()).value(browserKey);
    if (!value.isString() || value.toString().isEmpty())
        return std::nullopt;
    return value.toString();
}

bool BrowserChoice::choose(const QString& desktopId)
{
    QJsonObject object = contents(fileURL());
    object.insert(QString::fromUtf16(browserKey), desktopId);
    return RegularFile::replace(fileURL(), QJsonDocument(object).toJson());
}

QStringList BrowserChoice::shown() const
{
    QStringList ids;
    for (const QJsonValue& value : contents(fileURL()).value(shownKey).toArray()) {
        if (value.isString() && !value.toString().isEmpty() && !ids.contains(value.toString()))
            ids.append(value.toString());
    }
    return ids;
}

bool BrowserChoice::show(const QStringList& desktopIds)
{
    QJsonObject object = contents(fileURL());
    object.insert(QString::fromUtf16(shownKey), QJsonArray::fromStringList(desktopIds));
    return RegularFile::replace(fileURL(), QJsonDocument(object).toJson());
}
