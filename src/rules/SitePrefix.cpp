// SPDX-License-Identifier: GPL-3.0-or-later
// RuleStore::sitePrefix lives apart because it is the only user of uriparser.
#include "rules/RuleStore.h"

#include <uriparser/Uri.h>

namespace {

QString text(const UriTextRangeA& range)
{
    if (!range.first || !range.afterLast)
        return {};
    return QString::fromUtf8(range.first, range.afterLast - range.first);
}

} // namespace

std::optional<QString> RuleStore::sitePrefix(const QString& url)
{
    const QByteArray bytes = url.toUtf8();
    UriUriA uri;
    const char* errorPosition = nullptr;
    if (uriParseSingleUriExA(&uri, bytes.constData(), bytes.constData() + bytes.size(),
                             &errorPosition) != URI_SUCCESS)
        return std::nullopt;

    const QString scheme = text(uri.scheme);
    QString host = text(uri.hostText);
    // uriparser hands IP literals back without their brackets; put them back
    // so the prefix still begins the link it came from.
    if (uri.hostData.ip6 || uri.hostData.ipFuture.first)
        host = u'[' + host + u']';
    uriFreeUriMembersA(&uri);

    if (scheme.isEmpty())
        return std::nullopt;
    if (host.isEmpty() || host == u"[]")
        return std::nullopt;
    return scheme + u"://" + host;
}
