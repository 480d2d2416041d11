// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFont>

/// The text roles the windows use, sized relative to the desktop's own font so
/// they follow the user's settings.
namespace Typography {

enum class Role { Title2, Title3, Headline, Body, Callout, Caption, Caption2 };

/// Makes a Japanese face (where installed) the application's first choice, so
/// that kanji everywhere, buttons and menus included, take Japanese shapes
/// whatever the locale or the desktop's font ranks first.
void preferJapaneseFaces();

QFont font(Role role);
/// The same role in a fixed-pitch face (row numbers, the prefix field).
QFont monospaced(Role role);

} // namespace Typography
