// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/MenuBarController.h"
#include "platform/AppActions.h"
#include "ui/settings/DefaultBrowserStatus.h"

#include "FakePlatform.h"

#include <QMenu>

// The default-browser entry asks for the change and shows nothing; installing
// again replaces the tray item. (The menu's texts are read through the tray on
// a desktop.)
TEST(MenuBar, Actions)
{
    FakePlatform platform;
    int settings = 0;
    MenuBarController controller([&] { ++settings; });
    controller.install();
    controller.install();
    const auto item = [&](const QString& text) {
        for (QAction* action : controller.menu()->actions()) {
            if (action->text() == text)
                return action;
        }
        ADD_FAILURE() << "no item " << text.toStdString();
        return new QAction(controller.menu());
    };
    EXPECT_EQ(controller.menu()->actions().size(), 6);
    item(u"既定のブラウザにする…"_s)->trigger();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.requests.size(), 2);
    EXPECT_EQ(settings, 0);
    item(u"設定を開く…"_s)->trigger();
    EXPECT_EQ(settings, 1);
}

// "http" then "https" for orlim.desktop; each completion runs once, on the
// main loop, only after both its requests have completed (here https first).
TEST(AppActions, SetAsDefaultBrowser)
{
    FakePlatform platform;
    int first = 0, second = 0;
    AppActions::setAsDefaultBrowser([&] { ++first; });
    AppActions::setAsDefaultBrowser([&] { ++second; });
    const QStringList both{u"http=orlim.desktop"_s, u"https=orlim.desktop"_s};
    EXPECT_EQ(platform.defaultBrowser.requests, both + both);
    platform.scheduler.advance(FakeDefaultBrowser::httpsCompletesAfterMs);
    EXPECT_EQ(first + second, 0) << "the http requests have not completed yet";
    platform.scheduler.runAll();
    EXPECT_EQ(first * 10 + second, 11);
}

// After the request the status is read again every half second, nine readings
// in all, and no more once it reads true.
TEST(DefaultBrowserStatus, FollowsTheChangeThenStops)
{
    FakePlatform platform;
    DefaultBrowserStatus status;
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
