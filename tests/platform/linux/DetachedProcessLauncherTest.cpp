// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DetachedProcessLauncher.h"

#include "QtPrinting.h"

#include <QTest>
#include <gtest/gtest.h>
#include <sys/wait.h>

using namespace std::chrono_literals;

// A start fails when the program ends soon with a failure status or by a
// signal; a browser that hands its link on and exits 0 has not failed, nor
// has one that ends later.
TEST(DetachedProcessLauncher, TellsAFailedStart)
{
    const auto exited = [](int code) { return code << 8; }; // as waitpid() gives it
    const struct
    {
        int status;
        std::chrono::milliseconds lived;
        bool failed;
    } cases[] = {
        {exited(0), 0ms, false},  {exited(1), 0ms, true},     {exited(2), 10ms, true},
        {exited(126), 0ms, true}, {exited(127), 0ms, true},   {SIGKILL, 100ms, true},
        {SIGSEGV, 4999ms, true},  {exited(1), 5000ms, false}, {SIGTERM, 60000ms, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.status << " after " << c.lived.count() << " ms");
        EXPECT_EQ(DetachedProcessLauncher::failedToStart(c.status, c.lived), c.failed);
    }

    // Real processes: told once each, for those that failed only.
    DetachedProcessLauncher launcher;
    QStringList failed;
    for (const QString& script : {u"exit 0"_s, u"exit 2"_s, u"kill -9 $$"_s, u"exit 127"_s}) {
        ASSERT_TRUE(launcher.startDetached(u"/bin/sh"_s, {u"-c"_s, script}, {},
                                           [&failed, script] { failed.append(script); }));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return failed.size() == 3; }, 10000));
    failed.sort();
    EXPECT_EQ(failed, (QStringList{u"exit 127"_s, u"exit 2"_s, u"kill -9 $$"_s}));
}
