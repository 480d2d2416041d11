#include "rules/RulesFile.h"
#include "rules/ProfileRule.h"

#include "FakePlatform.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

QByteArray golden(const char* name)
{
    return readFile(QStringLiteral(ORLIM_TEST_DATA "/rules/") + QString::fromLatin1(name));
}

} // namespace

// The writer's bytes match the golden files exactly, and read back equal.
TEST(RulesFile, WriterMatchesGoldenFiles)
{
    struct Case
    {
        const char* file;
        ProfileRules rules;
    } cases[] = {
        {"one.json", {{u"https://mail.google.com"_qs, u"Default"_qs}}},
        {"several.json",
         {{u"https://github.com"_qs, u"Profile 1"_qs},
          {u"https://"_qs, u"Default"_qs},
          {u"http://intra.example:8080/x"_qs, u"Profile 2"_qs}}},
        {"scheme-only.json", {{u"https://"_qs, u"Default"_qs}}},
        {"escapes.json",
         {{u"say \"hi\" \\ back\\slash"_qs, u"Profile \"Q\""_qs},
          {u"tab\there\nline\u0001\u001f\u007f"_qs, u"ctl\r\b\f"_qs}}},
        {"non-ascii.json",
         {{u"https://日本.example/パス"_qs, u"プロファイル 1"_qs},
          {u"https://café.example"_qs, u"Émile 😀"_qs}}},
    };
    for (const Case& c : cases) {
        const QByteArray expected = golden(c.file);
        ASSERT_FALSE(expected.isEmpty()) << c.file;
        EXPECT_EQ(RulesFile::encode(c.rules), expected) << c.file;
        EXPECT_EQ(RulesFile::decode(expected), c.rules) << c.file;
    }
    EXPECT_EQ(RulesFile::encode({}), QByteArray("[\n\n]")) << "the empty list";
}

// Any JSON of the right shape is read: compact, "/" unescaped, keys in either
// order, extra members ignored.
TEST(RulesFile, ReaderAcceptsAnyLayout)
{
    EXPECT_EQ(RulesFile::decode(golden("compact.json")), RulesFile::decode(golden("several.json")));
    EXPECT_EQ(RulesFile::decode(R"([{"prefix":"\ud83d\ude00","profileDirectory":"b"}])"),
              (ProfileRules{{u"😀"_qs, u"b"_qs}}))
        << "a surrogate pair is one whole character";
    EXPECT_EQ(RulesFile::decode(
                  R"([{"prefix":"","profileDirectory":""},{"prefix":"","profileDirectory":""}])")
                  ->size(),
              2)
        << "empty and duplicate prefixes are kept";
}

// Anything else rejects the whole file: never a partial list.
TEST(RulesFile, ReaderRejectsTheWholeFile)
{
    const char* rejected[] = {
        "",
        "[",
        R"({"prefix":"a","profileDirectory":"b"})",
        R"([{"prefix":"a","profileDirectory":"b"},{"prefix":"c"}])",
        R"([{"prefix":1,"profileDirectory":"b"}])",
        R"([{"Prefix":"a","profileDirectory":"b"}])",
        R"([["a","b"]])",
        R"([{"prefix":"a","profileDirectory":"b"}, 3])",
        R"([{"prefix":"lone \udddd","profileDirectory":"b"}])", // found by fuzzing
        R"([{"prefix":"a","profileDirectory":"\ud83d"}])",
    };
    for (const char* text : rejected)
        EXPECT_FALSE(RulesFile::decode(text).has_value()) << text;
}

// Rules with canonically equivalent prefixes are one rule; the profile counts
// for equality, not for identity.
TEST(ProfileRule, EqualityIdentityAndHashing)
{
    const ProfileRule composed{u"https://caf\u00e9"_qs, u"Default"_qs};
    const ProfileRule decomposed{u"https://cafe\u0301"_qs, u"Default"_qs};
    const ProfileRule otherProfile{composed.prefix, u"Profile 1"_qs};
    EXPECT_EQ(QSet<ProfileRule>({composed, decomposed, otherProfile}).size(), 2);
    EXPECT_EQ(composed.id(), otherProfile.id());
}
