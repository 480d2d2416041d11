// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/BrowserChoice.h"

#include "platform/FileLayout.h"
#include "platform/RegularFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr char16_t key[] = u"browser";
constexpr qint64 maxSize = 64 * 1024;

} // namespace

QString BrowserChoice::fileURL() const
{
    return m_files.orlimDirectory() + u"/browser.json";
}

std::optional<QString> BrowserChoice::chosen() const
{
    const RegularFile::Contents file = RegularFile::read(fileURL(), maxSize);
    if (file.status != RegularFile::Status::Read)
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.bytes);
    const QJsonValue value = document.object().value(key);
    if (!value.isString() || value.toString().isEmpty())
        return std::nullopt;
    return value.toString();
}

bool BrowserChoice::choose(const QString& desktopId)
{
    return RegularFile::replace(
        fileURL(), QJsonDocument(QJsonObject{{QString::fromUtf16(key), desktopId}}).toJson());
}
