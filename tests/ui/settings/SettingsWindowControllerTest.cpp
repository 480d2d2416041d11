// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsWindowController.h"
#include "rules/FeatureFlags.h"
#include "ui/settings/SettingsView.h"
#include "ui/window/TitleBar.h"
#include "ui/window/WindowShortcuts.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>

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

// As built, with two browsers of five profiles each and the warning shown, the
// whole content fits the window, アプリを終了 too, with room for two rows more.
// A profile unchecked is hidden from the picker by its browser and folder; the
// write forgets the folders that browser no longer has, keeps another
// browser's, and the box keeps the keyboard. With every profile unchecked the
// settings say that the picker shows them all.
TEST(SettingsView, TwoBrowsersOfFiveProfilesFitAndHide)
{
    FakePlatform platform;
    platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {"name": "Personal"},
        "Profile 1": {"name": "Work"}, "Profile 2": {"name": "Family"},
        "Profile 3": {"name": "Testing"}, "Profile 4": {"name": "Shopping"}}}})");
    platform.applications.installed[u"firefox-esr.desktop"_s] =
        desktopEntry(u"Firefox ESR"_s, u"firefox-esr %u"_s);
    QByteArray ini;
    for (const char* name : {"仕事", "Work", "Family", "Testing", "Banking"})
        ini += "[Profile" + QByteArray::number(ini.count('[')) + "]\nName=" + name +
               "\nIsRelative=1\nPath=x." + name + "\n";
    writeFile(platform.root.path() + u"/config/mozilla/firefox/profiles.ini", ini);
    writeFile(platform.browsers.choice().fileURL(),
              R"({"shown": ["google-chrome.desktop", "firefox-esr.desktop"], "hidden":
        {"google-chrome.desktop": ["Gone", "Profile 4"], "chromium.desktop": ["Default"]}})");
    SettingsView view(
        {platform.browsers, platform.rules, platform.defaultBrowser, platform.scheduler, {}});
    view.show();
    QApplication::processEvents();
    const QWidget* body = view.findChild<QScrollArea*>()->widget();
    const QWidget* quit = view.findChild<QPushButton*>(u"quit"_s);
    ASSERT_TRUE(view.findChild<QWidget*>(u"warning"_s));
    if (!FeatureFlags::rulesEnabled) {
        EXPECT_LE(body->sizeHint().height() + 2 * quit->sizeHint().height(), view.height());
        EXPECT_TRUE(view.rect().contains(QRect(quit->mapTo(&view, QPoint()), quit->size())));
    }

    const auto box = [&](const char* name) {
        return view.findChild<QCheckBox*>(QString::fromUtf8(name));
    };
    EXPECT_TRUE(hasLabel(&view, u"チェックしたプロファイルを選択ウィンドウに表示します。"_s));
    ASSERT_TRUE(box("shown-0-4") && !box("shown-0-4")->isChecked() && box("shown-1-4"));
    box("shown-0-0")->setFocus();
    QTest::keyClick(box("shown-0-0"), Qt::Key_Space);
    QApplication::processEvents();
    view.model().setProfileShown(1, 4, false);
    HiddenProfiles hidden;
    for (const char* folder : {"Default", "Profile 4"})
        hidden.set(u"google-chrome.desktop"_s, QString::fromUtf8(folder), true);
    hidden.set(u"chromium.desktop"_s, u"Default"_s, true);
    hidden.set(u"firefox-esr.desktop"_s,
               platform.root.path() + u"/config/mozilla/firefox/x.Banking", true);
    EXPECT_EQ(platform.browsers.choice().hidden(), hidden);
    EXPECT_EQ(view.focusWidget(), box("shown-0-0"));
    for (int g = 0; g < 2; ++g) {
        for (int p = 0; p < 5; ++p)
            view.model().setProfileShown(g, p, false);
    }
    EXPECT_TRUE(hasLabel(
        &view,
        u"チェックしたプロファイルがないため、選択ウィンドウにはすべてのプロファイルを表示します。"_s));
}
