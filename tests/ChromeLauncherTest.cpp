#include "chrome/ChromeLauncher.h"

#include "FakePlatform.h"

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
        u"/usr/bin/flatpak"_qs, {u"/usr/bin/flatpak"_qs, u"run"_qs, u"com.google.Chrome"_qs}, {}};
    ChromeLauncher::open(u"https://a"_qs, u"Profile 1"_qs);
    EXPECT_EQ(
        platform.processes.starts,
        (QStringList{
            u"/opt/google/chrome/chrome|--profile-directory=Default|https://a/?q=x y|"_qs,
            u"google-chrome|--profile-directory=Default|--| \t-x|"_qs,
            u"/usr/bin/flatpak|run|com.google.Chrome|--profile-directory=Profile 1|https://a|"_qs}));
}

// Activation: one look-up at once, then up to 20 more 50 ms apart; at most one
// activation.
TEST(ChromeLauncher, ActivationPolling)
{
    const struct
    {
        QList<ChromeWindows::Handle> windowsAtOnce, windowsAfter100ms;
        int lookups, activations;
    } cases[] = {
        {{7, 8}, {7, 8}, 1, 1}, // already running
        {{}, {}, 21, 0},        // never appears
        {{}, {3}, 4, 1},        // appears after the third look-up
    };
    for (const auto& c : cases) {
        FakePlatform platform;
        platform.chromeWindows.windows = c.windowsAtOnce;
        ChromeLauncher::open(u"https://a"_qs, u"Default"_qs);
        platform.scheduler.advance(100);
        platform.chromeWindows.windows = c.windowsAfter100ms;
        platform.scheduler.runAll();
        EXPECT_EQ(platform.chromeWindows.lookups, c.lookups);
        EXPECT_EQ(platform.chromeWindows.activated.size(), c.activations);
        EXPECT_EQ(platform.scheduler.delays, std::vector<int>(c.lookups - 1, 50));
    }
}
