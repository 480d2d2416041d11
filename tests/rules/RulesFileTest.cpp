// SPDX-License-Identifier: GPL-3.0-or-later
// The rules are off as built, but their code ships and the rules file is the
// user's data: its format and its safety are checked in both builds, the
// picker's part of them where rules are on.
#include "rules/RulesFile.h"

#include "FakePlatform.h"

// The writer's bytes match the golden files exactly, and read back equal; any
// JSON of the right shape is read; anything else rejects the whole file.
TEST(RulesFile, GoldenBytesAndWholeFileDecoding)
{
    const auto golden = [](const char* name) {
        return readFile(QStringLiteral(ORLIM_TEST_DATA "/rules/") + QString::fromLatin1(name));
    };
    const ProfileRules several{{u"https://github.com"_s, u"Profile 1"_s},
                               {u"https://"_s, u"Default"_s},
                               {u"http://intra.example:8080/x"_s, u"Profile 2"_s}};
    const ProfileRules escapes{{u"say \"hi\" \\ back\\slash"_s, u"日本 \"Q\""_s},
                               {u"tab\there\nline\u0001\u001f\u007f"_s, u"Émile 😀\r\b\f"_s}};
    EXPECT_EQ(RulesFile::encode(several), golden("several.json"));
    EXPECT_EQ(RulesFile::encode(escapes), golden("escapes.json"));
    const ProfileRules browsers{
        {u"https://chromium.example"_s, u"Profile 2"_s, u"chromium.desktop"_s},
        {u"https://gone.example"_s, u"Profile 1"_s, u"gone.desktop"_s},
        {u"https://legacy.example"_s, u"Profile 1"_s}};
    EXPECT_EQ(RulesFile::encode(browsers), golden("browsers.json")) << "a browser where named";
    EXPECT_EQ(RulesFile::decode(golden("browsers.json")), browsers);
    EXPECT_EQ(RulesFile::decode(golden("escapes.json")), escapes);
    EXPECT_EQ(RulesFile::decode(golden("compact.json")), several);
    EXPECT_EQ(RulesFile::encode({}), QByteArray("[\n\n]")) << "the empty list";
    for (const char* rejected : {R"({"prefix":"a","profileDirectory":"b"})",
                                 R"([{"prefix":"a","profileDirectory":"b"},{"prefix":"c"}])",
                                 R"([{"prefix":"a","profileDirectory":"b"},3])",
                                 R"([{"prefix":"a","profileDirectory":"b","browser":3}])",
                                 R"([{"prefix":"lone \udddd","profileDirectory":"b"}])"})
        EXPECT_FALSE(RulesFile::decode(rejected).has_value()) << rejected;
}
