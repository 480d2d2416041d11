// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window/TitleBar.h"

#include "ui/look/Palette.h"
#include "ui/look/Typography.h"
#include "ui/look/Widgets.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QToolButton>
#include <QWindow>

namespace {

constexpr int barHeight = 34;
constexpr int buttonSide = barHeight - 8;

QToolButton* button(const QString& glyph, const QString& name, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setText(glyph);
    b->setAccessibleName(name);
    b->setToolTip(name);
    b->setAutoRaise(true);
    // The keyboard stays with the window's content.
    b->setFocusPolicy(Qt::NoFocus);
    b->setFixedSize(buttonSide, buttonSide);
    return b;
}

} // namespace

TitleBar::TitleBar(const QString& title, bool minimisable, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("titleBar"));
    setFixedHeight(barHeight);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(8, 0, 6, 0);
    row->setSpacing(2);
    // Buttons on the right, and as much room on the left, so the title stays centred.
    const int buttons = minimisable ? 2 : 1;
    row->addSpacing(buttons * buttonSide + (buttons - 1) * row->spacing());
    QLabel* label = Widgets::text(title, Typography::Role::Callout, this);
    label->setAlignment(Qt::AlignCenter);
    row->addWidget(label, 1);
    if (minimisable) {
        QToolButton* minimise = button(QStringLiteral("–"), QStringLiteral("最小化"), this);
        connect(minimise, &QToolButton::clicked, this, [this] { window()->showMinimized(); });
        row->addWidget(minimise);
    }
    QToolButton* close = button(QStringLiteral("✕"), QStringLiteral("閉じる"), this);
    connect(close, &QToolButton::clicked, this, [this] { window()->close(); });
    row->addWidget(close);
}

void TitleBar::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && window()->windowHandle())
        window()->windowHandle()->startSystemMove();
    QWidget::mousePressEvent(event);
}
