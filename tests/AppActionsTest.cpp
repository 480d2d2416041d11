#include "app/AppActions.h"

#include "FakePlatform.h"

#include <gtest/gtest.h>

// "http" then "https" for orlim.desktop; the completion runs once, on the main
// loop, only after both requests have completed (here https first), whether
// the desktop accepted them or not; calls side by side each complete once.
TEST(AppActions, SetAsDefaultBrowser)
{
    for (const bool accepts : {true, false}) {
        FakePlatform platform;
        platform.defaultBrowser.acceptsRequests = accepts;
        int completions = 0;
        AppActions::setAsDefaultBrowser([&] { ++completions; });
        EXPECT_EQ(platform.defaultBrowser.requests,
                  (QStringList{u"http=orlim.desktop"_qs, u"https=orlim.desktop"_qs}));
        platform.scheduler.advance(FakeDefaultBrowser::httpsCompletesAfterMs);
        EXPECT_EQ(completions, 0) << "the http request has not completed yet";
        platform.scheduler.runAll();
        EXPECT_EQ(completions, 1);
    }
    FakePlatform platform;
    int first = 0, second = 0;
    AppActions::setAsDefaultBrowser([&] { ++first; });
    AppActions::setAsDefaultBrowser([&] { ++second; });
    platform.scheduler.runAll();
    EXPECT_EQ(first + second * 10, 11);
}
