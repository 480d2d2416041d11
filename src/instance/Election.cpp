// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/Election.h"

#include "instance/Forwarding.h"

#include <cstdio>
#include <thread>

namespace Election {

Clock& steadyClock()
{
    class Steady : public Clock
    {
    public:
        Milliseconds now() override
        {
            return std::chrono::duration_cast<Milliseconds>(
                std::chrono::steady_clock::now().time_since_epoch());
        }
        void sleep(Milliseconds duration) override { std::this_thread::sleep_for(duration); }
    };
    static Steady clock;
    return clock;
}

std::optional<int> run(InstanceLock& lock, const std::string& lockPath, const HandOver& handOver,
                       Clock& clock)
{
    const Milliseconds start = clock.now();
    while (clock.now() - start < deadline) {
        if (lock.tryAcquire(lockPath))
            return std::nullopt;
        if (const auto exitCode = Forwarding::exitCodeAfter(handOver()))
            return exitCode;
        clock.sleep(retryInterval);
    }
    std::fputs("orlim: the running Orlim does not answer\n", stderr);
    return 1;
}

} // namespace Election
