// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/ChromeProfile.h"

#include <QColor>
#include <QImage>
#include <QWidget>

class QPainter;

/// The round avatar of one Chrome profile: its picture clipped to a circle, or a
/// disc in its avatar colours (else a colour of its name's) with the initial of
/// its name.
class ProfileAvatarView : public QWidget
{
    Q_OBJECT
public:
    static constexpr qreal defaultSize = 30;

    explicit ProfileAvatarView(const ChromeProfile& profile, qreal size = defaultSize,
                               QWidget* parent = nullptr);

    /// Draws `profile`'s avatar filling `bounds` (a square), reading its picture
    /// from disk.
    static void paint(QPainter& painter, const QRectF& bounds, const ChromeProfile& profile,
                      const QPalette& palette);
    /// The same with the picture already read: a null image gives the letter.
    static void paint(QPainter& painter, const QRectF& bounds, const ChromeProfile& profile,
                      const QImage& picture, const QPalette& palette);

    /// The profile's picture, or a null image when it has none or it is not an
    /// image.
    static QImage readPicture(const ChromeProfile& profile);

    /// The letter shown on the disc: the first user-perceived character of the
    /// trimmed display name, upper-cased with the full mapping; "?" when blank.
    static QString initial(const QString& displayName);

    /// The fill of a profile the browser gives no colour (Firefox's without a
    /// theme): one of a fixed set, each white letter on it readable, told by
    /// the name alone, the same in every run.
    static QColor colorOfName(const QString& displayName);

    /// A packed ARGB colour: bits 24-31 alpha, 16-23 red, 8-15 green, 0-7 blue;
    /// the upper 32 bits are ignored.
    static QColor colorFromArgb(qint64 argb);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ChromeProfile m_profile;
    QImage m_picture; // read once, when the view is made; repaints reuse it
};
