// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/WrappedLinkSetting.h"

#include "platform/FileLayout.h"
#include "platform/RegularFile.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace {

constexpr char16_t key[] = u"opensDestination";
constexpr qint64 maxSize = 4 * 1024;

} // namespace

QString WrappedLinkSetting::fileURL() const
{
    return m_files.orlimDirectory() + u"/wrapped-links.json";
}

bool WrappedLinkSetting::opensDestination() const
{
    const RegularFile::Contents read = RegularFile::read(fileURL(), maxSize);
    return read.status == RegularFile::Status::Read &&
           QJsonDocument::fromJson(read.bytes).object().value(key).toBool(false);
}

bool WrappedLinkSetting::setOpensDestination(bool on)
{
    const QJsonObject object{{QString::fromUtf16(key), on}};
    return RegularFile::replace(fileURL(), QJsonDocument(object).toJson());
}
