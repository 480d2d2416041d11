// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/ChromeProfiles.h"

#include "FakePlatform.h"

// Each field of an entry falls back on its own; only non-object entries are
// dropped; colours are exact 64-bit integers; a picture is named only when its
// file exists. Listed profiles come first in list order (the first position
// wins), then the rest by directory name, ignoring case, without numeric
// awareness. The whole file failing gives the empty catalogue.
TEST(ChromeProfiles, EntriesAndOrder)
{
    FakePlatform platform;
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/local-state.json")));
    const QString picture = platform.chromeDirectory() + u"/Default/Google Profile Picture.png";
    writeFile(picture, "png");
    const ChromeProfileInfo info = platform.catalogue();
    EXPECT_EQ(info.lastUsedDirectory, u"Profile 1"_s);
    // "directory|name|fill|stroke", "-" for an absent colour, and "|picture".
    const auto colour = [](std::optional<qint64> c) { return c ? QString::number(*c) : u"-"_s; };
    QStringList described;
    for (const ChromeProfile& p : info.profiles)
        described.append(p.directoryName + u'|' + p.displayName + u'|' + colour(p.fillColor) +
                         u'|' + colour(p.strokeColor) + (p.pictureURL ? u"|picture" : u""));
    EXPECT_EQ(described,
              (QStringList{
                  u"Profile 3||-|-"_s, u"Default|Personal|-16777216|-1|picture"_s,
                  u"Profile 1|Work|-|-"_s, u"Profile 10|Profile 10|16777215|-"_s,
                  u"Profile 2|Profile 2|-|-"_s, u"Profile 4|Profile 4|9223372036854775807|-"_s,
                  u"Profile 5|Profile 5|-|4"_s, u"Profile 6|Profile 6|-9223372036854775808|-"_s}));
    EXPECT_EQ(info.profiles[1].pictureURL, QUrl::fromLocalFile(picture));

    for (const char* json : {"not json", R"({"profile": {"info_cache": [], "last_used": "x"}})",
                             R"({"profile": "text"})"}) {
        platform.writeLocalState(json);
        const ChromeProfileInfo none = platform.catalogue();
        EXPECT_TRUE(none.profiles.isEmpty() && !none.lastUsedDirectory) << json;
    }

    // A list holding anything but names counts as none; a missing list sorts
    // all; a listed name matches its profile in either Unicode normal form.
    const struct
    {
        const char *order, *expected;
    } cases[] = {
        {R"(["Profile 3", 7])", "a,b,C,Cafe\u0301,Profile 3"},
        {R"(["Caf\u00e9", "b", "Caf\u00e9"])", "Cafe\u0301,b,a,C,Profile 3"},
        {nullptr, "a,b,C,Cafe\u0301,Profile 3"},
    };
    for (const auto& c : cases) {
        QByteArray json = R"({"profile": {"info_cache": {"b": {}, "C": {}, "a": {},
                                          "Cafe\u0301": {}, "Profile 3": {}})";
        if (c.order)
            json += QByteArray(R"(, "profiles_order": )") + c.order;
        platform.writeLocalState(json + "}}");
        QStringList order;
        for (const ChromeProfile& profile : platform.catalogue().profiles)
            order.append(profile.directoryName);
        EXPECT_EQ(order.join(u','), QString::fromUtf8(c.expected)) << c.order;
    }
}
