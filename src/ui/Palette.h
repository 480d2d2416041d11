// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>

/// The colour roles the windows use, taken from the desktop's palette.
namespace Palette {

/// Text of secondary importance (descriptions, the link line).
QColor secondary(const QPalette& palette);
/// Text of tertiary importance (directory names).
QColor tertiary(const QPalette& palette);
/// The highlight colour that marks the selected row.
QColor accent(const QPalette& palette);
/// A neutral gray that reads on light and dark backgrounds.
QColor systemGray();
/// The warning colour.
QColor orange();

} // namespace Palette
