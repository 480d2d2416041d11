// SPDX-License-Identifier: GPL-3.0-or-later
// Failure messages show Qt's text as text rather than as UTF-16 units; every
// test writes its strings as u"..."_s.
#pragma once

#include <QString>
#include <ostream>

using namespace Qt::StringLiterals;

inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
