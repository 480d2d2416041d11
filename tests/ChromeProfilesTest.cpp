#include "chrome/ChromeProfiles.h"
#include "chrome/CanonicalText.h"

#include "FakePlatform.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

QStringList directories(const ChromeProfileInfo& info)
{
    QStringList names;
    for (const ChromeProfile& p : info.profiles)
        names.append(p.directoryName);
    return names;
}

const ChromeProfile* find(const ChromeProfileInfo& info, const QString& directory)
{
    for (const ChromeProfile& p : info.profiles)
        if (p.directoryName == directory)
            return &p;
    return nullptr;
}

} // namespace

// The whole file failing gives the empty catalogue, "last_used" included.
TEST(ChromeProfiles, UnusableFilesGiveTheEmptyCatalogue)
{
    FakePlatform platform;
    EXPECT_TRUE(ChromeProfiles::load().profiles.isEmpty()) << "no file";

    const char* unusable[] = {
        "",
        "not json",
        R"([{"profile": {}}])",
        R"({"profile": {"last_used": "Default"}})",
        R"({"profile": {"info_cache": [], "last_used": "Default"}})",
        R"({"profile": "text"})",
        R"({"other": {"info_cache": {"Default": {}}}})",
    };
    for (const char* json : unusable) {
        platform.writeLocalState(json);
        const ChromeProfileInfo info = ChromeProfiles::load();
        EXPECT_TRUE(info.profiles.isEmpty()) << json;
        EXPECT_FALSE(info.lastUsedDirectory.has_value()) << json;
    }

    platform.writeLocalState(R"({"profile": {"info_cache": {}, "last_used": "Default"}})");
    EXPECT_TRUE(ChromeProfiles::load().profiles.isEmpty());
    EXPECT_EQ(ChromeProfiles::load().lastUsedDirectory, u"Default"_qs)
        << "an empty cache is usable";
}

// Each field of an entry falls back on its own; only non-object entries are dropped.
TEST(ChromeProfiles, EntriesFallBackFieldByField)
{
    FakePlatform platform;
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/local-state.json")));
    writeFile(platform.chromeDirectory() + u"/Default/Google Profile Picture.png", "png");

    const ChromeProfileInfo info = ChromeProfiles::load();
    EXPECT_EQ(info.profiles.size(), 5);
    EXPECT_EQ(info.lastUsedDirectory, QStringLiteral("Profile 1"));

    const ChromeProfile* personal = find(info, QStringLiteral("Default"));
    ASSERT_TRUE(personal);
    EXPECT_EQ(personal->displayName, QStringLiteral("Personal"));
    EXPECT_EQ(personal->pictureURL, QUrl::fromLocalFile(platform.chromeDirectory() +
                                                        u"/Default/Google Profile Picture.png"));
    EXPECT_EQ(personal->fillColor, -16777216);
    EXPECT_EQ(personal->strokeColor, -1);

    EXPECT_EQ(find(info, QStringLiteral("Profile 1"))->fillColor, std::nullopt)
        << "1.5 is not integral";
    EXPECT_EQ(find(info, QStringLiteral("Profile 2"))->displayName, QStringLiteral("Profile 2"));
    EXPECT_EQ(find(info, QStringLiteral("Profile 2"))->pictureURL, std::nullopt);
    EXPECT_EQ(find(info, QStringLiteral("Profile 3"))->displayName, QString()) << "empty name kept";
    EXPECT_EQ(find(info, QStringLiteral("Profile 3"))->strokeColor, std::nullopt);
    EXPECT_EQ(find(info, QStringLiteral("Profile 10"))->pictureURL, std::nullopt) << "file missing";
    EXPECT_EQ(find(info, QStringLiteral("Profile 10"))->fillColor, 16777215);
}

// Listed profiles first in list order (first position wins; a list holding
// anything but names counts as none), then the rest by directory name,
// ignoring case, without numeric awareness. A listed name matches its profile
// in either Unicode normal form.
TEST(ChromeProfiles, Order)
{
    FakePlatform platform;
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/local-state.json")));
    EXPECT_EQ(directories(ChromeProfiles::load()).join(u','),
              u"Profile 3,Default,Profile 1,Profile 10,Profile 2"_qs);

    const char* five = R"("Default": {}, "Profile 1": {}, "Profile 2": {}, "Profile 3": {},
                          "Profile 10": {})";
    const char* cafe = R"("b": {}, "C": {}, "a": {}, "Caf\u00e9": {})";
    const char* cafe2 = R"("b": {}, "C": {}, "a": {}, "Cafe\u0301": {})";
    struct Case
    {
        const char *cache, *order, *expected;
    } cases[] = {
        {five, R"(["Profile 3", 7])", "Default,Profile 1,Profile 10,Profile 2,Profile 3"},
        {five, R"("Profile 3")", "Default,Profile 1,Profile 10,Profile 2,Profile 3"},
        {five, R"(["Profile 2", "Default", "Profile 2", "Profile 1"])",
         "Profile 2,Default,Profile 1,Profile 10,Profile 3"},
        {cafe, R"(["Cafe\u0301"])", "Caf\u00e9,a,b,C"},
        {cafe2, R"(["Caf\u00e9"])", "Cafe\u0301,a,b,C"},
        {R"("b": {}, "C": {}, "a": {})", nullptr, "a,b,C"},
    };
    for (const Case& c : cases) {
        QByteArray json = QByteArray(R"({"profile": {"info_cache": {)") + c.cache + '}';
        if (c.order)
            json += QByteArray(R"(, "profiles_order": )") + c.order;
        platform.writeLocalState(json + "}}");
        EXPECT_EQ(directories(ChromeProfiles::load()).join(u','), QString::fromUtf8(c.expected))
            << json.toStdString();
    }
}

TEST(ChromeProfiles, ColoursAreExact64BitIntegers)
{
    FakePlatform platform;
    platform.writeLocalState(R"({"profile": {"info_cache": {
        "a": {"default_avatar_fill_color": 9223372036854775807, "default_avatar_stroke_color": 1e30},
        "b": {"default_avatar_fill_color": 18446744073709551615, "default_avatar_stroke_color": 4.0},
        "c": {"default_avatar_fill_color": -9223372036854775808, "default_avatar_stroke_color": null}}}})");
    const ChromeProfileInfo info = ChromeProfiles::load();
    ASSERT_EQ(info.profiles.size(), 3);
    EXPECT_EQ(info.profiles[0].fillColor, std::numeric_limits<qint64>::max());
    EXPECT_EQ(info.profiles[0].strokeColor, std::nullopt);
    EXPECT_EQ(info.profiles[1].fillColor, std::nullopt);
    EXPECT_EQ(info.profiles[1].strokeColor, 4);
    EXPECT_EQ(info.profiles[2].fillColor, std::numeric_limits<qint64>::min());
    EXPECT_EQ(info.profiles[2].strokeColor, std::nullopt);
}

// Equality and hashing agree, and treat canonically equivalent text as equal.
TEST(ChromeProfile, EqualityAndHashing)
{
    const ChromeProfile composed{u"Caf\u00e9"_qs, u"\u00c9mile"_qs, std::nullopt, 1, std::nullopt};
    const ChromeProfile decomposed{u"Cafe\u0301"_qs, u"E\u0301mile"_qs, std::nullopt, 1,
                                   std::nullopt};
    EXPECT_EQ(composed, decomposed);
    EXPECT_EQ(qHash(composed), qHash(decomposed));

    ChromeProfile other = composed;
    other.strokeColor = 0;
    EXPECT_NE(composed, other) << "absent and present optionals differ";
    other = composed;
    other.directoryName = u"caf\u00e9"_qs;
    EXPECT_NE(composed, other) << "case-sensitive";
    EXPECT_EQ(QSet<ChromeProfile>({composed, decomposed}).size(), 1);
}

TEST(CanonicalText, PrefixesEndBetweenCharacters)
{
    EXPECT_TRUE(
        CanonicalText::startsWith(u"https://caf\u00e9.example"_qs, u"https://cafe\u0301"_qs));
    EXPECT_FALSE(CanonicalText::startsWith(u"https://caf\u00e9"_qs, u"https://caf"_qs + u'e'));
    EXPECT_TRUE(CanonicalText::startsWith(u"anything"_qs, QString()));
    EXPECT_FALSE(CanonicalText::startsWith(u"https://Example.com"_qs, u"https://example"_qs));
}
