// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// Hands one link to Google Chrome in one profile and brings Chrome forward.
/// This is the only place where Orlim starts another program.
namespace ChromeLauncher {

/// Look-ups of a running Chrome after the first one, and the pause between them.
inline constexpr int activationRetries = 20;
inline constexpr int activationIntervalMs = 50;

/// Chrome's command line for `url` in `profileDirectory`: the profile switch,
/// then the link. A link that Chrome would take for a switch (it begins with
/// "-" once leading white space is dropped) goes after the "--" terminator.
QStringList arguments(const QString& url, const QString& profileDirectory);

/// Starts the Chrome in use with `arguments(url, profileDirectory)` without
/// waiting for it, handing it `activationToken` (see `WindowActivation`), then
/// brings its window forward once it appears (polling for about a second).
/// Chrome failing to start is silently ignored; Chrome not installed drops the
/// link with one line on stderr.
void open(const QString& url, const QString& profileDirectory, const QString& activationToken = {});

} // namespace ChromeLauncher
