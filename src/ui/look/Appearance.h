// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ColorScheme.h"

#include <QPalette>

/// Orlim's windows in the desktop's light or dark style. The preference is
/// read once at start-up without waiting for it, then followed, so a switch in
/// the desktop's settings turns open windows at once.
namespace Appearance {

/// Starts following the desktop's preference as `scheme` tells it. `qtOwn` is
/// the palette Qt gives (from a platform theme, where one is installed), kept
/// wherever it already matches the preference.
void follow(ColorScheme& scheme, const QPalette& qtOwn);

/// The palette for `preference`: `qtOwn` when it already matches (or there is
/// no preference), else Orlim's own light or dark one.
QPalette paletteFor(ColorScheme::Preference preference, const QPalette& qtOwn);

/// Puts `paletteFor(preference, qtOwn)` in force for every window.
void apply(ColorScheme::Preference preference, const QPalette& qtOwn);

} // namespace Appearance
