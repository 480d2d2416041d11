// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/look/WindowShortcuts.h"

#include <QAction>
#include <QWidget>

namespace WindowShortcuts {
namespace {

Actions actions;

void add(QWidget* window, const QKeySequence& key, std::function<void()> Actions::*what)
{
    auto* action = new QAction(window);
    action->setShortcut(key);
    QObject::connect(action, &QAction::triggered, window, [what] {
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

void setActions(Actions given)
{
    actions = std::move(given);
}

void install(QWidget* window)
{
    add(window, settingsKey(), &Actions::openSettings);
    add(window, quitKey(), &Actions::quit);
}

} // namespace WindowShortcuts
