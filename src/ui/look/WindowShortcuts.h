// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QKeySequence>
#include <functional>

class QWidget;

/// The keys every window of Orlim's answers to, and the tray menu shows:
/// Ctrl+, opens the settings, Ctrl+Q quits.
namespace WindowShortcuts {

/// What the keys trigger; the application hands them in once, as it starts.
struct Actions
{
    std::function<void()> openSettings;
    std::function<void()> quit;
};

QKeySequence settingsKey();
QKeySequence quitKey();

void setActions(Actions actions);
/// Gives `window` the keys.
void install(QWidget* window);

} // namespace WindowShortcuts
