// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// The environment variables that carry an activation token from the program
/// that starts another to the one it starts: the Wayland token first, then the
/// X11 startup ID. Free of Qt, for the small hand-over command too.
namespace ActivationVariables {

inline constexpr const char* wayland = "XDG_ACTIVATION_TOKEN";
inline constexpr const char* x11 = "DESKTOP_STARTUP_ID";
inline constexpr const char* all[] = {wayland, x11};

} // namespace ActivationVariables
