// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ChromeLauncher.h"

#include "FakePlatform.h"

// Every browser of the table gets its entry's whole command with the profile
// switch and the link where it takes a link, each one argument, and opens a
// private window with its own switch, once, between the two; none opens one
// unasked. The Chromium family names the profile's folder by its name; a link
// it would read as a switch goes after "--". Firefox's family names the
// profile's path whatever its name (a key that is no path: its default
// profile), and is not started at all for a link it would read as a switch.
// The activation token travels beside them.
TEST(ChromeLauncher, CommandLinesRowByRow)
{
    FakePlatform platform;
    for (const BrowserInstallations::Kind& kind : BrowserInstallations::kinds)
        platform.applications.installed[QString::fromUtf16(kind.desktopId)] =
            desktopEntry({}, u"env A=b browser %U --last"_s);
    const QList<BrowserInstallation> browsers = platform.browsers.installed();
    ASSERT_EQ(browsers.size(), qsizetype(std::size(BrowserInstallations::kinds)));
    const QString firefoxPath = u"/home/u/.mozilla/firefox/x1.-P 仕事 --new-instance"_s;
    int row = 0;
    for (const BrowserInstallation& browser : browsers) {
        SCOPED_TRACE(browser.desktopId.toStdString());
        const bool switchLike = row++ % 2 == 0;
        const bool firefox = browser.family == BrowserInstallation::Family::Firefox;
        const QString link = switchLike ? u" \t-x"_s : u"https://a/?q=x y"_s;
        for (const QString& key : {firefox ? firefoxPath : u"Profile 1"_s, u"Default"_s}) {
            for (const bool privateWindow : {true, false}) {
                platform.processes.starts.clear();
                platform.launcher.open(browser, {link, key, u"t"_s, true, nullptr, privateWindow},
                                       {});
                QStringList expected{u"env"_s, u"A=b"_s, u"browser"_s};
                if (!firefox)
                    expected.append(u"--profile-directory="_s + key);
                else if (key == firefoxPath)
                    expected += QStringList{u"--profile"_s, key};
                if (privateWindow)
                    expected.append(firefox ? u"--private-window"_s
                                    : browser.desktopId.startsWith(u"microsoft-edge")
                                        ? u"--inprivate"_s
                                        : u"--incognito"_s);
                if (switchLike)
                    expected.append(u"--"_s);
                expected += QStringList{link, u"--last"_s, u"t"_s};
                EXPECT_EQ(platform.processes.starts,
                          firefox && switchLike ? QStringList() : QStringList{expected.join(u'|')});
            }
        }
    }
}

// A link that cannot be opened is told once, with why: an Exec line that
// cannot be read, a program that cannot be started, one that `env` could not
// run. A start that works tells nothing. (A browser removed since the link
// came is the router's test.)
TEST(ChromeLauncher, FailuresAreTold)
{
    FakePlatform platform;
    FakeNotOpened notOpened;
    platform.processes.failing = QStringList{u"env"_s};
    platform.processes.missing = QStringList{u"/missing"_s};
    for (const QString& exec :
         {u"\"/opt/chrome %U"_s, u"env A=b /missing %U"_s, u"/missing %U"_s, u"/opt/chrome %U"_s}) {
        platform.applications.installed[u"google-chrome.desktop"_s] = desktopEntry({}, exec);
        platform.launcher.open(*platform.browsers.find(), {exec, u"Default"_s}, &notOpened);
    }
    using enum ChromeLauncher::Failure;
    EXPECT_EQ(notOpened.told, (QStringList{u"\"/opt/chrome %U %1"_s.arg(int(DidNotStart)),
                                           u"env A=b /missing %U %1"_s.arg(int(DidNotStart)),
                                           u"/missing %U %1"_s.arg(int(DidNotStart))}));
}

// On X11 the browser's window is looked for after each start, every 50 ms,
// 21 times at most, and activated once found; not at all for a launch that
// is not to come forward, and no longer once its owner is gone.
TEST(ChromeLauncher, LooksForTheWindowWithinTheBound)
{
    FakePlatform platform;
    const BrowserInstallation chrome = *platform.browsers.find();
    platform.launcher.open(chrome, {u"https://a"_s, u"Default"_s}, {});
    platform.scheduler.advance(ChromeLauncher::activationIntervalMs - 1);
    EXPECT_EQ(platform.browserWindows.lookups, 1);
    platform.scheduler.runAll();
    EXPECT_EQ(platform.browserWindows.lookups, ChromeLauncher::activationRetries + 1);
    EXPECT_TRUE(platform.browserWindows.activated.isEmpty());

    platform.browserWindows.lookups = 0;
    platform.launcher.open(chrome, {u"https://b"_s, u"Default"_s, {}, false}, {});
    auto owner = std::make_unique<QObject>();
    platform.launcher.open(chrome, {u"https://c"_s, u"Default"_s, {}, true, owner.get()}, {});
    platform.scheduler.advance(ChromeLauncher::activationIntervalMs);
    owner.reset();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.browserWindows.lookups, 2);

    platform.browserWindows.lookups = 0;
    platform.launcher.open(chrome, {u"https://d"_s, u"Default"_s}, {});
    platform.browserWindows.windows = {7};
    platform.scheduler.runAll();
    EXPECT_EQ(platform.browserWindows.lookups, 2);
    EXPECT_EQ(platform.browserWindows.activated, QList<BrowserWindows::Handle>{7});
}
