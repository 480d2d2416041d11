#include "chrome/ChromeLauncher.h"

#include "FakePlatform.h"

#include <gtest/gtest.h>

// The profile switch, then the link, each one argument; a link Chrome would
// read as a switch goes after "--". Chrome's executable, else the command's
// name; Flathub's Chrome through its entry's command.
TEST(ChromeLauncher, CommandLine)
{
    const QString profile = u"--profile-directory=Default"_qs;
    EXPECT_EQ(ChromeLauncher::arguments(u"https://a/?q=x y"_qs, u"Default"_qs),
              (QStringList{profile, u"https://a/?q=x y"_qs}));
    EXPECT_EQ(ChromeLauncher::arguments(u" \t-x"_qs, u"Default"_qs),
              (QStringList{profile, u"--"_qs, u" \t-x"_qs}));
    EXPECT_EQ(ChromeLauncher::arguments(u"a-b"_qs, u"Default"_qs),
              (QStringList{profile, u"a-b"_qs}));

    FakePlatform platform;
    ChromeLauncher::open(u"https://example.com"_qs, u"Default"_qs);
    platform.applications.chrome = ApplicationDirectory::Entry{};
    ChromeLauncher::open(u"https://example.com"_qs, u"Default"_qs);
    platform.applications.chrome.reset();
    platform.applications.installed.insert(
        u"com.google.Chrome.desktop"_qs,
        {u"/usr/bin/flatpak"_qs, {u"/usr/bin/flatpak"_qs, u"run"_qs, u"com.google.Chrome"_qs}, {}});
    ChromeLauncher::open(u"https://example.com"_qs, u"Profile 1"_qs);
    ASSERT_EQ(platform.processes.starts.size(), 3);
    EXPECT_EQ(platform.processes.starts[0].program, u"/opt/google/chrome/google-chrome"_qs);
    EXPECT_EQ(platform.processes.starts[1].program, u"google-chrome"_qs);
    EXPECT_EQ(platform.processes.starts[2].program, u"/usr/bin/flatpak"_qs);
    EXPECT_EQ(platform.processes.starts[2].arguments,
              (QStringList{u"run"_qs, u"com.google.Chrome"_qs, u"--profile-directory=Profile 1"_qs,
                           u"https://example.com"_qs}));
}

// Activation: one look-up at once, then up to 20 more 50 ms apart; at most one
// activation; nothing at all without Chrome.
TEST(ChromeLauncher, ActivationPolling)
{
    {
        FakePlatform platform;
        platform.applications.chrome.reset();
        ChromeLauncher::open(u"https://example.com"_qs, u"Default"_qs);
        EXPECT_TRUE(platform.processes.starts.isEmpty());
        EXPECT_EQ(platform.chromeWindows.lookups, 0);
    }
    {
        FakePlatform platform; // already running
        platform.chromeWindows.windows = {7, 8};
        ChromeLauncher::open(u"https://example.com"_qs, u"Default"_qs);
        EXPECT_EQ(platform.chromeWindows.activated, QList<ChromeWindows::Handle>{7});
        EXPECT_EQ(platform.scheduler.pending(), 0);
    }
    {
        FakePlatform platform; // never appears, and the start fails
        platform.processes.succeeds = false;
        ChromeLauncher::open(u"https://example.com"_qs, u"Default"_qs);
        platform.scheduler.runAll();
        EXPECT_EQ(platform.chromeWindows.lookups, 21);
        EXPECT_EQ(platform.scheduler.delays, std::vector<int>(20, 50));
    }
    {
        FakePlatform platform; // appears after the third look-up
        ChromeLauncher::open(u"https://example.com"_qs, u"Default"_qs);
        platform.scheduler.advance(100);
        platform.chromeWindows.windows = {3};
        platform.scheduler.runAll();
        EXPECT_EQ(platform.chromeWindows.lookups, 4);
        EXPECT_EQ(platform.chromeWindows.activated.size(), 1);
    }
}
