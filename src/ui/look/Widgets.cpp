// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/Widgets.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QToolButton>

namespace Widgets {

QFrame* divider(QWidget* parent)
{
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

QWidget* browserHeader(const QIcon& icon, const QString& name, QWidget* parent)
{
    constexpr int iconSide = 16;
    auto* header = new QWidget(parent);
    auto* line = new QHBoxLayout(header);
    line->setContentsMargins(0, 0, 0, 0);
    line->setSpacing(6);
    if (!icon.isNull()) {
        auto* image = new QLabel(header);
        image->setPixmap(icon.pixmap(QSize(iconSide, iconSide), header->devicePixelRatioF()));
        line->addWidget(image);
    }
    QLabel* label = text(name, Typography::Role::Callout, header, Palette::Tone::Secondary);
    label->setObjectName(QStringLiteral("browser"));
    line->addWidget(label, 1);
    return header;
}

QToolButton* iconButton(const QIcon& icon, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setAutoRaise(true);
    button->setIcon(icon);
    button->setIconSize(QSize(12, 12));
    button->setFocusPolicy(Qt::TabFocus);
    return button;
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
