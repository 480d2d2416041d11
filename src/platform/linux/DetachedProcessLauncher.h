// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <chrono>
#include <memory>

class ExitWatcher;

/// Starts programs with posix_spawn and watches each one's end on a thread of
/// its own, which reads the clock the moment the process ends: a start told as
/// failed by how long the process lived is told right however busy the main
/// loop is when it gets round to it.
class DetachedProcessLauncher final : public ProcessLauncher
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    /// Reads the time from `clock`, from any thread.
    explicit DetachedProcessLauncher(Clock clock = &std::chrono::steady_clock::now);
    ~DetachedProcessLauncher() override;

    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& activationToken, std::function<void()> failed) override;

    /// Whether a process that ended with `status` (as `waitpid` gives it)
    /// `lived` after its start failed to start.
    static bool failedToStart(int status, std::chrono::milliseconds lived);

private:
    Clock m_clock;
    std::unique_ptr<ExitWatcher> m_watcher; // made with the first start
};
