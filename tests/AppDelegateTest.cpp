#include "app/AppDelegate.h"
#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"

#include "FakePlatform.h"

#include <gtest/gtest.h>

namespace {

/// Windows that record what they were asked to show: "picker <link> <number of
/// profiles, the first's directory> <token>" and "settings <token>".
AppDelegate::Windows recordInto(QStringList& shown)
{
    return {
        [&shown](const QString& url, const QList<ChromeProfile>& profiles, const QString& token) {
            shown.append(u"picker %1 %2 %3 %4"_qs.arg(url)
                             .arg(profiles.size())
                             .arg(profiles.value(0).directoryName, token));
        },
        [&shown](const QString& token) { shown.append(u"settings " + token); }};
}

} // namespace

// With no profiles every link opens in "Default" at once, in order, and Chrome
// gets the clicking program's activation token.
TEST(Routing, NoProfilesOpensDefault)
{
    FakePlatform platform;
    QStringList shown;
    AppDelegate delegate(recordInto(shown));
    delegate.openURLs({u"https://a"_qs, QString(), u"not a url"_qs}, u"clicked"_qs);
    ASSERT_EQ(platform.processes.starts.size(), 3);
    EXPECT_EQ(platform.processes.starts[0].activationToken, u"clicked"_qs);
    EXPECT_EQ(platform.processes.starts[0].arguments,
              (QStringList{u"--profile-directory=Default"_qs, u"https://a"_qs}));
    EXPECT_EQ(platform.processes.starts[1].arguments.last(), QString());
    EXPECT_EQ(platform.processes.starts[2].arguments.last(), u"not a url"_qs);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(delegate.didReceiveURL());
}

// With profiles every link goes to the picker with the whole catalogue; the
// catalogue is read afresh for each link.
TEST(Routing, ProfilesGoToThePicker)
{
    FakePlatform platform;
    platform.writeProfiles({u"Profile 1"_qs}); // one, and not "Default": still a choice
    QStringList shown;
    AppDelegate delegate(recordInto(shown));
    delegate.openURLs({u"https://a"_qs});
    platform.writeProfiles({u"Profile 1"_qs, u"Default"_qs, u"Profile 2"_qs});
    delegate.openURLs({u"https://b"_qs, u"https://c"_qs}, u"clicked"_qs);
    EXPECT_EQ(shown, (QStringList{u"picker https://a 1 Profile 1 "_qs,
                                  u"picker https://b 3 Profile 1 clicked"_qs,
                                  u"picker https://c 3 Profile 1 clicked"_qs}));
    EXPECT_TRUE(platform.processes.starts.isEmpty());
}

// Rules decide only while switched on, and only for a profile Chrome has
// (case-sensitive directory match, under canonical equivalence); Chrome gets
// the catalogue's spelling of the folder.
TEST(Routing, RulesStepFollowsTheSwitch)
{
    FakePlatform platform;
    platform.writeProfiles({u"Default"_qs, u"Work"_qs, u"work"_qs, u"Caf\u00e9"_qs});
    RuleStore::save({{u"https://gone.example"_qs, u"Deleted"_qs},
                     {u"https://work.example"_qs, u"work"_qs},
                     {u"https://cafe.example"_qs, u"Cafe\u0301"_qs}});
    QStringList shown;
    AppDelegate delegate(recordInto(shown));
    delegate.openURLs(
        {u"https://work.example/x"_qs, u"https://gone.example/y"_qs, u"https://cafe.example/"_qs});

    if constexpr (FeatureFlags::rulesEnabled) {
        ASSERT_EQ(platform.processes.starts.size(), 2);
        EXPECT_EQ(platform.processes.starts[0].arguments,
                  (QStringList{u"--profile-directory=work"_qs, u"https://work.example/x"_qs}));
        EXPECT_EQ(platform.processes.starts[1].arguments.first(),
                  u"--profile-directory=Caf\u00e9"_qs);
        EXPECT_EQ(shown, QStringList{u"picker https://gone.example/y 4 Default "_qs});
        EXPECT_EQ(RuleStore::load().size(), 3) << "a stale rule stays stored";
    } else {
        EXPECT_TRUE(platform.processes.starts.isEmpty());
        EXPECT_EQ(shown.size(), 3);
    }
}

// The settings open 0.3 s after a launch without a link, never after one with
// a link, and on every reopen; the check does nothing once the delegate is gone.
TEST(Launch, SettingsCheck)
{
    FakePlatform platform;
    QStringList shown;
    {
        AppDelegate delegate(recordInto(shown));
        delegate.applicationDidFinishLaunching(u"started"_qs);
        platform.scheduler.advance(299);
        EXPECT_TRUE(shown.isEmpty());
        platform.scheduler.advance(1);
        EXPECT_EQ(shown, QStringList{u"settings started"_qs});
        delegate.applicationDidFinishLaunching();
    }
    platform.scheduler.runAll();
    AppDelegate delegate(recordInto(shown));
    delegate.openURLs({u"https://early"_qs});
    delegate.applicationDidFinishLaunching();
    platform.scheduler.runAll();
    EXPECT_TRUE(delegate.applicationShouldHandleReopen(u"again"_qs));
    EXPECT_EQ(shown, (QStringList{u"settings started"_qs, u"settings again"_qs}));
}
