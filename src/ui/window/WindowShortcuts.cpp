// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/window/WindowShortcuts.h"

#include <QAction>
#include <QWidget>

namespace WindowShortcuts {
namespace {

void add(QWidget* window, const QKeySequence& key, const Actions& actions,
         std::function<void()> Actions::*what)
{
    auto* action = new QAction(window);
    action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, window, [&actions, what] {
        if (const auto& run = actions.*what)
            run();
    });
    window->addAction(action);
}

} // namespace

QKeySequence settingsKey()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Comma);
}

QKeySequence quitKey()
{
    return QKeySequence(Qt::CTRL | Qt::Key_Q);
}

void install(QWidget* window, const Actions& actions)
{
    add(window, settingsKey(), actions, &Actions::openSettings);
    add(window, quitKey(), actions, &Actions::quit);
}

} // namespace WindowShortcuts
