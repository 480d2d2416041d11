// Fifty `orlim` at once with none running, against the real program: bounded
// in count and time.
#include "ProcessFixture.h"

#include <QDeadlineTimer>
#include <csignal>

using Stress = ProcessFixture;

// One application, every link once; killed, the next Orlim takes over the
// socket it left behind.
TEST_F(Stress, FiftySimultaneousStarts)
{
    constexpr int count = 50;
    std::vector<std::unique_ptr<QProcess>> processes;
    QStringList expected;
    for (int i = 0; i < count; ++i) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->setProgram(QStringLiteral(ORLIM_EXECUTABLE));
        expected.append(u"https://crowd.example/" + QString::number(i));
        process->setArguments({expected.last()});
        processes.push_back(std::move(process));
    }
    for (auto& process : processes)
        process->start();
    QStringList routed;
    for (const QStringList& start : waitForChrome(count, 60000))
        routed.append(start.last());
    routed.sort();
    expected.sort();
    EXPECT_EQ(routed, expected);

    // Each hand-over was acknowledged after its link was routed, so only the
    // running Orlim is left, or about to be.
    QProcess* running = nullptr;
    EXPECT_TRUE(waitFor([&] {
        int alive = 0;
        for (auto& process : processes) {
            if (process->state() != QProcess::NotRunning && !process->waitForFinished(5)) {
                ++alive;
                running = process.get();
            }
        }
        return alive == 1;
    })) << "exactly one running Orlim";
    for (auto& process : processes)
        EXPECT_TRUE(process->state() != QProcess::NotRunning || process->exitCode() == 0);
    ASSERT_TRUE(running);
    ::kill(pid_t(running->processId()), SIGKILL);
    running->waitForFinished(5000);
    start({u"https://after.example/"_qs});
    EXPECT_EQ(waitForChrome(count + 1).size(), count + 1) << "the next Orlim took over";
    for (auto& process : processes)
        process->kill();
}
