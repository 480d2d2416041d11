// End-to-end tests of the `orlim` executable: real processes, a real socket,
// real desktop entries, a stand-in Chrome.
#include "ProcessFixture.h"

#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <algorithm>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/InstanceLock.h"
#include "app/LinkClient.h"
#include "app/LinkMessage.h"

namespace {

QStringList chromeArgs(const QString& directory, const QString& url)
{
    return {u"--profile-directory=" + directory, url};
}

} // namespace

/// Children of `parent` that have ended but were never waited for.
int zombieChildren(qint64 parent)
{
    int zombies = 0;
    for (const QString& entry : QDir(u"/proc"_qs).entryList(QDir::Dirs)) {
        QFile stat(u"/proc/" + entry + u"/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // "pid (comm) state ppid ...": read past the last ')' as comm may hold anything.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 1 && fields[0] == "Z" && fields[1].toLongLong() == parent)
            ++zombies;
    }
    return zombies;
}

using Orlim = ProcessFixture;

// The first `orlim URL` becomes the running Orlim and opens the link in
// "Default"; later ones hand over and exit at once.
TEST_F(Orlim, FirstLinkOpensAndLaterLinksAreHandedOver)
{
    QProcess* running = start({u"https://first.example/"_qs});
    ASSERT_TRUE(waitUntilListening());
    ASSERT_EQ(waitForChrome(1),
              QList<QStringList>{chromeArgs(u"Default"_qs, u"https://first.example/"_qs)});
    EXPECT_EQ(running->state(), QProcess::Running);

    EXPECT_EQ(run({u"https://second.example/?a=1&b=2"_qs, u"https://third.example/"_qs}, nullptr,
                  nullptr, 1000),
              0);
    EXPECT_EQ(run({u"--"_qs, u"--renderer-cmd-prefix=/bin/evil"_qs, u" -x"_qs}), 0);
    EXPECT_EQ(run({}), 0) << "reopen is acknowledged too";
    QList<QStringList> expected{
        chromeArgs(u"Default"_qs, u"https://first.example/"_qs),
        chromeArgs(u"Default"_qs, u"https://second.example/?a=1&b=2"_qs),
        chromeArgs(u"Default"_qs, u"https://third.example/"_qs),
        {u"--profile-directory=Default"_qs, u"--"_qs, u"--renderer-cmd-prefix=/bin/evil"_qs},
        {u"--profile-directory=Default"_qs, u"--"_qs, u" -x"_qs},
    };
    QList<QStringList> started = waitForChrome(5);
    std::sort(started.begin(), started.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(started, expected) << "each once, and no descriptor of Orlim's inherited";
    EXPECT_EQ(running->state(), QProcess::Running);
    EXPECT_TRUE(waitFor([&] { return zombieChildren(running->processId()) == 0; }))
        << "every Chrome that ended was reaped";
}

// Link bytes that are not UTF-8 reach Chrome unchanged through both doors.
TEST_F(Orlim, LinksReachChromeByteForByte)
{
    const auto startWithBytes = [this](const char* printfLink) {
        auto* process = new QProcess;
        process->setProcessEnvironment(environment());
        process->start(u"/bin/sh"_qs, {u"-c"_qs,
                                       u"exec \"$0\" \"$(printf '"_qs +
                                           QString::fromLatin1(printfLink) + u"')\""_qs,
                                       QStringLiteral(ORLIM_EXECUTABLE)});
        return process;
    };
    std::unique_ptr<QProcess> first(startWithBytes("http://x/\\351"));
    ASSERT_EQ(waitForChrome(1).size(), 1);
    // Not UTF-8, then a zero-width no-break space (U+FEFF, once dropped as a byte order mark).
    std::unique_ptr<QProcess> second(
        startWithBytes("http://y/\\377\\303(\\355\\240\\200\\357\\273\\277"));
    ASSERT_TRUE(second->waitForFinished(10000));
    ASSERT_EQ(waitForChrome(2).size(), 2);
    const QByteArray bytes = readLog(u"chrome.log"_qs);
    EXPECT_TRUE(bytes.contains("\x1fhttp://x/\xe9\x1f\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\x1fhttp://y/\xff\xc3(\xed\xa0\x80\xef\xbb\xbf\x1f\n"))
        << bytes.toStdString();
    first->kill();
    first->waitForFinished();
}

// An Orlim that cannot listen gives up the lock, so the next link starts an
// Orlim of its own instead of waiting for one that cannot hear it.
TEST_F(Orlim, NoDoorNoLock)
{
    QDir().mkpath(socketPath()); // nothing can be bound there
    start({u"https://first.example/"_qs});
    ASSERT_EQ(waitForChrome(1).size(), 1);
    start({u"https://second.example/"_qs});
    EXPECT_EQ(waitForChrome(2).value(1), chromeArgs(u"Default"_qs, u"https://second.example/"_qs));
}

// A running Orlim that takes a message and never answers (busy, or gone right
// after reading) gets it once: the sender never sends the link again.
TEST_F(Orlim, ALinkIsSentAtMostOnce)
{
    QDir().mkpath(path(u"runtime/orlim"_qs));
    InstanceLock lock;
    ASSERT_TRUE(lock.tryAcquire(path(u"runtime/orlim/instance.lock"_qs).toStdString()));
    const int busy = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, QFile::encodeName(socketPath()).constData());
    ASSERT_EQ(::bind(busy, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(busy, 8), 0);

    QProcess* sender = start({u"https://once.example/"_qs});
    int messages = 0;
    for (;;) {
        pollfd incoming{busy, POLLIN, 0};
        if (::poll(&incoming, 1, 50) <= 0) {
            if (sender->waitForFinished(0) || sender->state() == QProcess::NotRunning)
                break;
            continue;
        }
        const int connection = ::accept4(busy, nullptr, nullptr, SOCK_CLOEXEC);
        LinkMessage::Reader reader;
        char buffer[4096];
        ssize_t n;
        while (reader.state() == LinkMessage::Reader::State::Incomplete &&
               (n = ::recv(connection, buffer, sizeof(buffer), 0)) > 0)
            reader.feed(buffer, size_t(n));
        messages += reader.state() == LinkMessage::Reader::State::Complete;
        ::close(connection); // unanswered
    }
    ::close(busy);
    EXPECT_EQ(messages, 1);
    EXPECT_EQ(sender->exitCode(), 1);
    EXPECT_TRUE(sender->readAllStandardError().contains("not sent again"));
}

// Even with the folder and socket opened up by mistake, another user's link is
// refused: the peer's credentials are checked.
TEST_F(Orlim, AnotherUsersLinkIsRefused)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    start({});
    ASSERT_TRUE(waitUntilListening());
    for (const QString& folder : {path(QString()), path(u"runtime"_qs), path(u"runtime/orlim"_qs)})
        QFile::setPermissions(folder, QFile::Permissions(0x7755));
    QFile::setPermissions(socketPath(), QFile::Permissions(0x7777));

    const std::string socket = socketPath().toStdString();
    const std::string message = LinkMessage::encode({"https://foreign.example/"});
    const pid_t child = fork();
    if (child == 0) { // as "nobody"
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(100);
        _exit(int(LinkClient::send(socket, message, 2000)));
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 100);
    const auto result = LinkClient::Result(WEXITSTATUS(status));
    EXPECT_NE(result, LinkClient::Result::NoListener) << "the socket was reached";
    EXPECT_NE(result, LinkClient::Result::Delivered);
    EXPECT_EQ(run({u"https://own.example/"_qs}), 0);
    EXPECT_EQ(waitForChrome(1),
              QList<QStringList>{chromeArgs(u"Default"_qs, u"https://own.example/"_qs)})
        << "only the user's own link was routed";
}

TEST_F(Orlim, MakeDefaultBrowser)
{
    QString out, err;
    EXPECT_EQ(run({u"--make-default-browser"_qs}, &out, &err), 1) << "not installed: refused";
    EXPECT_TRUE(out.contains(u"not the default"_qs)) << out.toStdString();
    EXPECT_TRUE(err.contains(u"is orlim.desktop installed?"_qs)) << err.toStdString();

    installOrlimDesktopEntry();
    EXPECT_EQ(run({u"--make-default-browser"_qs}, &out, &err), 0) << err.toStdString();
    EXPECT_EQ(out, u"Orlim is the default web browser.\n"_qs);
    const QByteArray list = readLog(u"config/mimeapps.list"_qs);
    EXPECT_TRUE(list.contains("x-scheme-handler/http=orlim.desktop")) << list.toStdString();
    EXPECT_TRUE(list.contains("x-scheme-handler/https=orlim.desktop")) << list.toStdString();
}
