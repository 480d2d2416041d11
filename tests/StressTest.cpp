// Bursts, crowds, hostile clients and a crash, against the real `orlim`:
// bounded in count and time.
#include "app/LinkClient.h"
#include "app/LinkMessage.h"

#include "ProcessFixture.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QLocalSocket>
#include <csignal>
#include <set>

using Stress = ProcessFixture;

namespace {

LinkClient::Result send(const QString& socketPath, const QString& link)
{
    return LinkClient::send(socketPath.toStdString(), LinkMessage::encode({link.toStdString()}),
                            10000);
}

QStringList linksOf(const QList<QStringList>& starts)
{
    QStringList links;
    for (const QStringList& start : starts)
        links.append(start.last());
    return links;
}

} // namespace

// A thousand links handed over as fast as one sender can: each routed once, in order.
TEST_F(Stress, BurstOfLinksIsRoutedInOrder)
{
    start({});
    ASSERT_TRUE(waitUntilListening());
    QStringList sent;
    for (int i = 0; i < 1000; ++i) {
        sent.append(u"https://burst.example/" + QString::number(i));
        ASSERT_EQ(send(socketPath(), sent.last()), LinkClient::Result::Delivered) << i;
    }
    EXPECT_EQ(linksOf(waitForChrome(1000, 60000)), sent);
}

// Fifty at once with none running: one application, every link once.
TEST_F(Stress, FiftySimultaneousStarts)
{
    constexpr int count = 50;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < count; ++i) {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment());
        process->setProgram(QStringLiteral(ORLIM_EXECUTABLE));
        process->setArguments({u"https://crowd.example/" + QString::number(i)});
        processes.push_back(std::move(process));
    }
    for (auto& process : processes)
        process->start();
    QStringList routed = linksOf(waitForChrome(count, 60000));
    routed.sort();
    QStringList expected;
    for (int i = 0; i < count; ++i)
        expected.append(u"https://crowd.example/" + QString::number(i));
    expected.sort();
    EXPECT_EQ(routed, expected);

    // Each hand-over was acknowledged before its link was routed, so only the
    // running Orlim is left, or about to be.
    const QDeadlineTimer deadline(10000);
    int running = count;
    while (running > 1 && !deadline.hasExpired()) {
        running = 0;
        for (auto& process : processes) {
            process->waitForFinished(5);
            running += process->state() == QProcess::NotRunning ? 0 : 1;
        }
    }
    EXPECT_EQ(running, 1) << "exactly one running Orlim";
    for (auto& process : processes) {
        if (process->state() == QProcess::NotRunning) {
            EXPECT_EQ(process->exitCode(), 0);
        }
        process->kill();
        process->waitForFinished(5000);
    }
}

// Silent, garbage and endless clients between good links: the good links are
// still acknowledged at once and routed in order.
TEST_F(Stress, HostileClientsInterleaved)
{
    start({});
    ASSERT_TRUE(waitUntilListening());
    std::vector<std::unique_ptr<QLocalSocket>> hostile;
    QStringList sent;
    for (int i = 0; i < 30; ++i) {
        auto socket = std::make_unique<QLocalSocket>();
        socket->connectToServer(socketPath());
        ASSERT_TRUE(socket->waitForConnected(2000));
        switch (i % 3) {
        case 0: // says nothing
            break;
        case 1:
            socket->write("\x16\x03\x01 not a link message at all");
            break;
        case 2: // a link that never ends, larger than any message may be
            socket->write(QByteArray("ORLIM/1\nU\x00\x7f\xff\xff", 13));
            socket->write(QByteArray(2 * 1024 * 1024, 'x'));
            break;
        }
        socket->flush();
        hostile.push_back(std::move(socket));
        sent.append(u"https://good.example/" + QString::number(i));
        ASSERT_EQ(send(socketPath(), sent.last()), LinkClient::Result::Delivered) << i;
    }
    EXPECT_EQ(linksOf(waitForChrome(30)), sent);
}

// The running Orlim killed in the middle of a burst: every link it acknowledged
// was routed, and the next Orlim takes over.
TEST_F(Stress, KilledMidBurst)
{
    QProcess* first = start({});
    ASSERT_TRUE(waitUntilListening());
    QStringList acknowledged;
    bool killed = false;
    for (int i = 0; i < 200; ++i) {
        const QString link = u"https://crash.example/" + QString::number(i);
        if (i == 100) {
            ::kill(pid_t(first->processId()), SIGKILL);
            first->waitForFinished(5000);
            killed = true;
        }
        LinkClient::Result result = send(socketPath(), link);
        if (result != LinkClient::Result::Delivered && killed) {
            start({});
            ASSERT_TRUE(waitUntilListening());
            killed = false;
            result = send(socketPath(), link);
        }
        if (result == LinkClient::Result::Delivered)
            acknowledged.append(link);
    }
    EXPECT_GE(acknowledged.size(), 199);
    const QStringList routed = linksOf(waitForChrome(int(acknowledged.size()), 30000));
    const std::set<QString> routedSet(routed.begin(), routed.end());
    for (const QString& link : acknowledged)
        EXPECT_TRUE(routedSet.count(link)) << link.toStdString();
}
