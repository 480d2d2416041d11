// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/Appearance.h"

#include "ui/look/Palette.h"

#include <QApplication>

namespace Appearance {

void follow(ColorScheme& scheme, const QPalette& qtOwn)
{
    scheme.follow([qtOwn](ColorScheme::Preference preference) { apply(preference, qtOwn); });
}

QPalette paletteFor(ColorScheme::Preference preference, const QPalette& qtOwn)
{
    if (preference == ColorScheme::Preference::None)
        return qtOwn;
    const bool dark = preference == ColorScheme::Preference::Dark;
    // A platform theme that already follows the desktop (KDE's, qt6ct,
    // Kvantum) knows the user's colours better than Orlim does.
    if (Palette::isDark(qtOwn) == dark)
        return qtOwn;
    return dark ? Palette::dark() : Palette::light();
}

void apply(ColorScheme::Preference preference, const QPalette& qtOwn)
{
    QApplication::setPalette(paletteFor(preference, qtOwn));
    Palette::retone();
}

} // namespace Appearance
