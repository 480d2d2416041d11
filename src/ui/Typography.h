#pragma once

#include <QFont>

/// The text roles the windows use, sized relative to the desktop's own font so
/// they follow the user's settings.
namespace Typography {

enum class Role { Title2, Title3, Headline, Body, Callout, Caption, Caption2 };

QFont font(Role role);
/// The same role in a fixed-pitch face (row numbers, the prefix field).
QFont monospaced(Role role);

} // namespace Typography
