// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsWindowController.h"
#include "rules/FeatureFlags.h"
#include "ui/settings/SettingsView.h"
#include "ui/window/TitleBar.h"
#include "ui/window/WindowShortcuts.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>

namespace {

bool hasLabel(const QWidget* root, const QString& text)
{
    const QList<QLabel*> labels = root->findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(), [&](QLabel* l) { return l->text() == text; });
}

} // namespace

// One window across shows, with fresh content each time: the warning follows
// the default browser, the profile list what Chrome has now. Where Orlim draws
// its own title bar (Wayland), the window carries it and asks for no other.
// Ctrl+, and Ctrl+Q, and the quit button, trigger what the application made
// them for.
TEST(SettingsWindowController, FreshContentInTheSameWindow)
{
    FakePlatform platform;
    QStringList pressed;
    const WindowShortcuts::Actions keys{[&] { pressed.append(u"settings"_s); },
                                        [&] { pressed.append(u"quit"_s); }};
    SettingsWindowController controller({platform.windowActivation, true, &keys},
                                        {platform.browsers, platform.rules, platform.defaultBrowser,
                                         platform.scheduler,
                                         [&] { pressed.append(u"quit button"_s); }});
    controller.show();
    QWidget* window = controller.window();
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::FramelessWindowHint) &&
                window->findChild<TitleBar*>());
    QApplication::processEvents();
    QTest::keyClick(controller.content(), Qt::Key_Comma, Qt::ControlModifier);
    QTest::keyClick(controller.content(), Qt::Key_Q, Qt::ControlModifier);
    SettingsView* first = controller.content();
    first->findChild<QPushButton*>(u"quit"_s)->click();
    EXPECT_EQ(pressed, (QStringList{u"settings"_s, u"quit"_s, u"quit button"_s}));
    EXPECT_TRUE(hasLabel(first, u"検出した Chrome プロファイル（0）"_s));
    EXPECT_EQ(first->findChild<QWidget*>(u"rules"_s) != nullptr, FeatureFlags::rulesEnabled);
    first->findChild<QPushButton*>(u"makeDefault"_s)->click();
    platform.scheduler.runAll();
    EXPECT_FALSE(first->findChild<QWidget*>(u"warning"_s)) << "the warning follows the change";

    window->close();
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/two-profiles.json")));
    controller.show();
    EXPECT_EQ(controller.window(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(hasLabel(controller.content(), u"検出した Chrome プロファイル（2）"_s));
    EXPECT_TRUE(hasLabel(controller.content(), u"Profile 1"_s)) << "directories beside names";
}

// With two browsers installed the profiles section offers a choice between
// them by name; choosing one shows its profiles and its name at once and
// serves it from the next link on. With one, there is nothing to choose.
TEST(SettingsWindowController, TheBrowserChoice)
{
    FakePlatform platform;
    SettingsView view(
        {platform.browsers, platform.rules, platform.defaultBrowser, platform.scheduler, {}});
    view.appear();
    EXPECT_FALSE(view.findChild<QComboBox*>(u"browser"_s));
    platform.applications.installed[u"brave-browser.desktop"_s] =
        desktopEntry(u"Brave Web Browser"_s, u"/usr/bin/brave %U"_s);
    view.appear();
    QComboBox* browsers = view.findChild<QComboBox*>(u"browser"_s);
    ASSERT_TRUE(browsers);
    EXPECT_EQ(browsers->count(), 2);
    EXPECT_EQ(browsers->currentText(), u"Google Chrome"_s);
    view.model().chooseBrowser(u"brave-browser.desktop"_s);
    EXPECT_TRUE(hasLabel(&view, u"検出した Brave プロファイル（0）"_s));
    EXPECT_TRUE(hasLabel(&view, u"プロファイルが見つかりませんでした。Brave "
                                u"を一度起動してから再度開いてください。"_s));
    EXPECT_EQ(view.findChild<QComboBox*>(u"browser"_s)->currentText(), u"Brave Web Browser"_s);
    EXPECT_EQ(platform.browsers.find()->desktopId, u"brave-browser.desktop"_s);
}
