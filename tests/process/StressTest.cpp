// SPDX-License-Identifier: GPL-3.0-or-later
// Fifty `orlim` at once with none running, against the real program.
#include "ProcessFixture.h"

#include <csignal>

using Stress = ProcessFixture;

// One application, every link once; killed, the next Orlim takes over the
// socket it left behind.
TEST_F(Stress, FiftySimultaneousStarts)
{
    constexpr int count = 50;
    QList<QProcess*> processes;
    QStringList expected;
    for (int i = 0; i < count; ++i) {
        expected.append(u"https://crowd.example/" + QString::number(i));
        processes.append(start({expected.last()}));
    }
    QStringList routed;
    for (const QStringList& start : waitForChrome(count, 60000))
        routed.append(start.last());
    expected.sort();
    EXPECT_EQ(routed, expected);

    // Each `orlim` returned once its link was taken, and only the running
    // Orlim is left, or about to be.
    for (QProcess* process : processes)
        EXPECT_TRUE(process->waitForFinished(10000) && process->exitCode() == 0);
    EXPECT_TRUE(waitFor([&] { return orlims().size() == 1; }))
        << "exactly one running Orlim, not " << orlims().size();
    ASSERT_TRUE(stopOrlims(SIGKILL));
    start({u"https://after.example/"_s});
    EXPECT_EQ(waitForChrome(count + 1).size(), count + 1) << "the next Orlim took over";
}
