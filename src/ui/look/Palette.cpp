// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/Palette.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>

#include <cmath>

namespace Palette {
namespace {

constexpr char toneProperty[] = "orlimTone";

QColor faded(QColor color, qreal opacity)
{
    color.setAlphaF(opacity);
    return color;
}

double channel(double value)
{
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
}

double luminance(const QColor& color)
{
    return 0.2126 * channel(color.redF()) + 0.7152 * channel(color.greenF()) +
           0.0722 * channel(color.blueF());
}

void applyTone(QWidget* widget, Tone tone)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, of(tone, QApplication::palette(widget)));
    widget->setPalette(palette);
}

QPalette made(const QColor& window, const QColor& text, const QColor& base, const QColor& button,
              const QColor& highlight, const QColor& placeholder, const QColor& disabledText)
{
    QPalette palette(button, window);
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const QColor& shown = group == QPalette::Disabled ? disabledText : text;
        palette.setColor(group, QPalette::Window, window);
        palette.setColor(group, QPalette::WindowText, shown);
        palette.setColor(group, QPalette::Base, base);
        palette.setColor(group, QPalette::AlternateBase, button);
        palette.setColor(group, QPalette::Text, shown);
        palette.setColor(group, QPalette::Button, button);
        palette.setColor(group, QPalette::ButtonText, shown);
        palette.setColor(group, QPalette::BrightText, Qt::white);
        palette.setColor(group, QPalette::Highlight, highlight);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Link, highlight);
        palette.setColor(group, QPalette::ToolTipBase, base);
        palette.setColor(group, QPalette::ToolTipText, text);
        palette.setColor(group, QPalette::PlaceholderText, placeholder);
    }
    return palette;
}

} // namespace

QColor secondary(const QPalette& palette)
{
    return faded(palette.color(QPalette::WindowText), 0.75);
}

QColor tertiary(const QPalette& palette)
{
    // The faintest text that still reads (4.5:1) on either background.
    return faded(palette.color(QPalette::WindowText), 0.65);
}

QColor of(Tone tone, const QPalette& palette)
{
    return tone == Tone::Secondary ? secondary(palette) : tertiary(palette);
}

QColor accent(const QPalette& palette)
{
    return palette.color(QPalette::Highlight);
}

QColor orange(const QPalette& palette)
{
    // A lighter orange on dark windows, a deeper one on light, so the sign
    // keeps 3:1 against either.
    return isDark(palette) ? QColor(255, 159, 10) : QColor(201, 82, 0);
}

void setTone(QWidget* widget, Tone tone)
{
    widget->setProperty(toneProperty, int(tone));
    applyTone(widget, tone);
}

void retone()
{
    for (QWidget* widget : QApplication::allWidgets()) {
        const QVariant tone = widget->property(toneProperty);
        if (tone.isValid())
            applyTone(widget, Tone(tone.toInt()));
    }
}

bool isDark(const QPalette& palette)
{
    return luminance(palette.color(QPalette::Window)) <
           luminance(palette.color(QPalette::WindowText));
}

QPalette light()
{
    return made(QColor(0xf2, 0xf2, 0xf2), QColor(0x1d, 0x1d, 0x1f), Qt::white,
                QColor(0xfa, 0xfa, 0xfa), QColor(0x00, 0x5f, 0xd6), QColor(0x6e, 0x6e, 0x73),
                QColor(0x8e, 0x8e, 0x93));
}

QPalette dark()
{
    return made(QColor(0x1f, 0x1f, 0x21), QColor(0xf2, 0xf2, 0xf7), QColor(0x2c, 0x2c, 0x2e),
                QColor(0x3a, 0x3a, 0x3c), QColor(0x0a, 0x5c, 0xd6), QColor(0x9a, 0x9a, 0xa0),
                QColor(0x7c, 0x7c, 0x80));
}

QColor over(const QColor& top, const QColor& bottom)
{
    const double a = top.alphaF();
    return QColor::fromRgbF(float(top.redF() * a + bottom.redF() * (1 - a)),
                            float(top.greenF() * a + bottom.greenF() * (1 - a)),
                            float(top.blueF() * a + bottom.blueF() * (1 - a)));
}

double contrast(const QColor& a, const QColor& b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor readableOn(const QColor& preferred, const QColor& background, double minimum)
{
    if (contrast(over(preferred, background), background) >= minimum)
        return preferred;
    return contrast(Qt::black, background) >= contrast(Qt::white, background) ? QColor(Qt::black)
                                                                              : QColor(Qt::white);
}

} // namespace Palette
