// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/Widgets.h"

#include <QFrame>
#include <QLabel>

namespace Widgets {

QFrame* divider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QLabel* text(const QString& text, Typography::Role role, QWidget* parent,
             std::optional<Palette::Tone> tone)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    label->setFont(Typography::font(role));
    if (tone)
        Palette::setTone(label, *tone);
    return label;
}

QString plainToolTip(const QString& text)
{
    return u"<p style=\"white-space:pre-wrap\">" + text.toHtmlEscaped() + u"</p>";
}

} // namespace Widgets
