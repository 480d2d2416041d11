// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>
#include <optional>

/// GNOME's own `org.gnome.desktop.interface color-scheme`, through GSettings,
/// for desktops without the XDG portal. Kept apart from Qt's headers.
namespace GnomeInterfaceSettings {

/// The setting as the portal numbers it (0 default, 1 prefer dark, 2 prefer
/// light), calling `changed` with the new value whenever it changes; nothing
/// when the schema or the key is not installed.
std::optional<unsigned> followColorScheme(std::function<void(unsigned)> changed);

} // namespace GnomeInterfaceSettings
