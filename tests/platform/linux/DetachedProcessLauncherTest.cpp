// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DetachedProcessLauncher.h"

#include "QtPrinting.h"

#include <QTest>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

// A start fails when the program ends within five seconds with a failure
// status or by a signal; a browser that hands its link on and exits 0 has not
// failed. Real processes, on a clock the test moves: each lives as long as the
// clock says between its start and its end, whenever the main loop gets round
// to it. The loop is busy a minute past each end: a start that failed at once
// is still told, and one that ended long after its start is not.
TEST(DetachedProcessLauncher, TheEndIsWhenTheProcessEnded)
{
    const struct
    {
        const char* script;
        int endsAtMs; // on the test's clock
        bool failed;
    } cases[] = {
        {"exit 0", 100, false}, {"exit 2", 1000, true},  {"kill -9 $$", 4999, true},
        {"exit 127", 0, true},  {"exit 1", 5000, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.script);
        std::atomic<int> reads = 0;
        std::atomic<bool> busy = false;
        const auto clock = [&] {
            const int read = ++reads;
            const int ms = busy ? 60000 : read == 1 ? 0 : c.endsAtMs;
            return std::chrono::steady_clock::time_point(std::chrono::milliseconds(ms));
        };
        DetachedProcessLauncher launcher(clock);
        bool failed = false;
        ASSERT_TRUE(launcher.startDetached(u"/bin/sh"_s, {u"-c"_s, QString::fromUtf8(c.script)}, {},
                                           [&failed] { failed = true; }));
        // Without the loop: the clock is read as the process ends.
        for (int i = 0; i < 1000 && reads < 2; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        busy = true;
        EXPECT_EQ(QTest::qWaitFor([&] { return failed; }, c.failed ? 10000 : 300), c.failed);
    }
}
