// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/WaylandWindowActivation.h"

#include <QWidget>
#include <QWindow>

QString WaylandWindowActivation::tokenFor(QWidget* window)
{
    return m_activation->token(window ? window->windowHandle() : nullptr);
}

void WaylandWindowActivation::present(QWidget* window, const QString& token)
{
    bringToFront(window);
    if (!token.isEmpty())
        m_activation->activate(window->windowHandle(), token);
}
