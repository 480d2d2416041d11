// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/WindowShortcuts.h"

#include "platform/AppActions.h"
#include "ui/SettingsWindowController.h"

#include <QAction>
#include <QWidget>

namespace WindowShortcuts {

void install(QWidget* window)
{
    auto* settings = new QAction(window);
    settings->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Comma));
    QObject::connect(settings, &QAction::triggered,
                     [] { SettingsWindowController::shared().show(); });
    window->addAction(settings);

    auto* quit = new QAction(window);
    quit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
    QObject::connect(quit, &QAction::triggered, [] { AppActions::quit(); });
    window->addAction(quit);
}

} // namespace WindowShortcuts
