// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsModel.h"

#include "rules/RuleStore.h"

#include "FakePlatform.h"

namespace {

QStringList prefixes(const ProfileRules& rules)
{
    QStringList result;
    for (const ProfileRule& rule : rules)
        result.append(rule.prefix);
    return result;
}

} // namespace

// A rule moves by swapping with its neighbour, and a move past either end
// changes nothing; what the model shows is what the file then holds.
TEST(SettingsModel, MovesWithinTheList)
{
    const struct
    {
        int index;
        int distance;
        QStringList after;
    } cases[] = {
        {0, 1, {u"b"_s, u"a"_s, u"c"_s}},  {2, -1, {u"a"_s, u"c"_s, u"b"_s}},
        {0, 2, {u"c"_s, u"b"_s, u"a"_s}},  {0, -1, {u"a"_s, u"b"_s, u"c"_s}},
        {2, 1, {u"a"_s, u"b"_s, u"c"_s}},  {-1, 1, {u"a"_s, u"b"_s, u"c"_s}},
        {3, -1, {u"a"_s, u"b"_s, u"c"_s}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " by " << c.distance);
        FakePlatform platform;
        platform.rules.save({{u"a"_s, u"A"_s}, {u"b"_s, u"B"_s}, {u"c"_s, u"C"_s}});
        SettingsModel model(
            {platform.browsers, platform.rules, platform.defaultBrowser, platform.scheduler, {}});
        model.load();
        model.move(c.index, c.distance);
        EXPECT_EQ(prefixes(model.rules()), c.after);
        EXPECT_EQ(prefixes(platform.rules.load()), c.after);
    }
}

// Loading says it changed once, the default-browser status with it; removing a
// rule removes every rule of its prefix, from the file too; a profile is named
// by its catalogue entry, or by its directory when the catalogue has none.
TEST(SettingsModel, LoadsRemovesAndNames)
{
    FakePlatform platform;
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/two-profiles.json")));
    platform.rules.save({{u"a"_s, u"A"_s}, {u"b"_s, u"B"_s}, {u"a"_s, u"A2"_s}});
    platform.defaultBrowser.httpsHandler = u"orlim.desktop"_s;
    SettingsModel model(
        {platform.browsers, platform.rules, platform.defaultBrowser, platform.scheduler, {}});
    int changes = 0;
    QObject::connect(&model, &SettingsModel::changed, [&] { ++changes; });
    model.load();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(model.served()->desktopId, u"google-chrome.desktop"_s);

    model.remove(model.rules().first());
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(prefixes(model.rules()), QStringList{u"b"_s});
    EXPECT_EQ(prefixes(platform.rules.load()), QStringList{u"b"_s});

    EXPECT_EQ(model.profileName(u"Profile 1"_s), u"Work"_s);
    EXPECT_EQ(model.profileName(u"Profile 7"_s), u"Profile 7"_s);
}
