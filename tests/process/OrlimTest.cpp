// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of the `orlim` executable: real processes, a real socket,
// real desktop entries, a stand-in Chrome.
#include "ProcessFixture.h"

#include <QDir>
#include <QFile>
#include <sys/wait.h>
#include <unistd.h>

#include "instance/LinkClient.h"
#include "instance/LinkMessage.h"

using Orlim = ProcessFixture;

// The first `orlim URL` starts the running Orlim, which opens the link in
// "Default" of the browser its entry runs; later ones hand over. Each returns
// once its links are taken. Chrome inherits none of Orlim's descriptors (the
// stand-in would log them), every Chrome that ended is reaped, and no
// descriptor is left open per link routed.
TEST_F(Orlim, FirstLinkOpensAndLaterLinksAreHandedOver)
{
    // Chrome's entry as users edit it: an `env` prefix, a path with a space,
    // a flag of their own.
    const QString spaced = path(u"opt/My Browser/chrome"_s);
    QDir().mkpath(path(u"opt/My Browser"_s));
    ASSERT_TRUE(QFile::copy(QStringLiteral(FAKE_CHROME_EXECUTABLE), spaced));
    installEntry(u"google-chrome.desktop"_s, "env A=b \"" + spaced.toUtf8() + "\" --flag %U");
    ASSERT_EQ(run({u"https://first.example/"_s}), 0);
    EXPECT_EQ(run({u"https://second.example/?a=1&b=2"_s, u"https://third.example/"_s}), 0);
    EXPECT_EQ(run({u"--"_s, u"--renderer-cmd-prefix=/bin/evil"_s}), 0);
    EXPECT_EQ(run({}), 0) << "reopen is acknowledged too";
    EXPECT_EQ(run({u"--bogus"_s}), 2) << "an option is never handed over as a link";
    const QList<QStringList> started = waitForChrome(4);
    const QString flag = u"--flag"_s, profile = u"--profile-directory=Default"_s;
    EXPECT_EQ(started, (QList<QStringList>{
                           {flag, profile, u"--"_s, u"--renderer-cmd-prefix=/bin/evil"_s},
                           {flag, profile, u"https://first.example/"_s},
                           {flag, profile, u"https://second.example/?a=1&b=2"_s},
                           {flag, profile, u"https://third.example/"_s},
                       }));
    const QList<pid_t> running = orlims();
    ASSERT_EQ(running.size(), 1);
    const auto reaped = [&] {
        QFile children(u"/proc/%1/task/%1/children"_s.arg(running[0]));
        return children.open(QIODevice::ReadOnly) && children.readAll().isEmpty();
    };
    EXPECT_TRUE(waitFor(reaped));
    const auto descriptors = [&] {
        return QDir(u"/proc/%1/fd"_s.arg(running[0]), {}, QDir::NoSort,
                    QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot)
            .count();
    };
    const qsizetype open = descriptors();
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(run({u"https://more.example/"_s + QString::number(i)}), 0);
    EXPECT_EQ(waitForChrome(9).size(), 9);
    EXPECT_TRUE(waitFor([&] { return reaped() && descriptors() <= open; }))
        << descriptors() << " descriptors open, " << open << " before";
}

// The first `orlim URL`, run by a program that waits for it and reads its
// output to the end (xdg-open in the foreground), returns once the link is
// taken, while the Orlim it started runs on and routes it. One whose Orlim
// cannot start says why and fails.
TEST_F(Orlim, TheFirstReturnsWhileOrlimRunsOn)
{
    QProcess* waiting = start({u"-c"_s, u"\"$0\" \"$1\" 2>&1 | cat; exit ${PIPESTATUS[0]}"_s,
                               QStringLiteral(ORLIM_EXECUTABLE), u"https://first.example/"_s},
                              u"/bin/bash"_s);
    ASSERT_TRUE(waiting->waitForFinished(10000)) << "the running Orlim held the pipe";
    EXPECT_EQ(waiting->exitCode(), 0) << waiting->readAll().toStdString();
    EXPECT_EQ(waitForChrome(1).value(0).last(), u"https://first.example/"_s);
    const QList<pid_t> running = orlims();
    ASSERT_EQ(running.size(), 1);
    EXPECT_EQ(getsid(running[0]), running[0]) << "in a session of its own";
    EXPECT_TRUE(waitUntilListening());
    ASSERT_TRUE(stopOrlims());

    QProcessEnvironment broken = environment();
    broken.insert(u"QT_QPA_PLATFORM"_s, u"none-such"_s);
    QProcess* failing =
        startHelper({QStringLiteral(ORLIM_EXECUTABLE), u"https://second.example/"_s}, broken);
    ASSERT_TRUE(failing->waitForFinished(10000));
    EXPECT_NE(failing->exitCode(), 0);
    const QByteArray err = failing->readAllStandardError();
    EXPECT_TRUE(err.contains("none-such") && err.contains("orlim: ")) << err.toStdString();
    EXPECT_TRUE(orlims().isEmpty());
}

// Link bytes that are not UTF-8 reach Chrome unchanged through both doors.
TEST_F(Orlim, LinksReachChromeByteForByte)
{
    // Not UTF-8; then a zero-width no-break space (U+FEFF, once dropped as a byte order mark).
    for (const char* link :
         {"http://x/\\351", "http://y/\\377\\303(\\355\\240\\200\\357\\273\\277"})
        start({u"-c"_s,
               u"exec " ORLIM_EXECUTABLE " \"$(printf '"_s + QString::fromLatin1(link) + u"')\""_s},
              u"/bin/sh"_s);
    ASSERT_EQ(waitForChrome(2).size(), 2);
    const QByteArray bytes = readLog(u"chrome.log"_s);
    EXPECT_TRUE(bytes.contains("\x1fhttp://x/\xe9\x1f\n")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\x1fhttp://y/\xff\xc3(\xed\xa0\x80\xef\xbb\xbf\x1f\n"))
        << bytes.toStdString();
}

// An Orlim that cannot listen gives up the lock, so the next link starts an
// Orlim of its own instead of waiting for one that cannot hear it.
TEST_F(Orlim, NoDoorNoLock)
{
    QDir().mkpath(socketPath()); // nothing can be bound there
    start({u"https://first.example/"_s});
    ASSERT_EQ(waitForChrome(1).size(), 1);
    start({u"https://second.example/"_s});
    EXPECT_EQ(waitForChrome(2).value(1).last(), u"https://second.example/"_s);
}

// Even with the folder and socket opened up by mistake, another user's link is
// refused: the peer's credentials are checked.
TEST_F(Orlim, AnotherUsersLinkIsRefused)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "needs root to act as another user";
    start({});
    ASSERT_TRUE(waitUntilListening());
    for (const QString& folder : {path(QString()), path(u"runtime"_s), path(u"runtime/orlim"_s)})
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
    EXPECT_EQ(run({u"https://own.example/"_s}), 0);
    EXPECT_EQ(waitForChrome(1).value(0).last(), u"https://own.example/"_s)
        << "only the user's own link was routed";
}

// Misuse is refused with the reason; the help names every browser served. The
// default browser is set only when Orlim's entry is installed: without it Orlim
// says where the entry belongs and how to install it, and does not report
// success; with it, the desktop's own check agrees.
TEST_F(Orlim, OptionsAndMisuse)
{
    QString out, err;
    EXPECT_EQ(run({u"https://a.example/"_s, u"--version"_s}, &out, &err), 2);
    EXPECT_EQ(err, u"orlim: links cannot be combined with an option\nTry 'orlim --help'.\n"_s);
    EXPECT_EQ(run({u"--help"_s}, &out), 0);
    EXPECT_TRUE(out.contains(u"\nBrowsers served: Chrome, Chromium, Brave, Edge, Vivaldi, Firefox, "
                             u"LibreWolf, Waterfox.\n"_s))
        << out.toStdString();
    EXPECT_EQ(run({u"--make-default-browser"_s}, &out, &err), 1) << "not installed: refused";
    EXPECT_TRUE(out.contains(u"not the default"_s)) << out.toStdString();
    const QString user = path(u"data/applications"_s);
    EXPECT_EQ(err, u"orlim: no desktop entry named orlim.desktop is installed, so the desktop "
                   u"cannot open links with Orlim.\nIt belongs in one of these folders:\n  " +
                       user + u"\n  " + path(u"data-dirs/applications"_s) +
                       u"\nInstall it with `make install` or Orlim's package, or run `make run` "
                       u"once, which writes one in " +
                       user + u".\n");

    installEntry(u"orlim.desktop"_s, ORLIM_EXECUTABLE " %U");
    EXPECT_EQ(run({u"--make-default-browser"_s}, &out, &err), 0) << err.toStdString();
    EXPECT_EQ(out, u"Orlim is the default web browser.\n"_s);
    EXPECT_EQ(err, QString());
    const QByteArray list = readLog(u"config/mimeapps.list"_s);
    EXPECT_TRUE(list.contains("x-scheme-handler/http=orlim.desktop")) << list.toStdString();
    EXPECT_TRUE(list.contains("x-scheme-handler/https=orlim.desktop")) << list.toStdString();
    EXPECT_FALSE(list.contains("x-scheme-handler/about")) << "only what Orlim opens";
    // The desktop's own check agrees, on X11 desktops of each kind it knows.
    if (!QFile::exists(u"/usr/bin/xdg-settings"_s))
        GTEST_SKIP() << "xdg-utils is not installed";
    installSystemEntry(u"chromium.desktop"_s, u"/usr/bin/chromium"_s); // HTML's default else
    for (const QString& desktop : {QString(), u"GNOME"_s}) {
        QProcessEnvironment env = environment();
        env.insert(u"XDG_CURRENT_DESKTOP"_s, desktop);
        QProcess* check = startHelper(
            {u"xdg-settings"_s, u"check"_s, u"default-web-browser"_s, u"orlim.desktop"_s}, env);
        ASSERT_TRUE(check->waitForFinished(10000));
        EXPECT_EQ(check->readAllStandardOutput(), "yes\n") << desktop.toStdString();
    }
}
