// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AppActions.h"

#include "FakePlatform.h"

// "http" then "https" for orlim.desktop; each completion runs once, on the
// main loop, only after both its requests have completed (here https first).
TEST(AppActions, SetAsDefaultBrowser)
{
    FakePlatform platform;
    int first = 0, second = 0;
    AppActions::setAsDefaultBrowser(platform.defaultBrowser, [&] { ++first; });
    AppActions::setAsDefaultBrowser(platform.defaultBrowser, [&] { ++second; });
    const QStringList both{u"http=orlim.desktop"_s, u"https=orlim.desktop"_s};
    EXPECT_EQ(platform.defaultBrowser.requests, both + both);
    platform.scheduler.advance(FakeDefaultBrowser::httpsCompletesAfterMs);
    EXPECT_EQ(first + second, 0) << "the http requests have not completed yet";
    platform.scheduler.runAll();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}

// Orlim is the browser only when the https handler is its own entry, exactly.
TEST(AppActions, IsDefaultBrowser)
{
    const struct
    {
        std::optional<QString> handler;
        bool isDefault;
    } cases[] = {
        {u"orlim.desktop"_s, true},
        {std::nullopt, false},
        {u"Orlim.desktop"_s, false},
        {u"orlim.desktop.bak"_s, false},
    };
    FakePlatform platform;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.handler.value_or(u"(none)"_s).toStdString());
        platform.defaultBrowser.httpsHandler = c.handler;
        EXPECT_EQ(AppActions::isDefaultBrowser(platform.defaultBrowser), c.isDefault);
    }
}
