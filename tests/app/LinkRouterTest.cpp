// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/LinkRouter.h"
#include "chrome/BrowserChoice.h"
#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"
#include "ui/notice/LinkNotice.h"
#include "ui/picker/PickerWindowController.h"

#include "FakePlatform.h"

namespace {

/// Windows that record what they were asked to show: "picker <link> <number of
/// profiles> <the first's directory> <token>", "not opened <link> <why>", and
/// "in turn <link> <directory>" while `asking` says links wait for the picker.
LinkRouter::Windows recordInto(QStringList& shown, const bool& asking = false)
{
    return {
        [&shown](const QString& url, const QList<ChromeProfiles::BrowserProfiles>& groups,
                 const QString& token) {
            const QList<ChromeProfile> profiles = groups.value(0).profiles;
            shown.append(u"picker %1 %2 %3 %4"_s.arg(url)
                             .arg(profiles.size())
                             .arg(profiles.value(0).directoryName, token));
        },
        [&shown](const QString& url, ChromeLauncher::Failure why) {
            shown.append(u"not opened %1 %2"_s.arg(url).arg(int(why)));
        },
        [&shown, &asking](const QString& url, const ChromeInstallation&, const QString& directory) {
            if (asking)
                shown.append(u"in turn %1 %2"_s.arg(url, directory));
            return asking;
        }};
}

/// The picker, its choices opened by the launcher, and a router showing it `browsers`.
struct Routed
{
    Routed(FakePlatform& platform, LinkRouter::Browsers browsers,
           const ChromeLauncher::FailureHandler& notOpened = {})
        : picker({{},
                  [&platform, notOpened](const ChromeInstallation& browser,
                                         const ChromeLauncher::Request& request) {
                      platform.launcher.openChosen(browser, request, notOpened);
                  }},
                 {platform.windowActivation}, platform.scheduler),
          router({[this](const QString& url, const QList<ChromeProfiles::BrowserProfiles>& groups,
                         const QString& token) { picker.show(url, groups, token); },
                  notOpened,
                  [this](const QString& url, const ChromeInstallation& browser,
                         const QString& directory) {
                      return picker.openInTurn(url, browser, directory);
                  }},
                 std::move(browsers), platform.launcher, platform.rules, platform.windowActivation)
    {
    }
    PickerWindowController picker;
    LinkRouter router;
};

} // namespace

// With no profiles every link opens in "Default" at once, in order, with the
// clicking program's activation token, and the start-up it announced ends
// there, since no window of Orlim's comes for it. With profiles (one that is
// not "Default" is still a choice) every link goes to the picker with the whole
// catalogue, read afresh for each link. A link that needs no choice while
// links wait for the picker waits its turn.
TEST(LinkRouter, DefaultOrThePicker)
{
    FakePlatform platform;
    QStringList shown;
    bool asking = false;
    LinkRouter router(recordInto(shown, asking), LinkRouter::browsersShown(platform.browsers),
                      platform.launcher, platform.rules, platform.windowActivation);
    router.route({u"https://a"_s, QString()}, u"clicked"_s);
    asking = true;
    router.route({u"https://w"_s}, u"waits"_s);
    asking = false;
    platform.writeLocalState(R"({"profile": {"info_cache": {"Profile 1": {}}}})");
    router.route({u"https://b"_s});
    platform.writeLocalState(R"({"profile": {"profiles_order": ["Profile 1"],
        "info_cache": {"Default": {}, "Profile 1": {}, "Profile 2": {}}}})");
    router.route({u"https://c"_s}, u"clicked"_s);
    EXPECT_EQ(
        platform.processes.starts,
        (QStringList{u"/opt/google/chrome/chrome|--profile-directory=Default|https://a|clicked"_s,
                     u"/opt/google/chrome/chrome|--profile-directory=Default||clicked"_s}));
    EXPECT_EQ(shown,
              (QStringList{u"in turn https://w Default"_s, u"picker https://b 1 Profile 1 "_s,
                           u"picker https://c 3 Profile 1 clicked"_s}));
    EXPECT_EQ(platform.windowActivation.finished, (QStringList{u"clicked"_s, u"waits"_s}));
    platform.applications.installed.clear();
    router.route({u"https://d"_s}, u"clicked again"_s);
    EXPECT_EQ(shown.last(),
              u"not opened https://d %1"_s.arg(int(ChromeLauncher::Failure::NoBrowser)));
    EXPECT_EQ(platform.windowActivation.finished.last(), u"clicked again"_s);
}

// Each link goes to the browser served when it arrives, and stays with it: the
// picker lists that browser's profiles, and the choice starts that browser,
// though the user chose another in the settings meanwhile. One removed before
// the choice starts nothing; with no browser at all the link is dropped. Each
// is shown to the user: a notification naming the link, whose action copies
// it; without a notification service, Orlim's own window.
TEST(LinkRouter, OneBrowserPerLinkAndNoLinkLostInSilence)
{
    FakePlatform platform;
    auto& installed = platform.applications.installed;
    installed[u"chromium.desktop"_s] = desktopEntry(u"Chromium"_s, u"chromium %U"_s);
    platform.writeLocalState(R"({"profile": {"info_cache": {"Profile 3": {}}}})");
    writeFile(platform.root.path() + u"/config/chromium/Local State",
              R"({"profile": {"info_cache": {"Profile 9": {}}}})");
    LinkNotice notice({platform.windowActivation}, platform.notifications);
    const auto notOpened = [&](const QString& url, ChromeLauncher::Failure why) {
        notice.show(url, why);
    };
    Routed routed(platform, LinkRouter::browsersShown(platform.browsers), notOpened);
    auto& [picker, router] = routed;
    router.route({u"https://a"_s});
    ASSERT_TRUE(platform.browsers.choice().choose(u"chromium.desktop"_s));
    QTest::keyClick(picker.content(), Qt::Key_1);
    router.route({u"https://b"_s});
    installed.remove(u"chromium.desktop"_s);
    QTest::keyClick(picker.content(), Qt::Key_1);
    EXPECT_EQ(platform.processes.starts,
              QStringList{
                  u"/opt/google/chrome/chrome|--profile-directory=Profile 3|https://a|token-1"_s});
    EXPECT_EQ(platform.notifications.shown,
              QStringList{LinkNotice::summary() + u'|' +
                          LinkNotice::reason(ChromeLauncher::Failure::BrowserGone) +
                          u"\nhttps://b|リンクをコピー"_s});
    platform.notifications.picks.last()(u"from-the-server"_s);
    EXPECT_EQ(platform.windowActivation.presentedWith.last(), u"from-the-server"_s);

    installed.clear();
    platform.notifications.available = false;
    router.route({u"https://c <b>"_s});
    ASSERT_TRUE(notice.window());
    EXPECT_TRUE(notice.window()->isVisible());
    EXPECT_EQ(notice.links(), (QStringList{u"https://b"_s, u"https://c <b>"_s}));
}

// The picker offers every browser shown, the served one first, and a row's
// choice starts its own browser, a private window with that browser's switch.
// With no profiles in any, the link opens in the served one's "Default".
TEST(LinkRouter, SeveralBrowsersInOnePicker)
{
    FakePlatform platform;
    platform.applications.installed[u"chromium.desktop"_s] =
        desktopEntry(u"Chromium"_s, u"chromium %U"_s);
    QList<ChromeInstallation> browsers = platform.browsers.installed(); // Chrome, Chromium
    browsers[1].privateSwitch = u"--private-window"_s;
    Routed routed(platform, [&] { return browsers; });
    auto& [picker, router] = routed;
    // Shift with row `key` where the picker comes up.
    const auto route = [&](const QString& link, Qt::Key key) {
        router.route({link});
        if (picker.content() && picker.content()->isVisible())
            QTest::keyClick(picker.content(), key, Qt::ShiftModifier);
    };
    route(u"https://a"_s, Qt::Key_1);
    writeFile(platform.root.path() + u"/config/chromium/Local State",
              R"({"profile": {"info_cache": {"Profile 9": {}}}})");
    route(u"https://b"_s, Qt::Key_1);
    platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    route(u"https://c"_s, Qt::Key_2);
    route(u"https://d"_s, Qt::Key_3);
    EXPECT_EQ(platform.processes.starts,
              (QStringList{
                  u"/opt/google/chrome/chrome|--profile-directory=Default|https://a|"_s,
                  u"chromium|--profile-directory=Profile 9|--private-window|https://b|token-1"_s,
                  u"/opt/google/chrome/chrome|--profile-directory=Profile 1|--incognito|"
                  u"https://c|token-2"_s,
                  u"chromium|--profile-directory=Profile 9|--private-window|https://d|token-3"_s}));
}

// Rules decide only while switched on, and only for a profile the served
// browser has, Chrome here, though another browser shown has it.
TEST(LinkRouter, RulesStepFollowsTheSwitch)
{
    FakePlatform platform;
    platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    platform.applications.installed[u"chromium.desktop"_s] =
        desktopEntry(u"Chromium"_s, u"chromium %U"_s);
    writeFile(platform.root.path() + u"/config/chromium/Local State",
              R"({"profile": {"info_cache": {"Profile 2": {}}}})");
    writeFile(platform.rules.fileURL(),
              readFile(QStringLiteral(ORLIM_TEST_DATA "/rules/several.json")));
    QStringList shown;
    LinkRouter router(
        recordInto(shown), [&] { return platform.browsers.installed(); }, platform.launcher,
        platform.rules, platform.windowActivation);
    router.route({u"https://github.com/x"_s, u"http://intra.example:8080/x/y"_s});
    const QStringList ruled{
        u"/opt/google/chrome/chrome|--profile-directory=Profile 1|https://github.com/x|"_s};
    EXPECT_EQ(platform.processes.starts, FeatureFlags::rulesEnabled ? ruled : QStringList());
    EXPECT_EQ(shown.size(), FeatureFlags::rulesEnabled ? 1 : 2);
}
