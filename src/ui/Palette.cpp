// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/Palette.h"

namespace Palette {
namespace {

QColor faded(QColor color, qreal opacity)
{
    color.setAlphaF(opacity);
    return color;
}

} // namespace

QColor secondary(const QPalette& palette)
{
    return faded(palette.color(QPalette::WindowText), 0.6);
}

QColor tertiary(const QPalette& palette)
{
    return faded(palette.color(QPalette::WindowText), 0.4);
}

QColor accent(const QPalette& palette)
{
    return palette.color(QPalette::Highlight);
}

QColor systemGray()
{
    return QColor(142, 142, 147);
}

QColor orange()
{
    return QColor(255, 149, 0);
}

} // namespace Palette
