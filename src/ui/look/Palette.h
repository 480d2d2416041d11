// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QPalette>

class QWidget;

/// The colour roles the windows use, taken from the application's palette,
/// and the light and dark palettes of Orlim's own.
namespace Palette {

/// How prominent a text is.
enum class Tone { Secondary, Tertiary };

/// Text of secondary importance (descriptions, the link line).
QColor secondary(const QPalette& palette);
/// Text of tertiary importance (directory names).
QColor tertiary(const QPalette& palette);
QColor of(Tone tone, const QPalette& palette);
/// The highlight colour that marks the selected row.
QColor accent(const QPalette& palette);
/// The warning colour, for the palette's background.
QColor orange(const QPalette& palette);

/// Gives `widget`'s text `tone`, now and again whenever the palette changes
/// (`retone()`).
void setTone(QWidget* widget, Tone tone);
/// Gives every widget its tone again, from the application's palette.
void retone();

/// Whether the palette's windows are dark (light text on a dark background).
bool isDark(const QPalette& palette);
/// Orlim's own palettes, where the one Qt gives does not match the desktop.
QPalette light();
QPalette dark();

/// `top` painted over the opaque `bottom`.
QColor over(const QColor& top, const QColor& bottom);
/// WCAG's contrast ratio between two opaque colours, 1 to 21.
double contrast(const QColor& a, const QColor& b);
/// `preferred` where it reaches `minimum` contrast on `background`, else
/// black or white, whichever contrasts more.
QColor readableOn(const QColor& preferred, const QColor& background, double minimum);

} // namespace Palette
