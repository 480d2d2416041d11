// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Scheduler.h"

/// Delayed tasks as single-shot Qt timers on the main thread.
class QtScheduler final : public Scheduler
{
public:
    void schedule(std::chrono::milliseconds delay, const QObject* context,
                  std::function<void()> task) override;
};
