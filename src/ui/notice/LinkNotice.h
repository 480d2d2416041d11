// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeLauncher.h"

#include <QString>

class QWidget;

/// Tells the user that a link could not be opened, so that no link is lost
/// without a word: a desktop notification naming the link, with an action that
/// brings up a small window of Orlim's own, which copies the link as soon as it
/// has the keyboard (on Wayland only a window with the keyboard may set the
/// clipboard). The window lists every link that could not be opened since it
/// was last closed, each with its own copy button; it comes up by itself where
/// no notification service offers the action.
namespace LinkNotice {

/// What the user reads: the summary, and why.
QString summary();
QString reason(ChromeLauncher::Failure why);

/// Tells the user that `url` could not be opened, and why.
void show(const QString& url, ChromeLauncher::Failure why);

/// The window of links that could not be opened; null until it first shows.
QWidget* window();
/// The links it lists, oldest first.
QStringList links();

} // namespace LinkNotice
