// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

class DefaultBrowser;

/// Application-wide actions offered by the tray menu and the settings window.
namespace AppActions {

/// Asks the desktop, through `browser`, to open "http" and "https" links and
/// HTML files with Orlim. Returns at once; `completion`, when given, runs
/// exactly once on the main thread after every request has completed, whether
/// they succeeded or not.
void setAsDefaultBrowser(DefaultBrowser& browser, std::function<void()> completion = {});
/// Whether the desktop, through `browser`, opens web links with Orlim: its
/// https handler is Orlim's desktop entry.
bool isDefaultBrowser(const DefaultBrowser& browser);

/// Ends Orlim at once, without confirmation.
void quit();

} // namespace AppActions
