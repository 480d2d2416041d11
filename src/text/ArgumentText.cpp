// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ArgumentText.h"

namespace ArgumentText {
namespace {

constexpr char32_t escapeBase = 0xDC00;

/// The length of the well-formed UTF-8 sequence at `at`, or 0 when there is none.
int sequenceLength(const QByteArray& bytes, qsizetype at, char32_t* codePoint)
{
    const auto byte = [&](qsizetype i) { return static_cast<unsigned char>(bytes.at(i)); };
    const unsigned char lead = byte(at);
    int length;
    char32_t value;
    char32_t minimum;
    if (lead < 0x80) {
        *codePoint = lead;
        return 1;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (at + length > bytes.size())
        return 0;
    for (int i = 1; i < length; ++i) {
        if ((byte(at + i) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(at + i) & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are not UTF-8.
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    *codePoint = value;
    return length;
}

} // namespace

QString fromBytes(const QByteArray& bytes)
{
    QString text;
    text.reserve(bytes.size());
    for (qsizetype at = 0; at < bytes.size();) {
        char32_t codePoint = 0;
        const int length = sequenceLength(bytes, at, &codePoint);
        if (length == 0) {
            text += QChar(char16_t(escapeBase + static_cast<unsigned char>(bytes.at(at))));
            ++at;
            continue;
        }
        // One code point at a time: QString::fromUcs4 would take a U+FEFF at
        // the start of its input for a byte order mark and drop it.
        text += QChar::fromUcs4(codePoint);
        at += length;
    }
    return text;
}

QStringList fromBytes(const std::vector<std::string>& arguments)
{
    QStringList texts;
    for (const std::string& argument : arguments)
        texts.append(fromBytes(QByteArray::fromStdString(argument)));
    return texts;
}

QByteArray toBytes(const QString& text)
{
    QByteArray bytes;
    bytes.reserve(text.size());
    qsizetype runStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text.at(i).unicode();
        const bool escaped = unit >= escapeBase + 0x80 && unit <= escapeBase + 0xFF &&
                             (i == 0 || !text.at(i - 1).isHighSurrogate());
        if (!escaped)
            continue;
        bytes += QStringView(text).sliced(runStart, i - runStart).toUtf8();
        bytes += char(unit - escapeBase);
        runStart = i + 1;
    }
    bytes += QStringView(text).sliced(runStart).toUtf8();
    return bytes;
}

} // namespace ArgumentText
