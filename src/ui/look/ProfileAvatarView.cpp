// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/ProfileAvatarView.h"

#include "platform/RegularFile.h"
#include "ui/look/Palette.h"

#include <QBuffer>
#include <QImageReader>
#include <QPainter>
#include <QPainterPath>
#include <QTextBoundaryFinder>

namespace {

constexpr qreal ringWidth = 1.0;
constexpr qreal pictureRingOpacity = 0.4;
constexpr qreal letterRingOpacity = 0.6;
constexpr qreal letterScale = 0.46;
constexpr qreal fallbackFillOpacity = 0.25;

QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(color.alphaF() * opacity);
    return color;
}

/// Aspect-fill: the part of `image` that covers `target` when scaled to fill it.
QRectF fillSource(const QSizeF& image, const QRectF& target)
{
    const qreal scale = std::max(target.width() / image.width(), target.height() / image.height());
    const QSizeF visible(target.width() / scale, target.height() / scale);
    return QRectF(
        QPointF((image.width() - visible.width()) / 2, (image.height() - visible.height()) / 2),
        visible);
}

} // namespace

ProfileAvatarView::ProfileAvatarView(const ChromeProfile& profile, qreal size, QWidget* parent)
    : QWidget(parent), m_profile(profile), m_picture(readPicture(profile))
{
    const int side = qRound(size);
    setFixedSize(side, side);
    setAttribute(Qt::WA_TranslucentBackground);
}

void ProfileAvatarView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paint(painter, QRectF(rect()), m_profile, m_picture, palette());
}

QImage ProfileAvatarView::readPicture(const ChromeProfile& profile)
{
    if (!profile.pictureURL)
        return {};
    RegularFile::Contents file = RegularFile::read(profile.pictureURL->toLocalFile());
    if (file.status != RegularFile::Status::Read)
        return {};
    QBuffer buffer(&file.bytes);
    QImageReader reader(&buffer);
    reader.setAutoTransform(true);
    return reader.read();
}

void ProfileAvatarView::paint(QPainter& painter, const QRectF& bounds, const ChromeProfile& profile,
                              const QPalette& palette)
{
    paint(painter, bounds, profile, readPicture(profile), palette);
}

void ProfileAvatarView::paint(QPainter& painter, const QRectF& bounds, const ChromeProfile& profile,
                              const QImage& picture, const QPalette& palette)
{
    painter.save();
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    const QColor ring =
        profile.strokeColor ? colorFromArgb(*profile.strokeColor) : Palette::secondary(palette);
    // The ring is drawn just inside the frame so no part of it is cut off.
    const QRectF ringBounds =
        bounds.adjusted(ringWidth / 2, ringWidth / 2, -ringWidth / 2, -ringWidth / 2);

    if (!picture.isNull()) {
        QPainterPath circle;
        circle.addEllipse(bounds);
        painter.setClipPath(circle);
        painter.drawImage(bounds, picture, fillSource(picture.size(), bounds));
        painter.setClipping(false);
        painter.setPen(QPen(withOpacity(ring, pictureRingOpacity), ringWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(ringBounds);
    } else {
        const QColor fill = profile.fillColor
                                ? colorFromArgb(*profile.fillColor)
                                : withOpacity(Palette::systemGray(), fallbackFillOpacity);
        painter.setPen(Qt::NoPen);
        painter.setBrush(fill);
        painter.drawEllipse(bounds);
        painter.setPen(QPen(withOpacity(ring, letterRingOpacity), ringWidth));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(ringBounds);

        QFont font = painter.font();
        const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
        font.setPointSizeF(bounds.height() * letterScale * 72.0 / (dpi > 0 ? dpi : 96));
        font.setWeight(QFont::DemiBold);
        painter.setFont(font);
        // The initial keeps the ring's colour where that reads against the
        // fill (as large text, 3:1), else black or white.
        const QColor behind = Palette::over(fill, palette.color(QPalette::Window));
        painter.setPen(Palette::readableOn(ring, behind, 3.0));
        painter.drawText(bounds, Qt::AlignCenter, initial(profile.displayName));
    }
    painter.restore();
}

QString ProfileAvatarView::initial(const QString& displayName)
{
    const QString trimmed = displayName.trimmed();
    if (trimmed.isEmpty())
        return QStringLiteral("?");
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, trimmed);
    const qsizetype end = graphemes.toNextBoundary();
    return trimmed.left(end > 0 ? end : trimmed.size()).toUpper();
}

QColor ProfileAvatarView::colorFromArgb(qint64 argb)
{
    const auto bits = static_cast<quint32>(static_cast<quint64>(argb) & 0xffffffffu);
    return QColor::fromRgb((bits >> 16) & 0xff, (bits >> 8) & 0xff, bits & 0xff, bits >> 24);
}
