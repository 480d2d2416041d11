// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/PlainWindowActivation.h"

#include <QWidget>

void PlainWindowActivation::present(QWidget* window, const QString&)
{
    bringToFront(window);
}

void PlainWindowActivation::bringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}
