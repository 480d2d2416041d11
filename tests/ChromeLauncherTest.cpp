// SPDX-License-Identifier: GPL-3.0-or-later
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
