// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/ChromeLauncher.h"
#include "chrome/BrowserChoice.h"
#include "chrome/ChromeInstallation.h"
#include "platform/ChromeWindows.h"

#include "FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

// The profile switch, then the link, each one argument; a link Chrome would
// read as a switch goes after "--". Chrome's executable, else the command's
// name; Flathub's Chrome through its entry's command.
TEST(ChromeLauncher, CommandLine)
{
    FakePlatform platform;
    auto& installed = platform.applications.installed;
    ChromeLauncher::open(u"https://a/?q=x y"_qs, u"Default"_qs);
    installed[u"google-chrome.desktop"_qs] = {};
    ChromeLauncher::open(u" \t-x"_qs, u"Default"_qs);
    installed.clear();
    installed[u"com.google.Chrome.desktop"_qs] = {
        {},
        u"/usr/bin/flatpak"_qs,
        {u"/usr/bin/flatpak"_qs, u"run"_qs, u"com.google.Chrome"_qs},
        {}};
    ChromeLauncher::open(u"https://a"_qs, u"Profile 1"_qs);
    EXPECT_EQ(
        platform.processes.starts,
        (QStringList{
            u"/opt/google/chrome/chrome|--profile-directory=Default|https://a/?q=x y|"_qs,
            u"google-chrome|--profile-directory=Default|--| \t-x|"_qs,
            u"/usr/bin/flatpak|run|com.google.Chrome|--profile-directory=Profile 1|https://a|"_qs}));
}

// On X11 the browser's window is looked for after each start, every 50 ms,
// 21 times at most, and activated once found.
TEST(ChromeLauncher, LooksForTheWindowWithinTheBound)
{
    FakePlatform platform;
    ChromeLauncher::open(u"https://a"_qs, u"Default"_qs);
    platform.scheduler.advance(ChromeLauncher::activationIntervalMs - 1);
    EXPECT_EQ(platform.chromeWindows.lookups, 1);
    platform.scheduler.runAll();
    EXPECT_EQ(platform.chromeWindows.lookups, ChromeLauncher::activationRetries + 1);
    EXPECT_TRUE(platform.chromeWindows.activated.isEmpty());

    platform.chromeWindows.lookups = 0;
    ChromeLauncher::open(u"https://b"_qs, u"Default"_qs);
    platform.chromeWindows.windows = {7};
    platform.scheduler.runAll();
    EXPECT_EQ(platform.chromeWindows.lookups, 2);
    EXPECT_EQ(platform.chromeWindows.activated, QList<ChromeWindows::Handle>{7});
}

// The browser served: the user's choice while it is installed, else the first
// installed in the table's order (Chrome first); a choice file that cannot be
// read is no choice. Every Chromium-based browser's data directory follows
// $CHROME_CONFIG_HOME as the browsers themselves do; Snap's and Flathub's live
// in the home directory.
TEST(ChromeInstallation, TheServedBrowser)
{
    FakePlatform platform;
    auto& installed = platform.applications.installed;
    const auto entry = [](const QString& name) {
        return ApplicationDirectory::Entry{name, u"/usr/bin/x"_qs, {u"/usr/bin/x"_qs}, {}};
    };
    const struct
    {
        const char* name;
        QStringList installed;
        QByteArray choice; // the choice file's bytes; empty: no file
        QString served;
        QString dataDirectory; // below the test's folder
    } cases[] = {
        {"chrome first",
         {u"brave-browser.desktop"_qs, u"google-chrome.desktop"_qs},
         {},
         u"google-chrome.desktop"_qs,
         u"config/google-chrome"_qs},
        {"chosen",
         {u"brave-browser.desktop"_qs, u"google-chrome.desktop"_qs},
         R"({"browser": "brave-browser.desktop"})",
         u"brave-browser.desktop"_qs,
         u"config/BraveSoftware/Brave-Browser"_qs},
        {"chosen, since removed",
         {u"microsoft-edge.desktop"_qs, u"vivaldi-stable.desktop"_qs},
         R"({"browser": "brave-browser.desktop"})",
         u"microsoft-edge.desktop"_qs,
         u"config/microsoft-edge"_qs},
        {"unreadable choice",
         {u"chromium.desktop"_qs, u"com.brave.Browser.desktop"_qs},
         "{\"browser\": \"com.brave",
         u"chromium.desktop"_qs,
         u"config/chromium"_qs},
        {"not in the table",
         {u"chromium_chromium.desktop"_qs, u"vivaldi-stable.desktop"_qs},
         R"({"browser": "firefox.desktop"})",
         u"chromium_chromium.desktop"_qs,
         u"home/snap/chromium/common/chromium"_qs},
        {"flathub",
         {u"org.chromium.Chromium.desktop"_qs, u"com.brave.Browser.desktop"_qs},
         R"({"browser": "com.brave.Browser.desktop"})",
         u"com.brave.Browser.desktop"_qs,
         u"home/.var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser"_qs},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        installed.clear();
        for (const QString& id : c.installed)
            installed[id] = entry(id + u" name");
        QFile::remove(BrowserChoice::fileURL());
        if (!c.choice.isEmpty()) {
            QDir().mkpath(QFileInfo(BrowserChoice::fileURL()).path());
            writeFile(BrowserChoice::fileURL(), c.choice);
        }
        const auto served = ChromeInstallation::find();
        ASSERT_TRUE(served);
        EXPECT_EQ(served->desktopId, c.served);
        EXPECT_EQ(served->dataDirectory, platform.root.path() + u'/' + c.dataDirectory);
        EXPECT_EQ(ChromeInstallation::installed().size(), c.installed.size());
    }
    ASSERT_TRUE(BrowserChoice::choose(u"org.chromium.Chromium.desktop"_qs));
    EXPECT_EQ(ChromeInstallation::find()->desktopId, u"org.chromium.Chromium.desktop"_qs);
    installed.clear();
    EXPECT_FALSE(ChromeInstallation::find());
}
