// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Text as the user finds it by typing: case and accents make no difference,
/// and what the keyboard types stands for what looks the same ("ﬁ" is "fi",
/// half-width "ｶ" is "カ"). Hiragana and katakana stay as written, their voicing
/// marks too ("が" is not "か").
namespace FoldedText {

/// The form two texts are compared on: compatibility-decomposed, accents
/// dropped, case-folded (fully: "ß" is "ss"), composed again.
QString fold(const QString& text);

} // namespace FoldedText
