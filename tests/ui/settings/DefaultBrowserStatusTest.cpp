// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/DefaultBrowserStatus.h"

#include "FakePlatform.h"

// Once the desktop has answered the request, the status is read again every
// half second, nine readings in all, and no more once it reads true.
TEST(DefaultBrowserStatus, FollowsTheChangeThenStops)
{
    FakePlatform platform;
    DefaultBrowserStatus status(platform.defaultBrowser, platform.scheduler);
    int changes = 0;
    QObject::connect(&status, &DefaultBrowserStatus::changed, [&] { ++changes; });
    auto& reads = platform.defaultBrowser.reads;
    status.makeDefault();
    platform.defaultBrowser.httpsHandler.reset(); // the desktop has not taken it yet
    platform.scheduler.advance(2 * FakeDefaultBrowser::httpsCompletesAfterMs + 499);
    EXPECT_EQ(reads, 1) << "read once both requests are answered";
    platform.scheduler.advance(1);
    EXPECT_EQ(reads, 2) << "read again after half a second";
    platform.scheduler.runAll();
    EXPECT_EQ(reads, 9) << "nine readings in all";

    platform.defaultBrowser.httpsHandler = u"orlim.desktop"_s;
    status.poll(8);
    platform.scheduler.runAll();
    EXPECT_EQ(reads, 10);
    EXPECT_TRUE(status.isDefaultBrowser());
    EXPECT_EQ(changes, 1);
}
