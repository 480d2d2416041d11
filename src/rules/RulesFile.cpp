// SPDX-License-Identifier: GPL-3.0-or-later
#include "rules/RulesFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace RulesFile {
namespace {

void appendJsonString(QByteArray& out, const QString& text)
{
    static constexpr char hex[] = "0123456789abcdef";
    out.append('"');
    for (const char c : text.toUtf8()) {
        const auto u = static_cast<unsigned char>(c);
        switch (c) {
        case '"':
            out.append("\\\"");
            break;
        case '\\':
            out.append("\\\\");
            break;
        case '/':
            out.append("\\/");
            break;
        case '\b':
            out.append("\\b");
            break;
        case '\f':
            out.append("\\f");
            break;
        case '\n':
            out.append("\\n");
            break;
        case '\r':
            out.append("\\r");
            break;
        case '\t':
            out.append("\\t");
            break;
        default:
            if (u < 0x20) {
                out.append("\\u00");
                out.append(hex[u >> 4]);
                out.append(hex[u & 0xf]);
            } else {
                out.append(c);
            }
        }
    }
    out.append('"');
}

} // namespace

QByteArray encode(const ProfileRules& rules)
{
    if (rules.isEmpty())
        return QByteArrayLiteral("[\n\n]");
    QByteArray out("[\n");
    for (qsizetype i = 0; i < rules.size(); ++i) {
        out.append("  {\n");
        // Keys in order; a rule that names no browser is written as before.
        if (!rules.at(i).browser.isEmpty()) {
            out.append("    \"browser\" : ");
            appendJsonString(out, rules.at(i).browser);
            out.append(",\n");
        }
        out.append("    \"prefix\" : ");
        appendJsonString(out, rules.at(i).prefix);
        out.append(",\n    \"profileDirectory\" : ");
        appendJsonString(out, rules.at(i).profileDirectory);
        out.append(i + 1 < rules.size() ? "\n  },\n" : "\n  }\n");
    }
    out.append(']');
    return out;
}

std::optional<ProfileRules> decode(const QByteArray& bytes)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isArray())
        return std::nullopt;
    const QJsonArray array = document.array();
    ProfileRules rules;
    rules.reserve(array.size());
    for (const QJsonValue& element : array) {
        if (!element.isObject())
            return std::nullopt;
        const QJsonObject object = element.toObject();
        const QJsonValue prefix = object.value(u"prefix");
        const QJsonValue directory = object.value(u"profileDirectory");
        const QJsonValue browser = object.value(u"browser");
        if (!prefix.isString() || !directory.isString() ||
            !(browser.isUndefined() || browser.isString()))
            return std::nullopt;
        // "\udc00" and the like decode to half a character, which no text can
        // hold and no write could give back.
        const QString prefixText = prefix.toString();
        const QString directoryText = directory.toString();
        const QString browserText = browser.toString();
        if (!prefixText.isValidUtf16() || !directoryText.isValidUtf16() ||
            !browserText.isValidUtf16())
            return std::nullopt;
        rules.append({prefixText, directoryText, browserText});
    }
    return rules;
}

} // namespace RulesFile
