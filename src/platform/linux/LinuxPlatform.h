// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"

/// The services of a freedesktop.org desktop: XDG directories, GIO desktop
/// entries and default handlers, detached processes, D-Bus notifications and
/// the portal's colour scheme, Qt timers; a window activation that asks for
/// no proof until the desktop is settled. The objects live for the whole
/// process.
Platform linuxPlatform();

/// Puts in `platform` the services of the desktop it has settled on: the
/// window activation of Wayland or of X11, and on X11 the look-up of the
/// browser's windows. Called once, by `Platform::settleDesktop()`.
void settleLinuxDesktop(Platform& platform);
