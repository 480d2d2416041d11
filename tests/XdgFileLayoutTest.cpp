// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/XdgFileLayout.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

// XDG_CONFIG_HOME counts only when absolute; Chrome's own variable moves only
// Chrome's folder.
TEST(FileLayout, XdgConfigHomeFallsBackToDotConfig)
{
    const QByteArray saved = qgetenv("XDG_CONFIG_HOME");
    const QByteArray savedHome = qgetenv("HOME");
    qputenv("HOME", "/home/tester");
    XdgFileLayout files;
    qputenv("XDG_CONFIG_HOME", "/x/conf");
    EXPECT_EQ(files.configHome(), u"/x/conf"_s);
    qputenv("XDG_CONFIG_HOME", "relative/conf");
    EXPECT_EQ(files.configHome(), u"/home/tester/.config"_s) << "relative values are ignored";
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(files.orlimDirectory(), u"/home/tester/.config/orlim"_s);
    EXPECT_EQ(files.orlimDirectory(DirectoryLayouts::macOS),
              u"/home/tester/Library/Application Support/Orlim"_s);
    qputenv("CHROME_CONFIG_HOME", "/c/conf/");
    EXPECT_EQ(files.chromeConfigHome(), u"/c/conf"_s) << "Chrome's own variable wins";
    qunsetenv("CHROME_CONFIG_HOME");
    EXPECT_EQ(files.chromeConfigHome(), u"/home/tester/.config"_s);
    qputenv("XDG_CONFIG_HOME", saved);
    qputenv("HOME", savedHome);
}
