// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/MenuBarController.h"
#include "app/AppActions.h"

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
    const QList<QAction*> items = controller.menu()->actions();
    ASSERT_EQ(items.size(), 6);
    items[3]->trigger();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.requests.size(), 2);
    EXPECT_EQ(settings, 0);
    items[2]->trigger();
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
    const QStringList both{u"http=orlim.desktop"_qs, u"https=orlim.desktop"_qs};
    EXPECT_EQ(platform.defaultBrowser.requests, both + both);
    platform.scheduler.advance(FakeDefaultBrowser::httpsCompletesAfterMs);
    EXPECT_EQ(first + second, 0) << "the http requests have not completed yet";
    platform.scheduler.runAll();
    EXPECT_EQ(first * 10 + second, 11);
}
