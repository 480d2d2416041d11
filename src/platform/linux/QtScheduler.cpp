// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/QtScheduler.h"

#include <QCoreApplication>
#include <QTimer>

void QtScheduler::schedule(std::chrono::milliseconds delay, const QObject* context,
                           std::function<void()> task)
{
    // Without a context the application object stands in, so the task still runs
    // on the main thread.
    const QObject* receiver = context ? context : QCoreApplication::instance();
    if (!receiver)
        return;
    QTimer::singleShot(delay, receiver, std::move(task));
}
