#include "chrome/ChromeProfiles.h"
#include "chrome/CanonicalText.h"

#include "FakePlatform.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

QString directories(const ChromeProfileInfo& info)
{
    QStringList names;
    for (const ChromeProfile& p : info.profiles)
        names.append(p.directoryName);
    return names.join(u',');
}

} // namespace

// The whole file failing gives the empty catalogue, "last_used" included; an
// empty cache is usable.
TEST(ChromeProfiles, UnusableFilesGiveTheEmptyCatalogue)
{
    FakePlatform platform;
    EXPECT_TRUE(ChromeProfiles::load().profiles.isEmpty()) << "no file";
    for (const char* json : {"not json", R"([{"profile": {}}])",
                             R"({"profile": {"info_cache": [], "last_used": "Default"}})",
                             R"({"profile": "text"})", R"({"other": {"info_cache": {"a": {}}}})"}) {
        platform.writeLocalState(json);
        const ChromeProfileInfo info = ChromeProfiles::load();
        EXPECT_TRUE(info.profiles.isEmpty() && !info.lastUsedDirectory) << json;
    }
    platform.writeLocalState(R"({"profile": {"info_cache": {}, "last_used": "Default"}})");
    EXPECT_EQ(ChromeProfiles::load().lastUsedDirectory, u"Default"_qs);
}

// Each field of an entry falls back on its own; only non-object entries are
// dropped. Colours are exact 64-bit integers.
TEST(ChromeProfiles, EntriesFallBackFieldByField)
{
    FakePlatform platform;
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/local-state.json")));
    writeFile(platform.chromeDirectory() + u"/Default/Google Profile Picture.png", "png");
    const ChromeProfileInfo info = ChromeProfiles::load();
    EXPECT_EQ(info.lastUsedDirectory, u"Profile 1"_qs);
    QHash<QString, ChromeProfile> byDirectory;
    for (const ChromeProfile& profile : info.profiles)
        byDirectory.insert(profile.directoryName, profile);
    ASSERT_EQ(byDirectory.size(), 8);

    const ChromeProfile personal = byDirectory[u"Default"_qs];
    EXPECT_EQ(personal.displayName, u"Personal"_qs);
    EXPECT_EQ(personal.pictureURL, QUrl::fromLocalFile(platform.chromeDirectory() +
                                                       u"/Default/Google Profile Picture.png"));
    EXPECT_EQ(personal.fillColor, -16777216);
    EXPECT_EQ(personal.strokeColor, -1);
    EXPECT_EQ(byDirectory[u"Profile 1"_qs].fillColor, std::nullopt) << "1.5 is not integral";
    EXPECT_EQ(byDirectory[u"Profile 2"_qs].displayName, u"Profile 2"_qs);
    EXPECT_EQ(byDirectory[u"Profile 3"_qs].displayName, QString()) << "empty name kept";
    EXPECT_EQ(byDirectory[u"Profile 3"_qs].strokeColor, std::nullopt);
    EXPECT_EQ(byDirectory[u"Profile 10"_qs].pictureURL, std::nullopt) << "file missing";
    EXPECT_EQ(byDirectory[u"Profile 4"_qs].fillColor, std::numeric_limits<qint64>::max());
    EXPECT_EQ(byDirectory[u"Profile 4"_qs].strokeColor, std::nullopt);
    EXPECT_EQ(byDirectory[u"Profile 5"_qs].fillColor, std::nullopt);
    EXPECT_EQ(byDirectory[u"Profile 5"_qs].strokeColor, 4);
    EXPECT_EQ(byDirectory[u"Profile 6"_qs].fillColor, std::numeric_limits<qint64>::min());
}

// Listed profiles first in list order (first position wins; a list holding
// anything but names counts as none), then the rest by directory name,
// ignoring case, without numeric awareness. A listed name matches its profile
// in either Unicode normal form.
TEST(ChromeProfiles, Order)
{
    FakePlatform platform;
    platform.writeLocalState(readFile(QStringLiteral(ORLIM_TEST_DATA "/local-state.json")));
    EXPECT_EQ(directories(ChromeProfiles::load()),
              u"Profile 3,Default,Profile 1,Profile 10,Profile 2,Profile 4,Profile 5,Profile 6"_qs);

    const char* five = R"("Default": {}, "Profile 1": {}, "Profile 2": {}, "Profile 3": {},
                          "Profile 10": {})";
    const struct
    {
        const char *cache, *order, *expected;
    } cases[] = {
        {five, R"(["Profile 3", 7])", "Default,Profile 1,Profile 10,Profile 2,Profile 3"},
        {five, R"(["Profile 2", "Default", "Profile 2", "Profile 1"])",
         "Profile 2,Default,Profile 1,Profile 10,Profile 3"},
        {R"("b": {}, "C": {}, "a": {}, "Caf\u00e9": {})", R"(["Cafe\u0301"])", "Caf\u00e9,a,b,C"},
        {R"("b": {}, "C": {}, "a": {}, "Cafe\u0301": {})", R"(["Caf\u00e9"])", "Cafe\u0301,a,b,C"},
        {R"("b": {}, "C": {}, "a": {})", nullptr, "a,b,C"},
    };
    for (const auto& c : cases) {
        QByteArray json = QByteArray(R"({"profile": {"info_cache": {)") + c.cache + '}';
        if (c.order)
            json += QByteArray(R"(, "profiles_order": )") + c.order;
        platform.writeLocalState(json + "}}");
        EXPECT_EQ(directories(ChromeProfiles::load()), QString::fromUtf8(c.expected))
            << json.toStdString();
    }
}

// Canonically equivalent text is equal, hashes equal, and a prefix of it; a
// prefix ends between whole characters; case counts.
TEST(CanonicalText, EquivalenceEqualityAndPrefixes)
{
    const ChromeProfile composed{u"Caf\u00e9"_qs, u"\u00c9mile"_qs, std::nullopt, 1, std::nullopt};
    ChromeProfile other{u"Cafe\u0301"_qs, u"E\u0301mile"_qs, std::nullopt, 1, std::nullopt};
    EXPECT_EQ(QSet<ChromeProfile>({composed, other}).size(), 1);
    other.strokeColor = 0;
    EXPECT_NE(composed, other) << "absent and present optionals differ";
    other = composed;
    other.directoryName = u"caf\u00e9"_qs;
    EXPECT_NE(composed, other);

    EXPECT_TRUE(
        CanonicalText::startsWith(u"https://caf\u00e9.example"_qs, u"https://cafe\u0301"_qs));
    EXPECT_FALSE(CanonicalText::startsWith(u"https://caf\u00e9"_qs, u"https://caf"_qs + u'e'));
    EXPECT_FALSE(CanonicalText::startsWith(u"https://Example.com"_qs, u"https://example"_qs));
}
