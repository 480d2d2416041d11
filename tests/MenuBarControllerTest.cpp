#include "ui/MenuBarController.h"
#include "ui/Icons.h"

#include "FakePlatform.h"

#include <QMenu>
#include <gtest/gtest.h>

// The default-browser entry asks for the change and shows nothing; installing
// again replaces the tray item. (The menu's texts are read through the tray on
// a desktop.) A missing tray symbol falls back to the letter icon.
TEST(MenuBar, ActionsAndIcon)
{
    FakePlatform platform;
    int settings = 0;
    MenuBarController controller([&] { ++settings; });
    controller.install();
    controller.install();
    ASSERT_TRUE(controller.menu());
    const QList<QAction*> items = controller.menu()->actions();
    ASSERT_EQ(items.size(), 6);
    items[3]->trigger();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.requests.size(), 2);
    EXPECT_EQ(settings, 0);
    items[2]->trigger();
    EXPECT_EQ(settings, 1);

    EXPECT_EQ(Icons::tray(u":/no/such/icon.svg"_qs).pixmap(22).toImage(),
              Icons::letterIcon().pixmap(22).toImage());
    EXPECT_NE(Icons::tray().pixmap(22).toImage(), Icons::letterIcon().pixmap(22).toImage())
        << "the shipped symbol loads";
}
