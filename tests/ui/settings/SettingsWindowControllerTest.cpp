// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsWindowController.h"
#include "rules/FeatureFlags.h"
#include "ui/settings/SettingsView.h"
#include "ui/window/TitleBar.h"
#include "ui/window/WindowShortcuts.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace {

bool hasLabel(const QWidget* root, const QString& text)
{
    const QList<QLabel*> labels = root->findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(), [&](QLabel* l) { return l->text() == text; });
}

} // namespace

// One window across shows, with fresh content each time: the warning follows
// the default browser, the profile list what the browsers have now. Where Orlim
// draws its own title bar (Wayland), the window carries it and asks for no
// other. Ctrl+, and Ctrl+Q, and the quit button, trigger what the application
// made them for. With one browser there is no list of browsers. With two,
// Space checks the current one and Alt+Up moves it first, the keyboard staying
// on it, and the profiles follow grouped by browser; a Firefox profile is shown
// by its name, never by its folder's path.
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
    EXPECT_FALSE(first->findChild<QListWidget*>(u"browsers"_s));
    first->findChild<QPushButton*>(u"makeDefault"_s)->click();
    platform.scheduler.runAll();
    EXPECT_FALSE(first->findChild<QWidget*>(u"warning"_s)) << "the warning follows the change";

    window->close();
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/two-profiles.json")));
    platform.applications.installed[u"firefox-esr.desktop"_s] =
        desktopEntry(u"Firefox ESR"_s, u"firefox-esr %u"_s);
    writeFile(platform.root.path() + u"/config/mozilla/firefox/profiles.ini",
              "[Profile0]\nName=仕事\nIsRelative=1\nPath=x1.work\n");
    controller.show();
    EXPECT_EQ(controller.window(), window);
    EXPECT_TRUE(window->isVisible());
    SettingsView* view = controller.content();
    EXPECT_TRUE(hasLabel(view, u"Profile 1"_s)) << "directories beside names";
    const auto list = [&] { return view->findChild<QListWidget*>(u"browsers"_s); };
    ASSERT_TRUE(list());
    list()->setFocus();
    list()->setCurrentRow(1);
    QTest::keyClick(list(), Qt::Key_Space);
    QApplication::processEvents();
    QTest::keyClick(list(), Qt::Key_Up, Qt::AltModifier);
    QApplication::processEvents();
    EXPECT_EQ(platform.browsers.choice().shown(),
              (QStringList{u"firefox-esr.desktop"_s, u"google-chrome.desktop"_s}));
    EXPECT_EQ(list()->currentRow(), 0);
    EXPECT_EQ(view->focusWidget(), list());
    EXPECT_TRUE(hasLabel(view, u"検出したプロファイル（3）"_s));
    EXPECT_TRUE(hasLabel(view, u"Firefox ESR"_s)) << "its group named as the list names it";
    for (const QLabel* label : view->findChildren<QLabel*>())
        EXPECT_FALSE(label->text().contains(u"x1.work"_s)) << label->text().toStdString();
}
