// SPDX-License-Identifier: GPL-3.0-or-later
// Failure messages show Qt's text as text rather than as UTF-16 units.
#pragma once

#include <QString>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
