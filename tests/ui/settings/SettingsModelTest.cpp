// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/settings/SettingsModel.h"

#include "rules/RuleStore.h"

#include "FakePlatform.h"

namespace {

/// The rules' prefixes, one after the other.
QString prefixes(const ProfileRules& rules)
{
    QString result;
    for (const ProfileRule& rule : rules)
        result += rule.prefix;
    return result;
}

SettingsModel::Services servicesOf(FakePlatform& platform)
{
    return {platform.browsers, platform.rules, platform.defaultBrowser, platform.scheduler, {}};
}

} // namespace

// Loading says it changed once, the default-browser status with it. A rule
// moves by swapping with another, and a move past either end changes nothing;
// removing a rule removes every rule of its prefix; what the model shows is
// what the file then holds. A profile is named by its catalogue entry, or by
// its directory when the catalogue has none (a Firefox folder by its own name,
// with the browser's); a rule pointed at another profile takes that profile's
// browser.
TEST(SettingsModel, RulesMovedRemovedAndNamed)
{
    FakePlatform platform;
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/two-profiles.json")));
    platform.rules.save({{u"a"_s, u"A"_s}, {u"b"_s, u"B"_s}, {u"c"_s, u"C"_s}, {u"a"_s, u"A2"_s}});
    platform.defaultBrowser.httpsHandler = u"orlim.desktop"_s;
    SettingsModel model(servicesOf(platform));
    int changes = 0;
    QObject::connect(&model, &SettingsModel::changed, [&] { ++changes; });
    model.load();
    EXPECT_EQ(changes, 1);
    // Each move from where the one before left the rules.
    const struct
    {
        int index;
        int distance;
        QString after;
    } moves[] = {{0, 1, u"baca"_s}, {2, -1, u"bcaa"_s}, {0, 2, u"acba"_s}, {0, -1, u"acba"_s},
                 {3, 1, u"acba"_s}, {-1, 1, u"acba"_s}, {4, -1, u"acba"_s}};
    for (const auto& m : moves) {
        model.move(m.index, m.distance);
        EXPECT_EQ(prefixes(model.rules()), m.after) << m.index << " by " << m.distance;
    }
    model.remove(model.rules().first());
    EXPECT_EQ(changes, 5) << "one for each rule moved or removed";
    EXPECT_EQ(prefixes(model.rules()), u"cb"_s);

    EXPECT_EQ(model.targetLabel({u"x"_s, u"Profile 1"_s}), u"Work"_s);
    EXPECT_EQ(model.targetLabel({u"x"_s, u"Profile 7"_s}), u"Profile 7"_s);
    EXPECT_EQ(model.targetLabel({u"x"_s, u"/h/.mozilla/firefox/a.b"_s, u"firefox-esr.desktop"_s}),
              u"a.b（Firefox）"_s);
    model.retarget(1, model.targets().at(1));
    EXPECT_EQ(platform.rules.load().at(1),
              (ProfileRule{u"b"_s, u"Profile 1"_s, u"google-chrome.desktop"_s}));
}

// The browsers shown: checking one adds it last, the arrows swap shown ones
// only, the first shown is served, the last shown stays; an older file's own
// browser served comes first until the list is written. An ID listed but not
// installed now is kept, after the installed ones, for when it is back.
TEST(SettingsModel, BrowsersShownAndTheirOrder)
{
    const struct
    {
        QByteArray file;
        QString steps;  // "c2": check row 2, "u0": uncheck row 0, "m2-": move row 2 up
        QString listed; // "+" shown, "-" not
        QString shown;
    } cases[] = {
        {{}, u"c2"_s, u"+chrome +firefox-esr -chromium"_s, u"chrome firefox-esr"_s},
        {{}, u"c1 m0+"_s, u"+chromium +chrome -firefox-esr"_s, u"chromium chrome"_s},
        {{}, u"u0 m2-"_s, u"+chrome -chromium -firefox-esr"_s, {}},
        {{}, u"c1 u0"_s, u"+chromium -chrome -firefox-esr"_s, u"chromium"_s},
        {R"({"shown": ["opera.desktop", "chromium.desktop"]})", u"c1"_s,
         u"+chromium +chrome -firefox-esr"_s, u"chromium chrome opera"_s},
        {R"({"browser": "chromium.desktop", "shown": ["google-chrome.desktop", "firefox-esr.desktop"]})",
         u"m0+"_s, u"+chrome +chromium +firefox-esr"_s, u"chrome chromium firefox-esr"_s},
    };
    const auto shortId = [](QString id) { return id.remove(u".desktop"_s).remove(u"google-"_s); };
    for (const auto& c : cases) {
        FakePlatform platform;
        for (const QString& id : {u"chromium"_s, u"firefox-esr"_s})
            platform.applications.installed[id + u".desktop"] = desktopEntry(id, id + u" %U");
        if (!c.file.isEmpty())
            writeFile(platform.browsers.choice().fileURL(), c.file);
        SettingsModel model(servicesOf(platform));
        model.load();
        for (const QString& step : c.steps.split(u' ', Qt::SkipEmptyParts)) {
            const int row = step.at(1).digitValue();
            if (step.at(0) == u'm')
                model.moveBrowser(row, step.endsWith(u'-') ? -1 : 1);
            else
                model.setShown(row, step.at(0) == u'c');
        }
        QStringList listed;
        for (const auto& l : model.browsers())
            listed.append((l.shown ? u"+"_s : u"-"_s) + shortId(l.browser.desktopId));
        EXPECT_EQ(listed.join(u' '), c.listed) << c.steps.toStdString();
        EXPECT_EQ(shortId(platform.browsers.choice().shown().join(u' ')), c.shown)
            << c.steps.toStdString();
        EXPECT_EQ(shortId(platform.browsers.find()->desktopId), listed.first().mid(1));
    }
}
