// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/LinkLabel.h"

#include "ui/Widgets.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QShortcut>

LinkLabel::LinkLabel(const QString& url, const QString& shown, QWidget* parent)
    : QLabel(parent), m_url(url)
{
    setTextFormat(Qt::PlainText);
    setText(shown);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setToolTip(Widgets::plainToolTip(url));
    // The label never takes the keyboard (the picker keeps it), so copying by
    // key is a shortcut of the window's.
    auto* copy = new QShortcut(QKeySequence::Copy, this);
    copy->setContext(Qt::WindowShortcut);
    connect(copy, &QShortcut::activated, this, [this] {
        if (hasSelectedText())
            QGuiApplication::clipboard()->setText(m_url);
    });
}

void LinkLabel::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.addAction(QStringLiteral("コピー"), this,
                   [this] { QGuiApplication::clipboard()->setText(m_url); });
    menu.exec(event->globalPos());
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (hasSelectedText() && clipboard->supportsSelection())
        clipboard->setText(m_url, QClipboard::Selection);
}
