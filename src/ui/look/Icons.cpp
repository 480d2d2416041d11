// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/Icons.h"

#include "browser/BrowserInstallation.h"

#include <QFile>
#include <QFileInfo>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

// The resources live in a static library, whose automatic registration the
// linker may drop; register them by hand (outside any namespace, as required).
static void registerResources()
{
    static const bool registered = [] {
        Q_INIT_RESOURCE(orlim);
        return true;
    }();
    Q_UNUSED(registered);
}

namespace Icons {
namespace {

constexpr int iconSide = 32;

/// Draws one icon at several sizes with `draw(painter, side)`.
template <typename Draw> QIcon drawn(Draw draw)
{
    QIcon icon;
    for (const int side : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(side / qreal(iconSide), side / qreal(iconSide));
        draw(painter);
        icon.addPixmap(pixmap);
    }
    return icon;
}

QPen strokePen(const QColor& color, qreal width)
{
    return QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

} // namespace

QPixmap exclamationCircle(int side, const QColor& color, qreal devicePixelRatio)
{
    QPixmap pixmap(QSize(side, side) * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = side;
    painter.setPen(strokePen(color, s / 12));
    painter.drawEllipse(QRectF(s / 12, s / 12, s - s / 6, s - s / 6));
    painter.setPen(strokePen(color, s / 9));
    painter.drawLine(QPointF(s / 2, s * 0.28), QPointF(s / 2, s * 0.56));
    painter.drawPoint(QPointF(s / 2, s * 0.72));
    return pixmap;
}

QIcon chevron(Qt::ArrowType direction, const QPalette& palette)
{
    const QColor color = palette.color(QPalette::ButtonText);
    const bool up = direction == Qt::UpArrow;
    return drawn([&](QPainter& painter) {
        painter.setPen(strokePen(color, 3.5));
        const qreal tip = up ? 10 : 22;
        const qreal base = up ? 22 : 10;
        painter.drawPolyline(QPolygonF({QPointF(6, base), QPointF(16, tip), QPointF(26, base)}));
    });
}

QIcon trash(const QPalette& palette)
{
    const QColor color = palette.color(QPalette::ButtonText);
    return drawn([&](QPainter& painter) {
        painter.setPen(strokePen(color, 2.5));
        painter.drawLine(QPointF(5, 8), QPointF(27, 8));
        painter.drawPolyline(
            QPolygonF({QPointF(12, 8), QPointF(13, 4), QPointF(19, 4), QPointF(20, 8)}));
        painter.drawPolyline(
            QPolygonF({QPointF(8, 8), QPointF(9.5, 28), QPointF(22.5, 28), QPointF(24, 8)}));
        painter.drawLine(QPointF(13.5, 13), QPointF(13.5, 23));
        painter.drawLine(QPointF(18.5, 13), QPointF(18.5, 23));
    });
}

QIcon tray(const QString& resource)
{
    registerResources();
    if (QFile::exists(resource)) {
        QIcon icon(resource);
        if (!icon.pixmap(QSize(22, 22)).isNull())
            return icon;
    }
    return letterIcon();
}

QIcon letterIcon()
{
    return drawn([](QPainter& painter) {
        QFont font;
        font.setPixelSize(26);
        font.setBold(true);
        QPainterPath letter;
        letter.addText(0, 0, font, QStringLiteral("O"));
        const QRectF box = letter.boundingRect();
        letter.translate(16 - box.center().x(), 16 - box.center().y());
        // A dark outline under a light letter reads on light and dark panels alike.
        painter.strokePath(letter, QPen(QColor(0, 0, 0, 150), 3));
        painter.fillPath(letter, Qt::white);
    });
}

QIcon browser(const BrowserInstallation& browser)
{
    const QString& name = browser.command.icon;
    return QFileInfo(name).isAbsolute() ? QIcon(name) : QIcon::fromTheme(name);
}

} // namespace Icons
