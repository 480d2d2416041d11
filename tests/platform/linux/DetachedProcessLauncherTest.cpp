// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DetachedProcessLauncher.h"

#include "QtPrinting.h"

#include <QCoreApplication>
#include <QThread>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>
#include <thread>

// A start fails when the program ends within five seconds with a failure
// status or by a signal; a browser that hands its link on and exits 0 has not
// failed. Real processes, on a clock the test moves: each lives as long as the
// clock says between its start and its end, whenever the main loop gets round
// to it, a minute past the end by the clock: a start that failed at once is
// still told, on the main thread, and one that ended long after its start is
// not. The test waits for the launcher to be done with each, however long the
// machine takes.
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
        const auto clock = [&] {
            const int read = ++reads;
            const int ms = read == 1 ? 0 : read == 2 ? c.endsAtMs : 60000;
            return std::chrono::steady_clock::time_point(std::chrono::milliseconds(ms));
        };
        DetachedProcessLauncher launcher(clock);
        bool failed = false;
        // Held by the launcher until it has told, or decided not to.
        auto held = std::make_shared<int>();
        const std::weak_ptr<int> told = held;
        ASSERT_TRUE(launcher.startDetached(u"/bin/sh"_s, {u"-c"_s, QString::fromUtf8(c.script)}, {},
                                           [&failed, held = std::move(held)] {
                                               EXPECT_EQ(QThread::currentThread(), qApp->thread());
                                               failed = true;
                                           }));
        while (!told.expired()) {
            QCoreApplication::processEvents();
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_EQ(failed, c.failed);
    }
}
