// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of the `orlim` executable: real processes, a real socket,
// real desktop entries, a stand-in Chrome.
#include "ProcessFixture.h"

#include <QDir>
#include <QFile>
#include <sys/wait.h>
#include <unistd.h>

#include "app/LinkClient.h"
#include "app/LinkMessage.h"

using Orlim = ProcessFixture;

// The first `orlim URL` becomes the running Orlim and opens the link in
// "Default"; later ones hand over and exit at once. Chrome inherits none of
// Orlim's descriptors (the stand-in would log them), and every Chrome that
// ended is reaped.
TEST_F(Orlim, FirstLinkOpensAndLaterLinksAreHandedOver)
{
    QProcess* running = start({u"https://first.example/"_qs});
    ASSERT_TRUE(waitUntilListening());
    EXPECT_EQ(run({u"https://second.example/?a=1&b=2"_qs, u"https://third.example/"_qs}), 0);
    EXPECT_EQ(run({u"--"_qs, u"--renderer-cmd-prefix=/bin/evil"_qs}), 0);
    EXPECT_EQ(run({}), 0) << "reopen is acknowledged too";
    EXPECT_EQ(run({u"--bogus"_qs}), 2) << "an option is never handed over as a link";
    QList<QStringList> started = waitForChrome(4);
    std::sort(started.begin(), started.end());
    const QString profile = u"--profile-directory=Default"_qs;
    EXPECT_EQ(started, (QList<QStringList>{
                           {profile, u"--"_qs, u"--renderer-cmd-prefix=/bin/evil"_qs},
                           {profile, u"https://first.example/"_qs},
                           {profile, u"https://second.example/?a=1&b=2"_qs},
                           {profile, u"https://third.example/"_qs},
                       }));
    EXPECT_EQ(running->state(), QProcess::Running);
    EXPECT_TRUE(waitFor([&] { // every Chrome that ended was reaped
        QFile children(u"/proc/%1/task/%1/children"_qs.arg(running->processId()));
        return children.open(QIODevice::ReadOnly) && children.readAll().isEmpty();
    }));
}

// Link bytes that are not UTF-8 reach Chrome unchanged through both doors.
TEST_F(Orlim, LinksReachChromeByteForByte)
{
    // Not UTF-8; then a zero-width no-break space (U+FEFF, once dropped as a byte order mark).
    for (const char* link :
         {"http://x/\\351", "http://y/\\377\\303(\\355\\240\\200\\357\\273\\277"})
        start({u"-c"_qs, u"exec " ORLIM_EXECUTABLE " \"$(printf '"_qs + QString::fromLatin1(link) +
                             u"')\""_qs},
              u"/bin/sh"_qs);
    ASSERT_EQ(waitForChrome(2).size(), 2);
    const QByteArray bytes = readLog(u"chrome.log"_qs);
    EXPECT_TRUE(bytes.contains("\x1fhttp://x/\xe9\x1f\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\x1fhttp://y/\xff\xc3(\xed\xa0\x80\xef\xbb\xbf\x1f\n"))
        << bytes.toStdString();
}

// An Orlim that cannot listen gives up the lock, so the next link starts an
// Orlim of its own instead of waiting for one that cannot hear it.
TEST_F(Orlim, NoDoorNoLock)
{
    QDir().mkpath(socketPath()); // nothing can be bound there
    start({u"https://first.example/"_qs});
    ASSERT_EQ(waitForChrome(1).size(), 1);
    start({u"https://second.example/"_qs});
    EXPECT_EQ(waitForChrome(2).value(1).last(), u"https://second.example/"_qs);
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
    const pid_t child = fork();
    if (child == 0) { // as "nobody"
        if (setgid(65534) != 0 || setuid(65534) != 0)
            _exit(100);
        _exit(
            int(LinkClient::send(socket, LinkMessage::encode({"https://foreign.example/"}), 2000)));
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 100);
    const auto result = LinkClient::Result(WEXITSTATUS(status));
    EXPECT_TRUE(result != LinkClient::Result::NoListener && result != LinkClient::Result::Delivered)
        << "the socket was reached and the link refused: " << int(result);
    EXPECT_EQ(run({u"https://own.example/"_qs}), 0);
    EXPECT_EQ(waitForChrome(1).value(0).last(), u"https://own.example/"_qs)
        << "only the user's own link was routed";
}

// Misuse is refused with the reason; the default browser is set only when
// Orlim's entry is installed, and a refusal is not reported as success.
TEST_F(Orlim, OptionsAndMisuse)
{
    QString out, err;
    EXPECT_EQ(run({u"https://a.example/"_qs, u"--version"_qs}, &out, &err), 2);
    EXPECT_EQ(err, u"orlim: links cannot be combined with an option\nTry 'orlim --help'.\n"_qs);
    EXPECT_EQ(run({u"--make-default-browser"_qs}, &out, &err), 1) << "not installed: refused";
    EXPECT_TRUE(out.contains(u"not the default"_qs)) << out.toStdString();
    EXPECT_TRUE(err.contains(u"is orlim.desktop installed?"_qs)) << err.toStdString();

    installEntry(u"orlim.desktop"_qs, ORLIM_EXECUTABLE " %U");
    EXPECT_EQ(run({u"--make-default-browser"_qs}, &out, &err), 0) << err.toStdString();
    EXPECT_EQ(out, u"Orlim is the default web browser.\n"_qs);
    const QByteArray list = readLog(u"config/mimeapps.list"_qs);
    EXPECT_TRUE(list.contains("x-scheme-handler/http=orlim.desktop")) << list.toStdString();
    EXPECT_TRUE(list.contains("x-scheme-handler/https=orlim.desktop")) << list.toStdString();
}
