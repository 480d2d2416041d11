// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Platform.h"

/// The services of a freedesktop.org desktop: XDG directories, GIO desktop
/// entries and default handlers, detached processes, X11 window activation and
/// Qt timers. The objects live for the whole process.
Platform linuxPlatform();
