#include "ui/MenuBarController.h"
#include "ui/Icons.h"

#include "FakePlatform.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

TEST(MenuBar, ShortcutsAndActions)
{
    FakePlatform platform;
    int settings = 0;
    MenuBarController controller([&] { ++settings; });
    controller.install();
    ASSERT_TRUE(controller.menu());
    // Texts and order are also read through the tray on a desktop; here what
    // only the menu shows: shortcuts, the disabled title, separators.
    const QList<QAction*> items = controller.menu()->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_FALSE(items[0]->isEnabled());
    EXPECT_TRUE(items[1]->isSeparator() && items[4]->isSeparator());
    EXPECT_EQ(items[2]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_TRUE(items[3]->shortcut().isEmpty());
    EXPECT_EQ(items[5]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    items[3]->trigger();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.requests.size(), 2);
    EXPECT_EQ(settings, 0) << "nothing is shown";

    controller.install(); // again: one tray item, replaced
    EXPECT_EQ(controller.menu()->actions().size(), 6);
}

TEST(MenuBar, TrayIconFallsBackToTheInitial)
{
    const QIcon fallback = Icons::tray(u":/no/such/icon.svg"_qs);
    EXPECT_FALSE(fallback.isNull());
    EXPECT_EQ(fallback.pixmap(22).toImage(), Icons::letterIcon().pixmap(22).toImage());
    EXPECT_NE(Icons::tray().pixmap(22).toImage(), Icons::letterIcon().pixmap(22).toImage())
        << "the shipped symbol loads";
}
