// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/DefaultBrowserStatus.h"

#include "FakePlatform.h"

// After the request the status is read again every half second, nine readings
// in all, and no more once it reads true.
TEST(DefaultBrowserStatus, FollowsTheChangeThenStops)
{
    FakePlatform platform;
    DefaultBrowserStatus status(platform.defaultBrowser, platform.scheduler);
    int changes = 0;
    QObject::connect(&status, &DefaultBrowserStatus::changed, [&] { ++changes; });
    auto& reads = platform.defaultBrowser.reads;
    status.poll(8);
    platform.scheduler.advance(499);
    EXPECT_EQ(reads, 1);
    platform.scheduler.advance(1);
    EXPECT_EQ(reads, 2) << "read again after half a second";
    platform.scheduler.runAll();
    EXPECT_EQ(reads, 9) << "nine readings in all";

    reads = 0;
    status.makeDefault(); // the same follow-up, once the desktop has answered
    platform.defaultBrowser.httpsHandler.reset();
    platform.scheduler.runAll();
    EXPECT_EQ(reads, 9);

    reads = 0;
    status.poll(8);
    platform.defaultBrowser.httpsHandler = u"orlim.desktop"_s;
    platform.scheduler.advance(500);
    platform.scheduler.runAll();
    EXPECT_EQ(reads, 2);
    EXPECT_TRUE(status.isDefaultBrowser());
    EXPECT_EQ(changes, 1);
}
