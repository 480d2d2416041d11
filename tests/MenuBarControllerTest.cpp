#include "ui/MenuBarController.h"
#include "ui/Icons.h"

#include "FakePlatform.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <gtest/gtest.h>

TEST(MenuBar, ItemsShortcutsAndActions)
{
    FakePlatform platform;
    int settings = 0;
    MenuBarController controller([&] { ++settings; });
    controller.install();
    ASSERT_TRUE(controller.menu());
    const QList<QAction*> items = controller.menu()->actions();
    ASSERT_EQ(items.size(), 6);
    EXPECT_EQ(items[0]->text(), u"Orlim v0.1.0"_qs);
    EXPECT_FALSE(items[0]->isEnabled());
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), u"設定を開く…"_qs);
    EXPECT_EQ(items[2]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Comma));
    EXPECT_EQ(items[3]->text(), u"既定のブラウザにする…"_qs);
    EXPECT_TRUE(items[3]->shortcut().isEmpty());
    EXPECT_TRUE(items[4]->isSeparator());
    EXPECT_EQ(items[5]->text(), u"終了"_qs);
    EXPECT_EQ(items[5]->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    items[2]->trigger();
    EXPECT_EQ(settings, 1);
    items[3]->trigger();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.requests,
              (QStringList{u"http=orlim.desktop"_qs, u"https=orlim.desktop"_qs}));
    EXPECT_EQ(settings, 1) << "nothing else is shown";

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
