// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QWidget;

/// The tray menu's keyboard shortcuts, Ctrl+, (settings) and Ctrl+Q (quit),
/// which a tray menu cannot offer while it is closed: every Orlim window
/// carries them, so they work whenever Orlim is active.
namespace WindowShortcuts {

void install(QWidget* window);

} // namespace WindowShortcuts
