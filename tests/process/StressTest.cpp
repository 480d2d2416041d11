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

    // Each hand-over was acknowledged after its link was routed, so only the
    // running Orlim is left, or about to be.
    QList<QProcess*> running;
    EXPECT_TRUE(waitFor([&] {
        running.clear();
        for (QProcess* process : processes) {
            if (process->state() != QProcess::NotRunning && !process->waitForFinished(5))
                running.append(process);
        }
        return running.size() == 1;
    })) << "exactly one running Orlim";
    for (QProcess* process : processes)
        EXPECT_TRUE(process->state() != QProcess::NotRunning || process->exitCode() == 0);
    ASSERT_EQ(running.size(), 1);
    ::kill(pid_t(running[0]->processId()), SIGKILL);
    running[0]->waitForFinished(5000);
    start({u"https://after.example/"_s});
    EXPECT_EQ(waitForChrome(count + 1).size(), count + 1) << "the next Orlim took over";
}
