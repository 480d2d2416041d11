#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"
#include "ui/DefaultBrowserStatus.h"
#include "ui/SettingsView.h"
#include "ui/SettingsWindowController.h"

#include "FakePlatform.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <algorithm>
#include <memory>

namespace {

bool hasLabel(const QWidget* root, const QString& text)
{
    const QList<QLabel*> labels = root->findChildren<QLabel*>();
    return std::any_of(labels.begin(), labels.end(),
                       [&](const QLabel* label) { return label->text() == text; });
}

} // namespace

// Every reading asks the desktop afresh; a chain stops at the first true reading
// or after nine, half a second apart.
TEST(DefaultBrowserStatus, FollowUpReadings)
{
    FakePlatform platform;
    {
        DefaultBrowserStatus status;
        platform.defaultBrowser.acceptsRequests = false;
        platform.defaultBrowser.httpsHandler = u"firefox.desktop"_qs;
        status.makeDefault();
        platform.scheduler.runAll();
        EXPECT_EQ(platform.defaultBrowser.readings, 9);
        EXPECT_EQ(platform.scheduler.delays,
                  (std::vector<int>{20, 10, 500, 500, 500, 500, 500, 500, 500, 500}));
        EXPECT_FALSE(status.isDefaultBrowser());
    }
    for (const int remaining : {0, -3}) {
        DefaultBrowserStatus status;
        platform.defaultBrowser.readings = 0;
        platform.scheduler.delays.clear();
        status.poll(remaining);
        EXPECT_EQ(platform.defaultBrowser.readings, 1);
        EXPECT_TRUE(platform.scheduler.delays.empty());
    }
    {
        DefaultBrowserStatus status;
        platform.defaultBrowser.readings = 0;
        platform.defaultBrowser.acceptsRequests = true;
        status.makeDefault();
        platform.scheduler.runAll();
        EXPECT_EQ(platform.defaultBrowser.readings, 1) << "switched at once: one reading";
        EXPECT_TRUE(status.isDefaultBrowser());
    }
}

// A chain started for a content that was replaced never touches the new one.
TEST(DefaultBrowserStatus, ChainsEndWithTheirContent)
{
    FakePlatform platform;
    platform.defaultBrowser.acceptsRequests = false;
    auto old = std::make_unique<SettingsView>();
    old->appear();
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

TEST(SettingsView, SectionsAndWarning)
{
    FakePlatform platform;
    SettingsView view;
    view.appear();
    EXPECT_TRUE(hasLabel(&view, u"Orlim"_qs));
    EXPECT_TRUE(hasLabel(&view, u"バージョン 0.1.0"_qs));
    EXPECT_TRUE(hasLabel(&view, u"検出した Chrome プロファイル（0）"_qs));
    EXPECT_TRUE(hasLabel(
        &view,
        u"プロファイルが見つかりませんでした。Chrome を一度起動してから再度開いてください。"_qs));
    EXPECT_TRUE(view.findChild<QWidget*>(u"warning"_qs));
    EXPECT_TRUE(hasLabel(&view, u"設定未完了"_qs));
    EXPECT_TRUE(hasLabel(&view, u"その他"_qs));
    EXPECT_EQ(view.findChild<QWidget*>(u"rules"_qs) != nullptr, FeatureFlags::rulesEnabled);

    auto* button = view.findChild<QPushButton*>(u"makeDefault"_qs);
    ASSERT_TRUE(button);
    button->click();
    platform.scheduler.runAll();
    EXPECT_EQ(platform.defaultBrowser.requests.size(), 2);
    EXPECT_FALSE(view.findChild<QWidget*>(u"warning"_qs)) << "the warning follows the change";

    platform.writeProfiles({u"Default"_qs, u"Profile 1"_qs});
    view.appear();
    EXPECT_TRUE(hasLabel(&view, u"検出した Chrome プロファイル（2）"_qs));
    EXPECT_TRUE(hasLabel(&view, u"Profile 1"_qs)) << "directory names beside the names";
}

// With rules on: counts, reordering and deleting write the file and show what
// it holds; the ends' buttons are disabled; a missing profile shows its directory.
TEST(SettingsView, RuleList)
{
    if constexpr (!FeatureFlags::rulesEnabled)
        GTEST_SKIP() << "the rule list exists only with rules on";
    FakePlatform platform;
    platform.writeProfiles({u"Default"_qs, u"Profile 1"_qs});
    const ProfileRule A{u"https://a"_qs, u"Default"_qs}, B{u"https://b"_qs, u"Profile 1"_qs},
        C{u"https://c"_qs, u"Gone"_qs};
    RuleStore::save({A, B, C, {u"https://a"_qs, u"Profile 1"_qs}});
    SettingsView view;
    view.appear();
    EXPECT_TRUE(hasLabel(&view, u"自動で開くルール（4）"_qs));
    EXPECT_TRUE(hasLabel(&view, u"→ Name of Default"_qs));
    EXPECT_TRUE(hasLabel(&view, u"→ Gone"_qs));

    auto button = [&](int row, const char* name) {
        QWidget* rowWidget = view.findChild<QWidget*>(u"rule-" + QString::number(row));
        return rowWidget ? rowWidget->findChild<QToolButton*>(QString::fromLatin1(name)) : nullptr;
    };
    EXPECT_FALSE(button(0, "up")->isEnabled());
    EXPECT_TRUE(button(0, "down")->isEnabled());
    EXPECT_FALSE(button(3, "down")->isEnabled());

    button(2, "up")->click();
    EXPECT_EQ(RuleStore::load(), (ProfileRules{A, C, B, {u"https://a"_qs, u"Profile 1"_qs}}));
    EXPECT_EQ(view.rules(), RuleStore::load());
    button(0, "delete")->click();
    EXPECT_EQ(RuleStore::load(), (ProfileRules{C, B})) << "both rules with the prefix go";
    EXPECT_TRUE(hasLabel(&view, u"自動で開くルール（2）"_qs));

    RuleStore::save({A});
    view.appear();
    EXPECT_FALSE(button(0, "up")->isEnabled());
    EXPECT_FALSE(button(0, "down")->isEnabled());
}

// One window object across shows, with fresh content each time.
TEST(SettingsWindow, ReusesTheWindowWithFreshContent)
{
    FakePlatform platform;
    SettingsWindowController controller;
    controller.show();
    QWidget* window = controller.window();
    ASSERT_TRUE(window);
    EXPECT_EQ(window->windowTitle(), u"Orlim 設定"_qs);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    SettingsView* first = controller.content();
    QApplication::processEvents();
    EXPECT_TRUE(first->profiles().isEmpty());

    window->close();
    platform.writeProfiles({u"Default"_qs});
    controller.show();
    QApplication::processEvents();
    EXPECT_EQ(controller.window(), window);
    EXPECT_NE(controller.content(), first);
    EXPECT_EQ(controller.content()->profiles().size(), 1)
        << "the new content loaded the new profile";
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->size(), QSize(460, 560));
}
