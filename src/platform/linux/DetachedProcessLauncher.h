// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ProcessLauncher.h"

#include <chrono>

class DetachedProcessLauncher final : public ProcessLauncher
{
public:
    bool startDetached(const QString& program, const QStringList& arguments,
                       const QString& activationToken, std::function<void()> failed) override;

    /// Whether a process that ended with `status` (as `waitpid` gives it)
    /// `lived` after its start failed to start.
    static bool failedToStart(int status, std::chrono::milliseconds lived);
};
