// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Orlim's identity on the desktop.
namespace AppInfo {

/// The desktop-file ID that the desktop knows Orlim by, and that ID without
/// ".desktop", as Qt and desktop notifications take it.
inline constexpr char16_t desktopId[] = u"orlim.desktop";
inline constexpr char16_t desktopEntry[] = u"orlim";
inline constexpr char16_t name[] = u"Orlim";

/// The version shown in the menu and the settings ("?" when none was built in).
QString version();

} // namespace AppInfo
