// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Platform.h"

#include "FakePlatform.h"

#include <QProcess>

// Settled on X11, the platform holds for the browser it started and finds its
// windows; elsewhere (offscreen here) it keeps what it was made with. The test
// runs itself again on a private X server to see the first.
TEST(Platform, SettlesTheDesktopItRunsOn)
{
    FakeWindowActivation plain;
    Platform platform{.windowActivation = &plain};
    platform.settleDesktop();
    const bool x11 = QGuiApplication::platformName() == u"xcb";
    EXPECT_EQ(platform.desktop, x11 ? Desktop::X11 : Desktop::Other);
    EXPECT_EQ(platform.windowActivation->holdsForStartedProgram(), x11);
    EXPECT_EQ(platform.browserWindows != nullptr, x11);
    if (x11)
        return;
    QProcess xvfb;
    xvfb.start(u"Xvfb"_s, {u"-displayfd"_s, u"1"_s, u"-nolisten"_s, u"tcp"_s});
    ASSERT_TRUE(xvfb.waitForReadyRead(10000))
        << "Xvfb (scripts/install-deps.sh test) did not start";
    const ScopedVariable xcb("QT_QPA_PLATFORM", "xcb"),
        on("DISPLAY", ':' + xvfb.readLine().trimmed());
    QProcess again; // what it inherits
    again.setProcessChannelMode(QProcess::MergedChannels);
    again.start(QCoreApplication::applicationFilePath(), {u"--gtest_filter=Platform.*"_s});
    ASSERT_TRUE(again.waitForFinished(30000));
    EXPECT_EQ(again.exitCode(), 0) << again.readAll().toStdString();
    xvfb.terminate();
    xvfb.waitForFinished();
}
