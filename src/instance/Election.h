// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instance/InstanceLock.h"
#include "instance/LinkClient.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>

/// Who becomes the running Orlim. A process started with links either takes
/// the instance lock, or hands its links to the process that holds it; the
/// holder takes the lock before it listens, so the hand-over is tried again
/// while it starts, up to a deadline. Uses no Qt.
namespace Election {

using Milliseconds = std::chrono::milliseconds;

/// How long a holder may take to start listening.
inline constexpr Milliseconds deadline{10000};
/// The wait between two tries.
inline constexpr Milliseconds retryInterval{10};

/// The time the election reads and waits on; tests hand in a fake one.
class Clock
{
public:
    virtual ~Clock() = default;
    virtual Milliseconds now() = 0;
    virtual void sleep(Milliseconds duration) = 0;
};

/// The machine's steady clock, and a real sleep.
Clock& steadyClock();

/// One attempt at handing the links over (see Forwarding::handOver).
using HandOver = std::function<LinkClient::Result()>;

/// Nothing once `lock` holds `lockPath`: this process is the running Orlim.
/// Otherwise the exit code: 0 once the holder has the links, 1 (saying why on
/// stderr) when it took them unconfirmed or did not listen before the deadline.
std::optional<int> run(InstanceLock& lock, const std::string& lockPath, const HandOver& handOver,
                       Clock& clock);

} // namespace Election
