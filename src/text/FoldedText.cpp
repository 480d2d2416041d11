// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/FoldedText.h"

namespace FoldedText {
namespace {

/// The kana's voicing marks: a mark of its own kind, part of the syllable.
bool isKanaVoicing(char32_t c)
{
    return c == 0x3099 || c == 0x309A;
}

} // namespace

QString fold(const QString& text)
{
    // Upper then lower case: Qt's case folding maps one character to one,
    // and "ß" would stay apart from "ss".
    const QString decomposed = text.toUpper().toLower().normalized(QString::NormalizationForm_KD);
    QString kept;
    kept.reserve(decomposed.size());
    for (qsizetype i = 0; i < decomposed.size();) {
        const QChar first = decomposed.at(i);
        const bool pair = first.isHighSurrogate() && i + 1 < decomposed.size() &&
                          decomposed.at(i + 1).isLowSurrogate();
        const char32_t c =
            pair ? QChar::surrogateToUcs4(first, decomposed.at(i + 1)) : first.unicode();
        const qsizetype length = pair ? 2 : 1;
        if (QChar::category(c) != QChar::Mark_NonSpacing || isKanaVoicing(c))
            kept += QStringView(decomposed).mid(i, length);
        i += length;
    }
    return kept.normalized(QString::NormalizationForm_C);
}

} // namespace FoldedText
