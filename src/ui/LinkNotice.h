// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chrome/ChromeLauncher.h"

#include <QString>

class QWidget;

/// Tells the user that a link could not be opened, so that no link is lost
/// without a word: a desktop notification naming the link, with an action that
/// copies it; where no notification service answers, a small window of
/// Orlim's own that shows the link and copies it.
namespace LinkNotice {

/// What the user reads: the summary, and why.
QString summary();
QString reason(ChromeLauncher::Failure why);

/// Tells the user that `url` could not be opened, and why.
void show(const QString& url, ChromeLauncher::Failure why);

/// The window shown where there is no notification service; null until then.
QWidget* window();

} // namespace LinkNotice
