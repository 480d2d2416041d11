// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "rules/FeatureFlags.h"

#include "FakePlatform.h"

#include <QCheckBox>

// A rule opens its link in its own browser, shown in the picker or not; a
// rule whose browser is gone leaves its link to the picker; a rule written
// before rules named a browser is settled, as Orlim starts, on the one served.
// A rule remembered in the picker names the chosen row's browser.
TEST(RuleBrowser, EachRuleOpensInItsBrowser)
{
    if (!FeatureFlags::rulesEnabled)
        GTEST_SKIP() << "rules are off in this build";
    FakePlatform platform;
    platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    platform.applications.installed[u"chromium.desktop"_s] =
        desktopEntry(u"Chromium"_s, u"chromium %U"_s);
    writeFile(platform.root.path() + u"/config/chromium/Local State",
              R"({"profile": {"info_cache": {"Profile 2": {}}}})");
    writeFile(platform.rules.fileURL(),
              readFile(QStringLiteral(ORLIM_TEST_DATA "/rules/browsers.json")));
    Platform services = platform.services();
    Application app(services);
    EXPECT_EQ(platform.rules.load().last().browser, u"google-chrome.desktop"_s);

    app.delegate().openURLs({u"https://chromium.example/a"_s, u"https://legacy.example/b"_s,
                             u"https://gone.example/c"_s},
                            {});
    EXPECT_EQ(platform.processes.starts,
              (QStringList{u"chromium|--profile-directory=Profile 2|https://chromium.example/a|"_s,
                           u"/opt/google/chrome/chrome|--profile-directory=Profile 1|"
                           u"https://legacy.example/b|"_s}));
    ASSERT_TRUE(app.picker().content() && app.picker().content()->isVisible());
    app.picker().content()->findChild<QCheckBox*>()->click();
    QTest::keyClick(app.picker().content(), Qt::Key_1);
    EXPECT_EQ(platform.rules.load().at(1),
              (ProfileRule{u"https://gone.example"_s, u"Default"_s, u"google-chrome.desktop"_s}));
}
