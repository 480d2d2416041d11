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
// Material's 800 shades (900 where white reads too faintly on the 800): white
// on each reaches 4.5:1, on light and dark windows alike.
constexpr QRgb nameColors[] = {0xc62828, 0xad1457, 0x6a1b9a, 0x4527a0, 0x283593, 0x1565c0,
                               0x006064, 0x00695c, 0x2e7d32, 0xbf360c, 0x4e342e, 0x37474f};

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
    const QColor ring = profile.strokeColor ? colorFromArgb(*profile.strokeColor)
                        : profile.fillColor || !picture.isNull() ? Palette::secondary(palette)
                                                                 : QColor(Qt::white);
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
        const QColor fill = profile.fillColor ? colorFromArgb(*profile.fillColor)
                                              : colorOfName(profile.displayName);
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

QColor ProfileAvatarView::colorOfName(const QString& displayName)
{
    // FNV-1a: qHash is seeded afresh in every run.
    quint32 hash = 2166136261u;
    for (const char byte : displayName.trimmed().toUtf8())
        hash = (hash ^ quint8(byte)) * 16777619u;
    return QColor::fromRgb(nameColors[hash % std::size(nameColors)]);
}

QColor ProfileAvatarView::colorFromArgb(qint64 argb)
{
    const auto bits = static_cast<quint32>(static_cast<quint64>(argb) & 0xffffffffu);
    return QColor::fromRgb((bits >> 16) & 0xff, (bits >> 8) & 0xff, bits & 0xff, bits >> 24);
}
