#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"
#include "ui/DefaultBrowserStatus.h"
#include "ui/SettingsView.h"
#include "ui/SettingsWindowController.h"

#include "FakePlatform.h"

#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

bool hasLabel(const QWidget* root, const QString& text)
{
    for (const QLabel* label : root->findChildren<QLabel*>())
        if (label->text() == text)
            return true;
    return false;
}

} // namespace

// A refused change is read again every half second, nine readings in all; an
// accepted one is read once. A chain started for a content that was replaced
// never touches the new one.
TEST(DefaultBrowserStatus, FollowUpReadings)
{
    FakePlatform platform;
    platform.defaultBrowser.acceptsRequests = false;
    platform.defaultBrowser.httpsHandler = u"firefox.desktop"_qs;
    {
        DefaultBrowserStatus status;
        status.makeDefault();
        platform.scheduler.runAll();
        EXPECT_EQ(platform.defaultBrowser.readings, 9);
        EXPECT_EQ(platform.scheduler.delays,
                  (std::vector<int>{20, 10, 500, 500, 500, 500, 500, 500, 500, 500}));
        EXPECT_FALSE(status.isDefaultBrowser());
    }
    platform.defaultBrowser.acceptsRequests = true;
    platform.defaultBrowser.readings = 0;
    DefaultBrowserStatus status;
    status.makeDefault();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.readings, 1);
    EXPECT_TRUE(status.isDefaultBrowser());

    platform.defaultBrowser.httpsHandler.reset();
    auto old = std::make_unique<SettingsView>();
    old->defaultBrowserStatus().poll(DefaultBrowserStatus::followUpCount);
    SettingsView replacement;
    replacement.appear();
    const int readingsBefore = platform.defaultBrowser.readings;
    old.reset();
    platform.defaultBrowser.httpsHandler = u"orlim.desktop"_qs;
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.readings, readingsBefore);
    EXPECT_FALSE(replacement.defaultBrowserStatus().isDefaultBrowser()) << "until read again";
}

// One window across shows, with fresh content each time: the warning follows
// the default browser, the profile list what Chrome has now.
TEST(SettingsWindow, FreshContentInTheSameWindow)
{
    FakePlatform platform;
    SettingsWindowController controller;
    controller.show();
    QWidget* window = controller.window();
    SettingsView* first = controller.content();
    ASSERT_TRUE(window && first);
    EXPECT_TRUE(hasLabel(first, u"検出した Chrome プロファイル（0）"_qs));
    EXPECT_EQ(first->findChild<QWidget*>(u"rules"_qs) != nullptr, FeatureFlags::rulesEnabled);
    first->findChild<QPushButton*>(u"makeDefault"_qs)->click();
    platform.scheduler.runAll();
    EXPECT_FALSE(first->findChild<QWidget*>(u"warning"_qs)) << "the warning follows the change";

    window->close();
    platform.writeProfiles({u"Default"_qs, u"Profile 1"_qs});
    controller.show();
    EXPECT_EQ(controller.window(), window);
    EXPECT_NE(controller.content(), first);
    EXPECT_TRUE(hasLabel(controller.content(), u"検出した Chrome プロファイル（2）"_qs));
    EXPECT_TRUE(hasLabel(controller.content(), u"Profile 1"_qs)) << "directories beside names";
    EXPECT_TRUE(window->isVisible());
}

// With rules on: reordering and deleting write the file and show what it
// holds; the ends' buttons are disabled; a missing profile shows its directory;
// the icon buttons have names.
TEST(SettingsView, RuleList)
{
    if constexpr (!FeatureFlags::rulesEnabled)
        GTEST_SKIP() << "the rule list exists only with rules on";
    FakePlatform platform;
    platform.writeProfiles({u"Default"_qs, u"Profile 1"_qs});
    const ProfileRule A{u"https://a"_qs, u"Default"_qs}, B{u"https://b"_qs, u"Profile 1"_qs},
        C{u"https://c"_qs, u"Gone"_qs}, A1{u"https://a"_qs, u"Profile 1"_qs};
    RuleStore::save({A, B, C, A1});
    SettingsView view;
    view.appear();
    EXPECT_TRUE(hasLabel(&view, u"→ Name of Default"_qs));
    EXPECT_TRUE(hasLabel(&view, u"→ Gone"_qs));
    const auto button = [&](int row, const char* name) {
        QWidget* rowWidget = view.findChild<QWidget*>(u"rule-" + QString::number(row));
        return rowWidget ? rowWidget->findChild<QToolButton*>(QString::fromLatin1(name)) : nullptr;
    };
    EXPECT_FALSE(button(0, "up")->isEnabled());
    EXPECT_FALSE(button(3, "down")->isEnabled());
    for (const QToolButton* icon : view.findChildren<QToolButton*>())
        EXPECT_FALSE(icon->accessibleName().isEmpty()) << "a screen reader names it";
    button(2, "up")->click();
    EXPECT_EQ(RuleStore::load(), (ProfileRules{A, C, B, A1}));
    button(0, "delete")->click();
    EXPECT_EQ(RuleStore::load(), (ProfileRules{C, B})) << "both rules with the prefix go";
    EXPECT_TRUE(hasLabel(&view, u"自動で開くルール（2）"_qs));
    EXPECT_EQ(view.rules(), RuleStore::load());
}
