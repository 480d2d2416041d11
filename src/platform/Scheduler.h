// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <chrono>
#include <functional>

/// Runs work later on the main loop. It exists so that every delayed task (the
/// launch check, Chrome activation polling, the default-browser follow-up) can
/// be driven by a fake clock in tests instead of waiting in real time.
class Scheduler
{
public:
    virtual ~Scheduler() = default;

    /// Runs `task` on the main thread once `delay` has passed. When `context` is
    /// given and has been destroyed by then, the task is dropped unrun.
    virtual void schedule(std::chrono::milliseconds delay, const QObject* context,
                          std::function<void()> task) = 0;
};
