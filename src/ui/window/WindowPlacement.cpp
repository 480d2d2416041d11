// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window/WindowPlacement.h"

#include "platform/WindowActivation.h"
#include "ui/look/Accessibility.h"
#include "ui/window/TitleBar.h"
#include "ui/window/WindowShortcuts.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>

namespace WindowPlacement {

void centreOnPointerScreen(QWidget* window)
{
    QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect available = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    frame.moveCenter(available.center());
    // A window larger than the screen keeps its title bar on screen.
    window->move(std::max(frame.left(), available.left()), std::max(frame.top(), available.top()));
}

void replaceContent(QWidget* window, QWidget* content)
{
    QLayout* layout = window->layout();
    if (!layout) {
        layout = new QVBoxLayout(window);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        layout->setSizeConstraint(QLayout::SetFixedSize);
    }
    // Orlim's own title bar, where there is one, stays on top.
    auto* titleBar = window->findChild<TitleBar*>(QString(), Qt::FindDirectChildrenOnly);
    while (QLayoutItem* item = layout->takeAt(titleBar ? 1 : 0)) {
        if (QWidget* old = item->widget()) {
            old->hide();
            old->deleteLater();
        }
        delete item;
    }
    // Its size settled now, so that the window is placed for it.
    content->adjustSize();
    layout->addWidget(content);
    // A window on screen shows its new content at once, not a turn later.
    if (window->isVisible())
        content->show();
    window->setFixedSize(content->width(), content->height() + (titleBar ? titleBar->height() : 0));
}

void Presenter::place(QPointer<QWidget>& window, const WindowStyle& style, QWidget* content) const
{
    if (!window) {
        // Where Orlim draws its own title bar, the window asks for no other,
        // neither Qt's nor the compositor's (KWin's would sit above Orlim's);
        // elsewhere, for the desktop's with only the buttons that apply.
        Qt::WindowFlags flags = Qt::Window | Qt::WindowStaysOnTopHint;
        if (ownTitleBar)
            flags |= Qt::FramelessWindowHint;
        else
            flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint |
                     (style.minimisable ? Qt::WindowMinimizeButtonHint : Qt::WindowType{});
        window = new QWidget(nullptr, flags);
        if (ownTitleBar) {
            auto* layout = new QVBoxLayout(window);
            layout->setContentsMargins(0, 0, 0, 0);
            layout->setSpacing(0);
            layout->setSizeConstraint(QLayout::SetFixedSize);
            layout->addWidget(
                new TitleBar(QString::fromUtf16(style.title), style.minimisable, window));
        }
        window->setWindowTitle(QString::fromUtf16(style.title));
        window->setObjectName(QString::fromUtf16(style.objectName));
        Accessibility::setRole(window, QAccessible::Dialog);
        if (keys)
            WindowShortcuts::install(window, *keys);
    }
    if (content)
        replaceContent(window, content);
    // Placed at the size it shows at, not the one it had before its rows changed.
    if (QLayout* layout = window->layout())
        layout->activate();
    centreOnPointerScreen(window);
}

void Presenter::present(QPointer<QWidget>& window, const WindowStyle& style, QWidget* content,
                        const QString& activationToken) const
{
    place(window, style, content);
    activation.present(window, activationToken);
}

void Presenter::showQuietly(QPointer<QWidget>& window, const WindowStyle& style,
                            QWidget* content) const
{
    place(window, style, content);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    window->setAttribute(Qt::WA_ShowWithoutActivating, false);
}

} // namespace WindowPlacement
