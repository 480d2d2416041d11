// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Application.h"
#include "browser/BrowserChoice.h"
#include "platform/Platform.h"
#include "rules/FeatureFlags.h"

#include "FakePlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QUrl>

namespace {

/// Orlim made on the fake platform's services, as it runs.
struct Orlim
{
    FakePlatform platform;
    Platform services = platform.services();
    Application app{services};

    void route(const QStringList& links, const QString& token = {})
    {
        app.delegate().openURLs(links, token);
    }
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = {})
    {
        QTest::keyClick(app.picker().content(), key, modifiers);
    }
};

} // namespace

// With no profiles every link opens in "Default" at once, in order, with the
// clicking program's activation token, and the start-up it announced ends
// there, since no window of Orlim's comes for it. With profiles (one that is
// not "Default" is still a choice) every link goes to the picker with the whole
// catalogue, read afresh for each link, and brings it forward with its token.
// A link that needs no choice while links wait for the picker waits its turn.
// Without a browser the link is told, and its start-up ends too.
TEST(LinkRouter, DefaultOrThePicker)
{
    Orlim o;
    FakePlatform& platform = o.platform;
    o.route({u"https://a"_s, QString()}, u"clicked"_s);
    platform.writeLocalState(R"({"profile": {"info_cache": {"Profile 1": {}}}})");
    o.route({u"https://b"_s});
    platform.writeLocalState(R"({"profile": {"profiles_order": ["Profile 1"],
        "info_cache": {"Default": {}, "Profile 1": {}, "Profile 2": {}}}})");
    o.route({u"https://c"_s}, u"clicked"_s);
    EXPECT_EQ(platform.windowActivation.presentedWith.last(), u"clicked"_s);
    platform.writeLocalState(R"({"profile": {"info_cache": {}}})");
    o.route({u"https://w"_s}, u"waits"_s);
    o.press(Qt::Key_1);
    o.press(Qt::Key_3);
    platform.scheduler.runAll();
    EXPECT_EQ(platform.processes.starts,
              (QStringList{
                  u"/opt/google/chrome/chrome|--profile-directory=Default|https://a|clicked"_s,
                  u"/opt/google/chrome/chrome|--profile-directory=Default||clicked"_s,
                  u"/opt/google/chrome/chrome|--profile-directory=Profile 1|https://b|"_s,
                  u"/opt/google/chrome/chrome|--profile-directory=Profile 2|https://c|"_s,
                  u"/opt/google/chrome/chrome|--profile-directory=Default|https://w|token-1"_s}));
    EXPECT_EQ(platform.windowActivation.finished, (QStringList{u"clicked"_s, u"waits"_s}));
    platform.applications.installed.clear();
    o.route({u"https://d"_s}, u"clicked again"_s);
    EXPECT_TRUE(platform.notifications.shown.last().endsWith(u"\nhttps://d|リンクをコピー"_s));
    EXPECT_EQ(platform.windowActivation.finished.last(), u"clicked again"_s);
}

// Without a notification service, the window of links not opened comes up only
// once the picker has gone, whether or not the picker had the keyboard yet;
// closed by the user while a picker is up, it stays closed as that one goes.
TEST(LinkRouter, TheLinksNotOpenedWaitForThePicker)
{
    Orlim o;
    auto& installed = o.platform.applications.installed;
    const auto browsers = installed;
    o.platform.notifications.available = false;
    o.platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    o.route({u"https://x"_s});
    installed.clear();
    o.route({u"https://e"_s});
    EXPECT_FALSE(o.app.notice().window());
    o.press(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return o.app.notice().window(); }));
    installed = browsers;
    o.route({u"https://y"_s});
    installed.clear();
    o.route({u"https://f"_s});
    o.app.notice().window()->close();
    o.press(Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_FALSE(o.app.notice().window()->isVisible());
}

// The picker offers every browser shown, the served one first, and a row's
// choice starts its own browser, a private window with that browser's switch.
// With no profiles in any, the link opens in the served one's "Default". Each
// link stays with the browsers shown when it arrives, though the user changes
// them in the settings meanwhile; one removed before the choice starts
// nothing, and the link is told in a notification.
TEST(LinkRouter, EachLinkWithTheBrowsersShownOnArrival)
{
    Orlim o;
    auto& installed = o.platform.applications.installed;
    installed[u"microsoft-edge.desktop"_s] =
        desktopEntry(u"Microsoft Edge"_s, u"microsoft-edge %U"_s);
    ASSERT_TRUE(o.platform.browsers.choice().show(
        {u"google-chrome.desktop"_s, u"microsoft-edge.desktop"_s}));
    o.route({u"https://a"_s});
    writeFile(o.platform.root.path() + u"/config/microsoft-edge/Local State",
              R"({"profile": {"info_cache": {"Profile 2": {}}}})");
    o.route({u"https://b"_s});
    o.press(Qt::Key_1, Qt::ShiftModifier);
    o.platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    o.route({u"https://c"_s});
    o.press(Qt::Key_2, Qt::ShiftModifier);
    o.route({u"https://d"_s});
    o.press(Qt::Key_3, Qt::ShiftModifier);

    o.route({u"https://e"_s});
    ASSERT_TRUE(o.platform.browsers.choice().show({u"microsoft-edge.desktop"_s}));
    o.press(Qt::Key_2);
    o.route({u"https://f"_s});
    installed.remove(u"microsoft-edge.desktop"_s);
    o.press(Qt::Key_1);
    EXPECT_EQ(
        o.platform.processes.starts,
        (QStringList{
            u"/opt/google/chrome/chrome|--profile-directory=Default|https://a|"_s,
            u"microsoft-edge|--profile-directory=Profile 2|--inprivate|https://b|token-1"_s,
            u"/opt/google/chrome/chrome|--profile-directory=Profile 1|--incognito|https://c|token-2"_s,
            u"microsoft-edge|--profile-directory=Profile 2|--inprivate|https://d|token-3"_s,
            u"/opt/google/chrome/chrome|--profile-directory=Profile 1|https://e|token-4"_s}));
    EXPECT_EQ(o.platform.notifications.shown,
              QStringList{u"リンクを開けませんでした|このリンクを開くブラウザが見つかりません。"
                          u"アンインストールされた可能性があります。\nhttps://f|リンクをコピー"_s});
}

// The picker leaves out the profiles hidden in the settings, and a browser
// with all of its hidden, and its digits count the rows left; with every
// profile hidden it offers them all. A folder hidden and gone, or hidden in a
// browser not shown, changes nothing. The rows are settled as the link arrives.
TEST(LinkRouter, HiddenProfilesLeftOutOfThePicker)
{
    Orlim o;
    o.platform.applications.installed[u"microsoft-edge.desktop"_s] =
        desktopEntry(u"Microsoft Edge"_s, u"microsoft-edge %U"_s);
    o.platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {"name": "Personal"},
        "Profile 1": {"name": "Work"}, "Profile 2": {"name": "Test"}}}})");
    writeFile(o.platform.root.path() + u"/config/microsoft-edge/Local State",
              R"({"profile": {"info_cache": {"Profile 2": {"name": "Edge"}}}})");
    const auto rows = [&] {
        QStringList names;
        for (const ChromeProfile& profile : o.app.picker().content()->model().profiles())
            names.append(profile.displayName);
        return names.join(u' ');
    };
    const std::pair<const char*, const char*> cases[] = {
        // what browser.json hides, the picker's rows
        {R"({"google-chrome.desktop": ["Default", "Gone"], "chromium.desktop": ["Default"]})",
         "Work Test Edge"},
        {R"({"microsoft-edge.desktop": ["Profile 2"], "google-chrome.desktop": ["Profile 1"]})",
         "Personal Test"},
        {R"({"microsoft-edge.desktop": ["Profile 2"], "google-chrome.desktop": ["Default",
            "Profile 1", "Profile 2"]})",
         "Personal Work Test Edge"},
        {R"({"google-chrome.desktop": "Default", "": ["Profile 2"], "x": [7]})",
         "Personal Work Test Edge"},
    };
    for (const auto& [hidden, shown] : cases) {
        writeFile(o.platform.browsers.choice().fileURL(),
                  R"({"shown": ["google-chrome.desktop", "microsoft-edge.desktop"], "hidden": )" +
                      QByteArray(hidden) + '}');
        o.route({u"https://a"_s});
        EXPECT_EQ(rows(), QString::fromUtf8(shown)) << hidden;
        o.press(Qt::Key_Escape);
    }
    writeFile(o.platform.browsers.choice().fileURL(),
              R"({"hidden": {"google-chrome.desktop": ["Default"]}})");
    o.route({u"https://b"_s});
    o.route({u"https://c"_s});
    ASSERT_TRUE(o.platform.browsers.choice().hide({}));
    o.press(Qt::Key_2);
    EXPECT_EQ(rows(), u"Work Test"_s);
    o.press(Qt::Key_Escape);
    o.platform.scheduler.runAll();
    EXPECT_EQ(o.platform.processes.starts,
              QStringList{
                  u"/opt/google/chrome/chrome|--profile-directory=Profile 2|https://b|token-1"_s});
}

// Rules decide only while switched on. A rule opens its link in its own
// browser, shown in the picker or not, in its profile, hidden there or not; a rule whose browser is
// gone, or whose profile its browser lacks, leaves its link to the picker. A rule written before
// rules named a browser is settled, as Orlim starts, on the one served. A rule remembered in the
// picker names the chosen row's browser.
TEST(LinkRouter, EachRuleOpensInItsBrowser)
{
    Orlim o;
    FakePlatform& platform = o.platform;
    platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    platform.applications.installed[u"chromium.desktop"_s] =
        desktopEntry(u"Chromium"_s, u"chromium %U"_s);
    writeFile(platform.root.path() + u"/config/chromium/Local State",
              R"({"profile": {"info_cache": {"Profile 2": {}}}})");
    writeFile(platform.rules.fileURL(),
              readFile(QStringLiteral(ORLIM_TEST_DATA "/rules/browsers.json")));
    HiddenProfiles hidden;
    hidden.set(u"chromium.desktop"_s, u"Profile 2"_s, true);
    hidden.set(u"google-chrome.desktop"_s, u"Profile 1"_s, true);
    ASSERT_TRUE(platform.browsers.choice().hide(hidden));
    Application app(o.services);
    EXPECT_EQ(platform.rules.load().last().browser,
              FeatureFlags::rulesEnabled ? u"google-chrome.desktop"_s : QString());
    platform.rules.upsert(u"https://lacking.example"_s, u"Profile 2"_s, u"google-chrome.desktop"_s);

    app.delegate().openURLs({u"https://chromium.example/a"_s, u"https://legacy.example/b"_s,
                             u"https://gone.example/c"_s, u"https://lacking.example/d"_s},
                            {});
    if (!FeatureFlags::rulesEnabled) {
        EXPECT_TRUE(platform.processes.starts.isEmpty());
        return;
    }
    EXPECT_EQ(platform.processes.starts,
              (QStringList{u"chromium|--profile-directory=Profile 2|https://chromium.example/a|"_s,
                           u"/opt/google/chrome/chrome|--profile-directory=Profile 1|"
                           u"https://legacy.example/b|"_s}));
    app.picker().content()->findChild<QCheckBox*>()->click();
    QTest::keyClick(app.picker().content(), Qt::Key_1);
    EXPECT_EQ(app.picker().content()->model().url(), u"https://lacking.example/d"_s);
    EXPECT_EQ(platform.rules.load().at(2),
              (ProfileRule{u"https://gone.example"_s, u"Default"_s, u"google-chrome.desktop"_s}));
}

// A wrapped link goes where its destination goes: by a rule for the
// destination where rules are on, else to the picker, which shows the
// destination. What opens is the link as given, until the box in the settings
// asks for the destination; the box shows what was kept when the settings
// come again.
TEST(LinkRouter, WrappedLinksByTheirDestination)
{
    Orlim o;
    o.platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    o.platform.rules.upsert(u"https://ruled.example"_s, u"Profile 1"_s, u"google-chrome.desktop"_s);
    const QString destination = u"https://ruled.example/a?b=c"_s;
    const QString given = u"https://l.facebook.com/l.php?u="_s +
                          QString::fromLatin1(QUrl::toPercentEncoding(destination)) + u"&h=AT0"_s;
    const auto box = [&]() -> QCheckBox* {
        o.app.delegate().applicationShouldHandleReopen({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* section = window->findChild<QWidget*>(u"wrappedLinks"_s))
                return section->findChild<QCheckBox*>();
        }
        return nullptr;
    };
    for (const bool on : {false, true}) {
        QCheckBox* shown = box();
        ASSERT_TRUE(shown);
        EXPECT_FALSE(shown->isChecked()) << "off as shipped";
        if (on)
            shown->click();
        o.route({given});
        if (!FeatureFlags::rulesEnabled) {
            EXPECT_EQ(o.app.picker().content()->model().url(), destination);
            o.press(Qt::Key_2);
            o.platform.scheduler.runAll();
        }
        const QStringList& starts = o.platform.processes.starts;
        EXPECT_EQ(starts.value(starts.size() - 1).section(u'|', 0, 2),
                  u"/opt/google/chrome/chrome|--profile-directory=Profile 1|"_s +
                      (on ? destination : given));
    }
    EXPECT_TRUE(box()->isChecked()) << "as kept";
}

// The settings open 0.3 s after a launch without a link, never after one with
// a link, and on every reopen; the check does nothing once the delegate is gone.
TEST(AppDelegate, SettingsCheck)
{
    Orlim o;
    const QStringList& shown = o.platform.windowActivation.presentedWith;
    {
        Application gone(o.services);
        gone.delegate().applicationDidFinishLaunching(u"gone"_s);
    }
    o.app.delegate().applicationDidFinishLaunching(u"started"_s);
    o.platform.scheduler.advance(299);
    EXPECT_TRUE(shown.isEmpty());
    o.platform.scheduler.advance(1);
    o.route({u"https://early"_s});
    o.app.delegate().applicationDidFinishLaunching(u"after a link"_s);
    o.platform.scheduler.runAll();
    o.app.delegate().applicationShouldHandleReopen(u"again"_s);
    EXPECT_EQ(shown, (QStringList{u"started"_s, u"again"_s}));
}
