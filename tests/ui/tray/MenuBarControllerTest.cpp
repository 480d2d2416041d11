// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/MenuBarController.h"

#include "FakePlatform.h"

#include <QMenu>
#include <QPointer>
#include <QSystemTrayIcon>

// Each item does what it says: the default-browser entry asks for the change
// and shows nothing, the others trigger what the tray was handed. Installing
// again puts a new icon and menu in place of the old ones, which are gone.
// (The menu's texts are read through the tray on a desktop.)
TEST(MenuBarController, Actions)
{
    FakePlatform platform;
    QStringList triggered;
    // X11 always gets an icon, so there is one to replace.
    MenuBarController controller(
        {[&] { triggered.append(u"settings"_s); }, [&] { triggered.append(u"quit"_s); }},
        platform.defaultBrowser, Desktop::X11);
    controller.install();
    const QPointer<QSystemTrayIcon> firstIcon = controller.trayIcon();
    const QPointer<QMenu> firstMenu = controller.menu();
    ASSERT_TRUE(firstIcon);
    controller.install();
    EXPECT_FALSE(firstIcon) << "the first icon is gone";
    EXPECT_FALSE(firstMenu) << "the first menu is gone";
    EXPECT_EQ(controller.trayIcon()->contextMenu(), controller.menu());

    // An item missing triggers nothing, which the checks below see.
    const auto trigger = [&](const QString& text) {
        for (QAction* action : controller.menu()->actions()) {
            if (action->text() == text)
                action->trigger();
        }
    };
    trigger(u"既定のブラウザにする…"_s);
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.requests.size(), 3);
    EXPECT_TRUE(triggered.isEmpty());
    trigger(u"設定を開く…"_s);
    trigger(u"終了"_s);
    EXPECT_EQ(triggered, (QStringList{u"settings"_s, u"quit"_s}));
}
