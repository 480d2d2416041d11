// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ChromeProfiles.h"

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
    EXPECT_EQ(
        described(info.profiles),
        (QStringList{u"Profile 3||-|-"_s, u"Default|Personal|-1000000|-1|picture"_s,
                     u"Profile 1|Work|-|-"_s, u"Profile 10|Profile 10|ffffff|-"_s,
                     u"Profile 2|Profile 2|-|-"_s, u"Profile 4|Profile 4|7fffffffffffffff|-"_s,
                     u"Profile 5|Profile 5|-|4"_s, u"Profile 6|Profile 6|-8000000000000000|-"_s}));
    EXPECT_EQ(info.profiles[1].pictureURL, QUrl::fromLocalFile(picture));

    for (const char* json : {"not json", R"({"profile": {"info_cache": [], "last_used": "x"}})",
                             R"({"profile": "text"})"}) {
        platform.writeLocalState(json);
        const ChromeProfileInfo none = platform.catalogue();
        EXPECT_TRUE(none.profiles.isEmpty() && !none.lastUsedDirectory) << json;
    }

    // A list holding anything but names counts as none, and sorts all; a
    // listed name matches its profile in either Unicode normal form.
    const std::pair<const char*, const char*> cases[] = {
        {R"(["Profile 3", 7])", "a,b,C,Cafe\u0301,Profile 3"},
        {R"(["Caf\u00e9", "b", "Caf\u00e9"])", "Cafe\u0301,b,a,C,Profile 3"},
    };
    for (const auto& [list, expected] : cases) {
        platform.writeLocalState(R"({"profile": {"info_cache": {"b": {}, "C": {}, "a": {},
            "Cafe\u0301": {}, "Profile 3": {}}, "profiles_order": )" +
                                 QByteArray(list) + "}}");
        QStringList order;
        for (const ChromeProfile& profile : platform.catalogue().profiles)
            order.append(profile.directoryName);
        EXPECT_EQ(order.join(u','), QString::fromUtf8(expected)) << list;
    }
}
