// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/tray/MenuBarController.h"

#include "FakePlatform.h"

#include <QMenu>

// The default-browser entry asks for the change and shows nothing; installing
// again replaces the tray item. (The menu's texts are read through the tray on
// a desktop.)
TEST(MenuBarController, Actions)
{
    FakePlatform platform;
    int settings = 0;
    MenuBarController controller([&] { ++settings; }, platform.defaultBrowser, Desktop::Other);
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
    item(u"既定のブラウザにする…"_s)->trigger();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.requests.size(), 2);
    EXPECT_EQ(settings, 0);
    item(u"設定を開く…"_s)->trigger();
    EXPECT_EQ(settings, 1);
}
