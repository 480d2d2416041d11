// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/Election.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using Result = LinkClient::Result;

/// Time that moves only when the election waits; the holder lets go of the
/// lock once its moment has come.
struct FakeClock : Election::Clock
{
    FakeClock(InstanceLock& lock, Election::Milliseconds at) : holder(lock), diesAt(at) {}
    Election::Milliseconds now() override { return m_now; }
    void sleep(Election::Milliseconds duration) override
    {
        if ((m_now += duration) >= diesAt)
            holder.release();
    }
    InstanceLock& holder;
    Election::Milliseconds diesAt, m_now{0};
};

// A process started with links against a holder of the lock in each state it
// can be in: it waits for a holder that listens late, takes over from one
// that dies, gives up on one that never listens, and never sends twice.
TEST(Election, AgainstEachHolder)
{
    constexpr auto never = Election::Milliseconds::max();
    const struct
    {
        const char* holder;
        Election::Milliseconds diesAt, listensAt; // diesAt below 0: no holder at all
        Result answer;
        std::optional<int> exitCode; // nothing: this process is elected
        Election::Milliseconds endsAt;
        int handOvers; // one try every 10 ms
    } cases[] = {
        {"none", -1ms, never, Result::Delivered, std::nullopt, 0ms, 0},
        {"listens late", never, 3000ms, Result::Delivered, 0, 3000ms, 301},
        {"never listens", never, never, Result::Delivered, 1, 10000ms, 1000},
        {"dies before listening", 2000ms, never, Result::Delivered, std::nullopt, 2000ms, 200},
        {"listens, but its socket fails", never, 50ms, Result::Failed, 1, 10000ms, 1000},
        {"takes the links unconfirmed", never, 40ms, Result::Unconfirmed, 1, 40ms, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holder);
        QTemporaryDir dir;
        const std::string path = dir.filePath(QStringLiteral("instance.lock")).toStdString();
        InstanceLock holder;
        ASSERT_TRUE(c.diesAt < 0ms || holder.tryAcquire(path));
        FakeClock clock(holder, c.diesAt);
        int handOvers = 0;
        InstanceLock lock;
        const auto exitCode = Election::run(
            lock, path,
            [&] {
                ++handOvers;
                return clock.now() >= c.listensAt ? c.answer : Result::NoListener;
            },
            clock);
        EXPECT_EQ(exitCode, c.exitCode);
        EXPECT_EQ(lock.isHeld(), !c.exitCode.has_value());
        EXPECT_EQ(clock.now(), c.endsAt);
        EXPECT_EQ(handOvers, c.handOvers);
    }
}
