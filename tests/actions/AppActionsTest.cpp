// SPDX-License-Identifier: GPL-3.0-or-later
#include "actions/AppActions.h"

#include "FakePlatform.h"

// Orlim is the browser only when the https handler is its own entry, exactly.
// Making it so asks for http, https and HTML files for orlim.desktop; each
// completion runs once, on the main loop, only after all its requests have
// completed (here https first).
TEST(AppActions, DefaultBrowser)
{
    FakePlatform platform;
    FakeDefaultBrowser& browser = platform.defaultBrowser;
    EXPECT_FALSE(AppActions::isDefaultBrowser(browser)) << "no handler";
    for (const QString& other : {u"Orlim.desktop"_s, u"orlim.desktop.bak"_s}) {
        browser.httpsHandler = other;
        EXPECT_FALSE(AppActions::isDefaultBrowser(browser)) << other.toStdString();
    }
    int first = 0, second = 0;
    AppActions::setAsDefaultBrowser(browser, [&] { ++first; });
    AppActions::setAsDefaultBrowser(browser, [&] { ++second; });
    const QStringList all{u"x-scheme-handler/http=orlim.desktop"_s,
                          u"x-scheme-handler/https=orlim.desktop"_s, u"text/html=orlim.desktop"_s};
    EXPECT_EQ(browser.requests, all + all);
    platform.scheduler.advance(FakeDefaultBrowser::httpsCompletesAfterMs);
    EXPECT_EQ(first + second, 0) << "the other requests have not completed yet";
    platform.scheduler.runAll();
    EXPECT_EQ(std::pair(first, second), std::pair(1, 1)) << "each completion once";
    EXPECT_TRUE(AppActions::isDefaultBrowser(browser));
}
