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
    // Each browser of the table, in its order: the Chromium family's twelve, then Firefox's.
    const QStringList table =
        u"google-chrome.desktop com.google.Chrome.desktop google-chrome-beta.desktop "
        u"google-chrome-unstable.desktop chromium.desktop chromium-browser.desktop "
        u"chromium_chromium.desktop org.chromium.Chromium.desktop brave-browser.desktop "
        u"com.brave.Browser.desktop microsoft-edge.desktop vivaldi-stable.desktop "
        u"firefox.desktop firefox-esr.desktop org.mozilla.firefox.desktop firefox_firefox.desktop "
        u"librewolf.desktop io.gitlab.librewolf-community.desktop waterfox.desktop"_s.split(u' ');
    FakePlatform platform;
    const auto commandOf = [&](const BrowserInstallation& browser, const QString& link,
                               const QString& key, bool privateWindow) {
        platform.processes.starts.clear();
        platform.launcher.open(browser, {link, key, u"t"_s, true, nullptr, privateWindow}, {});
        return platform.processes.starts.join(u'\n');
    };
    for (const QString& desktopId : table)
        platform.applications.installed[desktopId] =
            desktopEntry({}, u"env A=b browser %U --last"_s);
    const QList<BrowserInstallation> browsers = platform.browsers.installed();
    ASSERT_EQ(browsers.size(), table.size());
    // What each is given for a private window of "Default", between its entry's command and the
    // link: Edge has a switch of its own.
    for (qsizetype i = 0; i < browsers.size(); ++i) {
        const QString switches = i >= 12   ? u"--private-window"_s
                                 : i == 10 ? u"--profile-directory=Default|--inprivate"_s
                                           : u"--profile-directory=Default|--incognito"_s;
        EXPECT_EQ(browsers[i].desktopId, table[i]);
        EXPECT_EQ(commandOf(browsers[i], u"https://a/?q=x y"_s, u"Default"_s, true),
                  u"env|A=b|browser|"_s + switches + u"|https://a/?q=x y|--last|t"_s);
    }

    const QString firefoxPath = u"/home/u/.mozilla/firefox/x1.-P 仕事 --new-instance"_s;
    const BrowserInstallation &chrome = browsers[0], &edge = browsers[10], &firefox = browsers[12],
                              &waterfox = browsers[18];
    const struct
    {
        const BrowserInstallation& browser;
        QString key, link;
        bool privateWindow;
        QString command; // empty: not started
    } cases[] = {
        {chrome, u"Profile 1"_s, u" \t-x"_s, false,
         u"env|A=b|browser|--profile-directory=Profile 1|--| \t-x|--last|t"_s},
        {edge, u"Default"_s, u"-x"_s, true,
         u"env|A=b|browser|--profile-directory=Default|--inprivate|--|-x|--last|t"_s},
        {firefox, firefoxPath, u"https://a"_s, true,
         u"env|A=b|browser|--profile|"_s + firefoxPath + u"|--private-window|https://a|--last|t"_s},
        {firefox, u"Default"_s, u"https://a"_s, false, u"env|A=b|browser|https://a|--last|t"_s},
        {waterfox, firefoxPath, u" \t-x"_s, true, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(commandOf(c.browser, c.link, c.key, c.privateWindow), c.command)
            << c.link.toStdString();
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

// On X11 the browser's windows are looked at after each start, every 50 ms,
// 21 times at most, and only one that can show that start comes forward:
// every profile of a browser shares its window class, so a window there
// before the start and as it was is another profile's. None is asked for when
// the browser brought its own forward; none for a launch that is not to come
// forward, and no longer once its owner is gone.
TEST(ChromeLauncher, BringsForwardOnlyAWindowOfTheStart)
{
    using W = BrowserWindows::Window;
    const W work{1, u"work"_s, 100, 5}, mail{2, u"mail"_s, 90, 3}, home{3, u"home"_s, 0, 4},
        top{4, u"home"_s, 0, 7};
    const struct
    {
        const char* what;
        QList<W> before, after;        // topmost first: at the start, and after half a second
        BrowserWindows::Handle active; // after half a second
        QList<BrowserWindows::Handle> activated;
    } cases[] = {
        {"another profile's windows, as they were: never", {work, mail}, {work, mail}, 0, {}},
        {"one gone: still none", {work, mail}, {mail}, 0, {}},
        {"a new window, though below", {work, mail}, {work, home, mail}, 0, {3}},
        {"a new window the browser made active itself", {work}, {top, work}, 4, {}},
        {"a window acting on input", {work, mail}, {work, {2, u"mail"_s, 120, 3}}, 0, {2}},
        {"a window raised", {work, mail}, {{2, u"mail"_s, 90, 6}, work}, 0, {2}},
        {"a window titled anew", {work, mail}, {work, {2, u"mail 2"_s, 90, 3}}, 0, {2}},
        {"a new window before one changed", {work}, {{1, u"work 2"_s, 100, 5}, home}, 0, {3}},
        {"of two new windows, the topmost", {work}, {top, work, home}, 0, {4}},
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.browserWindows.windows = c.before;
        platform.launcher.open(*platform.browsers.find(), {u"https://a"_s, u"Default"_s}, {});
        platform.scheduler.advance(10 * ChromeLauncher::activationIntervalMs - 1);
        EXPECT_TRUE(platform.browserWindows.activated.isEmpty()) << c.what;
        platform.browserWindows.windows = c.after;
        platform.browserWindows.activeWindow = c.active;
        platform.scheduler.runAll();
        EXPECT_EQ(platform.browserWindows.activated, c.activated) << c.what;
        // Before the start, then until one is found, or 21 times.
        const bool found = !c.activated.isEmpty() || c.active;
        EXPECT_EQ(platform.browserWindows.lookups,
                  1 + (found ? 11 : ChromeLauncher::activationRetries + 1))
            << c.what;
    }

    FakePlatform platform;
    const BrowserInstallation chrome = *platform.browsers.find();
    platform.launcher.open(chrome, {u"https://b"_s, u"Default"_s, {}, false}, {});
    auto owner = std::make_unique<QObject>();
    platform.launcher.open(chrome, {u"https://c"_s, u"Default"_s, {}, true, owner.get()}, {});
    platform.scheduler.advance(ChromeLauncher::activationIntervalMs);
    owner.reset();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.browserWindows.lookups, 3);
}
