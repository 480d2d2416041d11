// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <functional>

class QWidget;

/// The keys every window of Orlim's answers to, and the tray menu shows:
/// Ctrl+, opens the settings, Ctrl+Q quits.
namespace WindowShortcuts {

/// What the keys trigger.
struct Actions
{
    std::function<void()> openSettings;
    std::function<void()> quit;
};

QKeySequence settingsKey();
QKeySequence quitKey();

/// Gives `window` the keys; they trigger what `actions` holds when pressed,
/// so it must outlive the window.
void install(QWidget* window, const Actions& actions);

} // namespace WindowShortcuts
