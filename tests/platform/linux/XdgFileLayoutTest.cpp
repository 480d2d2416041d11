// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/XdgFileLayout.h"

#include "FakePlatform.h"

// XDG_CONFIG_HOME counts only when absolute; Chrome's own variable moves only
// Chrome's folder.
TEST(XdgFileLayout, XdgConfigHomeFallsBackToDotConfig)
{
    const ScopedVariable home("HOME", "/home/tester"), config("XDG_CONFIG_HOME", "/x/conf");
    XdgFileLayout files;
    EXPECT_EQ(files.configHome(), u"/x/conf"_s);
    const ScopedVariable relative("XDG_CONFIG_HOME", "relative/conf");
    EXPECT_EQ(files.configHome(), u"/home/tester/.config"_s) << "relative values are ignored";
    const ScopedVariable unset("XDG_CONFIG_HOME", std::nullopt);
    EXPECT_EQ(files.orlimDirectory(), u"/home/tester/.config/orlim"_s);
    EXPECT_EQ(files.chromeConfigHome(), u"/home/tester/.config"_s);
    const ScopedVariable chrome("CHROME_CONFIG_HOME", "/c/conf/");
    EXPECT_EQ(files.chromeConfigHome(), u"/c/conf"_s) << "Chrome's own variable wins";
}
