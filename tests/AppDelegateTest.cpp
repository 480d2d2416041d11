// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/AppDelegate.h"
#include "app/CommandLine.h"
#include "platform/linux/StartupNotification.h"
#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"

#include "FakePlatform.h"

namespace {

/// Windows that record what they were asked to show: "picker <link> <number of
/// profiles> <the first's directory> <token>" and "settings <token>".
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

// With no profiles every link opens in "Default" at once, in order, with the
// clicking program's activation token, and the start-up it announced ends
// there, since no window of Orlim's comes for it. With profiles (one that is
// not "Default" is still a choice) every link goes to the picker with the whole
// catalogue, read afresh for each link.
TEST(Routing, DefaultOrThePicker)
{
    FakePlatform platform;
    QStringList shown;
    AppDelegate delegate(recordInto(shown));
    delegate.openURLs({u"https://a"_qs, QString()}, u"clicked"_qs);
    platform.writeLocalState(R"({"profile": {"info_cache": {"Profile 1": {}}}})");
    delegate.openURLs({u"https://b"_qs});
    platform.writeLocalState(R"({"profile": {"profiles_order": ["Profile 1"],
        "info_cache": {"Default": {}, "Profile 1": {}, "Profile 2": {}}}})");
    delegate.openURLs({u"https://c"_qs}, u"clicked"_qs);
    EXPECT_EQ(
        platform.processes.starts,
        (QStringList{u"/opt/google/chrome/chrome|--profile-directory=Default|https://a|clicked"_qs,
                     u"/opt/google/chrome/chrome|--profile-directory=Default||clicked"_qs}));
    EXPECT_EQ(shown, (QStringList{u"picker https://b 1 Profile 1 "_qs,
                                  u"picker https://c 3 Profile 1 clicked"_qs}));
    EXPECT_EQ(platform.windowActivation.finished, QStringList{u"clicked"_qs});
}

// The startup-notification message that ends a launcher's wait, in the
// protocol's 20-byte pieces, its ID quoted where it needs to be.
TEST(StartupNotification, RemoveMessage)
{
    EXPECT_EQ(StartupNotification::removeMessage(u"gio-42_TIME7"_qs),
              QByteArray("remove: ID=gio-42_TIME7"));
    EXPECT_EQ(StartupNotification::removeMessage(u"a \"b\\"_qs),
              QByteArray(R"(remove: ID="a \"b\\")"));
    const QList<QByteArray> pieces =
        StartupNotification::pieces(StartupNotification::removeMessage(u"gio-42_TIME7"_qs));
    ASSERT_EQ(pieces.size(), 2);
    EXPECT_EQ(pieces[0], QByteArray("remove: ID=gio-42_TI"));
    EXPECT_EQ(pieces[1], QByteArray("ME7").leftJustified(20, '\0'));
    EXPECT_EQ(StartupNotification::pieces(QByteArray(19, 'x')).size(), 1) << "the NUL fits";
}

// Rules decide only while switched on, and only for a profile Chrome has. The
// empty list is written as "[", an empty line, "]".
TEST(Routing, RulesStepFollowsTheSwitch)
{
    FakePlatform platform;
    platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    writeFile(RuleStore::fileURL(),
              readFile(QStringLiteral(ORLIM_TEST_DATA "/rules/several.json")));
    QStringList shown;
    AppDelegate delegate(recordInto(shown));
    delegate.openURLs({u"https://github.com/x"_qs, u"http://intra.example:8080/x/y"_qs});
    const QStringList ruled{
        u"/opt/google/chrome/chrome|--profile-directory=Profile 1|https://github.com/x|"_qs};
    EXPECT_EQ(platform.processes.starts, FeatureFlags::rulesEnabled ? ruled : QStringList());
    EXPECT_EQ(shown.size(), FeatureFlags::rulesEnabled ? 1 : 2);
    RuleStore::save({});
    EXPECT_EQ(readFile(RuleStore::fileURL()), QByteArray("[\n\n]"));
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

// Links after "--" are links whatever they look like, a second "--" too; an
// option stands alone, though it may be repeated; misuse is refused with a
// reason, never guessed at.
TEST(CommandLine, LinksOptionsAndMisuse)
{
    using Action = CommandLine::Action;
    const struct
    {
        QStringList arguments;
        Action action;
        QStringList links;
    } cases[] = {
        {{u"https://a"_qs, u"--"_qs, u"-b"_qs, u"--"_qs},
         Action::Open,
         {u"https://a"_qs, u"-b"_qs, u"--"_qs}},
        {{u"--help"_qs, u"--help"_qs}, Action::Help, {}},
        {{u"--list-browsers"_qs}, Action::ListBrowsers, {}},
        {{u"--bogus"_qs}, Action::Invalid, {}},
        {{u"-"_qs}, Action::Invalid, {}},
        {{u"--version"_qs, u"--help"_qs}, Action::Invalid, {}},
        {{u"--list-profiles"_qs, u"https://a"_qs}, Action::Invalid, {}},
        {{u"https://a"_qs, u"--renderer-cmd-prefix=x"_qs}, Action::Invalid, {}},
    };
    for (const auto& c : cases) {
        const CommandLine parsed = CommandLine::parse(c.arguments);
        EXPECT_EQ(parsed.action, c.action) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(parsed.links, c.links) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(parsed.error.isEmpty(), c.action != Action::Invalid);
    }
}
