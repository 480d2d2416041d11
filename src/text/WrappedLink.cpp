// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/WrappedLink.h"

#include "text/ArgumentText.h"

#include <optional>
#include <string_view>

namespace {

/// A web link's pieces, as a browser would cut them.
struct Parts
{
    QString host;          // ASCII letters lowercased; userinfo and port dropped
    QStringView path;      // "/" where the link has none
    QStringView query;     // without its "?"
    QStringView afterHost; // the path onwards, query and fragment included
};

bool startsWithCaseless(QStringView text, QStringView prefix)
{
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

/// `link`'s pieces when it is an http or https link with a host.
std::optional<Parts> parse(QStringView link)
{
    qsizetype at;
    if (startsWithCaseless(link, u"https://"))
        at = 8;
    else if (startsWithCaseless(link, u"http://"))
        at = 7;
    else
        return std::nullopt;
    // Browsers read a backslash as a slash in web links.
    qsizetype end = at;
    while (end < link.size() && !QStringView(u"/?#\\").contains(link.at(end)))
        ++end;
    QStringView host = link.sliced(at, end - at);
    host = host.sliced(host.lastIndexOf(u'@') + 1);
    // A port goes; an IPv6 address keeps its colons, inside its brackets.
    const qsizetype hostEnd = host.startsWith(u'[') ? host.indexOf(u']') + 1 : host.indexOf(u':');
    if (hostEnd >= 0)
        host.truncate(hostEnd);
    if (host.isEmpty())
        return std::nullopt;
    Parts parts;
    parts.host.reserve(host.size());
    for (const QChar c : host)
        parts.host += c.unicode() < 0x80 ? c.toLower() : c;
    parts.afterHost = link.sliced(end);
    const qsizetype fragment = parts.afterHost.indexOf(u'#');
    const QStringView beforeFragment =
        fragment < 0 ? parts.afterHost : parts.afterHost.first(fragment);
    const qsizetype query = beforeFragment.indexOf(u'?');
    parts.path = query < 0 ? beforeFragment : beforeFragment.first(query);
    if (parts.path.isEmpty())
        parts.path = u"/";
    if (query >= 0)
        parts.query = beforeFragment.sliced(query + 1);
    return parts;
}

/// Whether `link` is one a browser may be handed as a destination: http or
/// https, with a host, and nothing that could disguise what is shown.
bool isWebLink(const QString& link)
{
    for (qsizetype i = 0; i < link.size(); ++i) {
        char32_t c = link.at(i).unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < link.size() && link.at(i + 1).isLowSurrogate())
            c = QChar::surrogateToUcs4(link.at(i), link.at(i + 1)), ++i;
        switch (QChar::category(c)) {
        case QChar::Other_Control:
        case QChar::Other_Format:
        case QChar::Separator_Space:
        case QChar::Separator_Line:
        case QChar::Separator_Paragraph:
            return false;
        default:
            break;
        }
    }
    return parse(link).has_value();
}

int hexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    c = char(c | 0x20);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

/// `text` with its %XX escapes turned back into the bytes they stand for;
/// nothing when an escape is malformed.
std::optional<QString> percentDecoded(const QString& text)
{
    const QByteArray bytes = ArgumentText::toBytes(text);
    QByteArray decoded;
    decoded.reserve(bytes.size());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes.at(i) != '%') {
            decoded += bytes.at(i);
            continue;
        }
        const int high = i + 2 < bytes.size() ? hexValue(bytes.at(i + 1)) : -1;
        const int low = high >= 0 ? hexValue(bytes.at(i + 2)) : -1;
        if (low < 0)
            return std::nullopt;
        decoded += char(high * 16 + low);
        i += 2;
    }
    return ArgumentText::fromBytes(decoded);
}

/// The one value that `names` (space-separated) give in `query`, still
/// escaped; nothing when none does, or when they disagree: the service would
/// follow one of them, and which is not ours to guess.
std::optional<QString> parameter(QStringView query, std::u16string_view names)
{
    std::optional<QStringView> found;
    for (const QStringView name : QStringView(names).tokenize(u' ')) {
        for (const QStringView pair : query.tokenize(u'&')) {
            if (!pair.startsWith(name) || pair.size() == name.size() ||
                pair.at(name.size()) != u'=')
                continue;
            const QStringView value = pair.sliced(name.size() + 1);
            if (value.isEmpty())
                continue; // Google's search leaves "q=" empty beside "url="
            if (found && *found != value)
                return std::nullopt;
            found = value;
        }
    }
    return found ? std::optional(found->toString()) : std::nullopt;
}

/// The destination a wrapper holds: its decoder's answer; nothing when the
/// wrapper is malformed.
using Decoder = std::optional<QString> (*)(const Parts& link, std::u16string_view names);

std::optional<QString> fromParameter(const Parts& link, std::u16string_view names)
{
    const std::optional<QString> value = parameter(link.query, names);
    return value ? percentDecoded(*value) : std::nullopt;
}

/// Proofpoint v2 escapes the escapes: "-" stands for "%" and "_" for "/".
std::optional<QString> fromProofpointV2(const Parts& link, std::u16string_view names)
{
    std::optional<QString> value = parameter(link.query, names);
    if (!value)
        return std::nullopt;
    value->replace(u'-', u'%').replace(u'_', u'/');
    return percentDecoded(*value);
}

/// Proofpoint v3 carries the link itself, "/v3/__<link>__;<base64url>!!…",
/// each "*" in it standing for the next character of the decoded run, and
/// "**" with a letter for a run of 2 ("A") or more characters.
std::optional<QString> fromProofpointV3(const Parts& link, std::u16string_view)
{
    constexpr QStringView start = u"/v3/__", end = u"__;";
    constexpr QStringView runLengths =
        u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_";
    if (!link.afterHost.startsWith(start))
        return std::nullopt;
    const qsizetype linkEnd = link.afterHost.indexOf(end, start.size());
    const qsizetype runEnd = link.afterHost.indexOf(u'!', linkEnd + end.size());
    if (linkEnd < 0 || runEnd < 0)
        return std::nullopt;
    const QStringView encoded = link.afterHost.sliced(start.size(), linkEnd - start.size());
    const QStringView run =
        link.afterHost.sliced(linkEnd + end.size(), runEnd - linkEnd - end.size());
    for (const QChar c : run) {
        if (!(c.isLetterOrNumber() && c.unicode() < 0x80) && c != u'-' && c != u'_')
            return std::nullopt;
    }
    const auto bytes = QByteArray::fromBase64Encoding(
        run.toLatin1(), QByteArray::Base64UrlEncoding | QByteArray::AbortOnBase64DecodingErrors);
    if (!bytes)
        return std::nullopt;
    const QString characters = QString::fromUtf8(*bytes);
    if (characters.toUtf8() != *bytes)
        return std::nullopt; // not UTF-8
    QString decoded;
    decoded.reserve(encoded.size());
    qsizetype next = 0;
    // Takes `count` characters (code points) of the run; false past its end.
    const auto take = [&](qsizetype count) {
        for (; count > 0; --count) {
            if (next >= characters.size())
                return false;
            const qsizetype width = characters.at(next).isHighSurrogate() ? 2 : 1;
            decoded += QStringView(characters).sliced(next, width);
            next += width;
        }
        return true;
    };
    for (qsizetype i = 0; i < encoded.size(); ++i) {
        if (encoded.at(i) != u'*') {
            decoded += encoded.at(i);
            continue;
        }
        qsizetype count = 1;
        if (i + 2 < encoded.size() && encoded.at(i + 1) == u'*') {
            if (const qsizetype length = runLengths.indexOf(encoded.at(i + 2)); length >= 0) {
                count = length + 2;
                i += 2;
            }
        }
        if (!take(count))
            return std::nullopt;
    }
    // A run not used up is not one this decoder understands.
    if (next != characters.size())
        return std::nullopt;
    return decoded;
}

/// A wrapper: where it is (a host pattern and a path pattern), where it keeps
/// the destination, and the service's name as shown. A host pattern may
/// begin with "*." for any subdomain, or end in ".<tld>" for a country's
/// domain of the service (com, de, co.jp, com.au); a path pattern may hold
/// one "*" for any run of characters.
struct Wrapper
{
    std::u16string_view host;
    std::u16string_view path;
    std::u16string_view parameters; // space-separated, for the decoder
    Decoder decode;
    std::u16string_view service;
};

constexpr std::u16string_view safeLinks = u"Microsoft Safe Links";
constexpr std::u16string_view urlDefense = u"Proofpoint URL Defense";

constexpr Wrapper wrappers[] = {
    {u"*.safelinks.protection.outlook.com", u"/", u"url", fromParameter, safeLinks},
    {u"statics.teams.cdn.office.net", u"/evergreen-assets/safelinks/*/atp-safelinks.html", u"url",
     fromParameter, safeLinks},
    {u"outlook.office.com", u"/mail/safelink.html", u"url", fromParameter, safeLinks},
    {u"urldefense.proofpoint.com", u"/v2/url", u"u", fromProofpointV2, urlDefense},
    {u"urldefense.com", u"/v3/*", u"", fromProofpointV3, urlDefense},
    {u"www.google.<tld>", u"/url", u"q url", fromParameter, u"Google"},
    {u"l.facebook.com", u"/l.php", u"u", fromParameter, u"Facebook"},
    {u"lm.facebook.com", u"/l.php", u"u", fromParameter, u"Facebook"},
};

/// "com", a two-letter country ("de"), or one below it ("co.jp", "com.au").
bool isCountryDomain(QStringView domain)
{
    const auto country = [](QStringView label) {
        return label.size() == 2 && label.at(0).unicode() >= u'a' &&
               label.at(0).unicode() <= u'z' && label.at(1).unicode() >= u'a' &&
               label.at(1).unicode() <= u'z';
    };
    if (domain == u"com" || country(domain))
        return true;
    return (domain.startsWith(u"co.") && country(domain.sliced(3))) ||
           (domain.startsWith(u"com.") && country(domain.sliced(4)));
}

bool hostMatches(QStringView host, QStringView pattern)
{
    if (pattern.startsWith(u"*."))
        return host.size() > pattern.size() - 1 && host.endsWith(pattern.sliced(1));
    if (pattern.endsWith(u".<tld>")) {
        const QStringView stem = pattern.chopped(5);
        return host.startsWith(stem) && isCountryDomain(host.sliced(stem.size()));
    }
    return host == pattern;
}

bool pathMatches(QStringView path, QStringView pattern)
{
    const qsizetype star = pattern.indexOf(u'*');
    if (star < 0)
        return path == pattern;
    const QStringView before = pattern.first(star), after = pattern.sliced(star + 1);
    return path.size() >= before.size() + after.size() && path.startsWith(before) &&
           path.endsWith(after);
}

/// One wrapper taken off `link`.
struct Unwrapped
{
    std::optional<QString> destination; // none: the wrapper is malformed
    std::u16string_view service;
};

/// `link` with its outer wrapper taken off; nothing when no wrapper holds it.
std::optional<Unwrapped> unwrapOnce(const QString& link)
{
    const std::optional<Parts> parts = parse(link);
    if (!parts)
        return std::nullopt;
    for (const Wrapper& wrapper : wrappers) {
        if (!hostMatches(parts->host, wrapper.host) || !pathMatches(parts->path, wrapper.path))
            continue;
        std::optional<QString> destination = wrapper.decode(*parts, wrapper.parameters);
        if (destination && !isWebLink(*destination))
            destination.reset();
        return Unwrapped{std::move(destination), wrapper.service};
    }
    return std::nullopt;
}

} // namespace

WrappedLink WrappedLink::read(const QString& given, bool opensDestination)
{
    WrappedLink link(given);
    link.opensDestination = opensDestination;
    if (given.size() > maxLength)
        return link;
    QString destination = given;
    QStringList services;
    while (const std::optional<Unwrapped> inner = unwrapOnce(destination)) {
        if (!inner->destination || services.size() == maxDepth)
            return link;
        destination = *inner->destination;
        services.append(
            QString::fromUtf16(inner->service.data(), qsizetype(inner->service.size())));
    }
    if (services.isEmpty())
        return link;
    services.removeDuplicates();
    link.destination = destination;
    link.services = services;
    link.host = parse(destination)->host;
    return link;
}
