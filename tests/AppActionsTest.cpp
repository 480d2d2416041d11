#include "app/AppActions.h"

#include "FakePlatform.h"

#include <gtest/gtest.h>

// "http" then "https" for orlim.desktop; the completion runs once, later, on
// the main loop, whether the desktop accepted or not.
TEST(AppActions, SetAsDefaultBrowser)
{
    for (const bool accepts : {true, false}) {
        FakePlatform platform;
        platform.defaultBrowser.acceptsRequests = accepts;
        int completions = 0;
        AppActions::setAsDefaultBrowser([&] { ++completions; });
        EXPECT_EQ(platform.defaultBrowser.requests,
                  (QStringList{u"http=orlim.desktop"_qs, u"https=orlim.desktop"_qs}));
        EXPECT_EQ(completions, 0) << "never from inside the call";
        platform.scheduler.runAll();
        EXPECT_EQ(completions, 1);
    }

    FakePlatform platform;
    AppActions::setAsDefaultBrowser();
    int first = 0, second = 0;
    AppActions::setAsDefaultBrowser([&] { ++first; });
    AppActions::setAsDefaultBrowser([&] { ++second; });
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.requests.size(), 6);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}
