#include "rules/RuleStore.h"
#include "rules/RulesFile.h"

#include "FakePlatform.h"

#include <QDir>
#include <csignal>
#include <sys/resource.h>

namespace {

const ProfileRule A{u"https://a.example"_qs, u"Profile 1"_qs};
const ProfileRule B{u"https://b.example"_qs, u"Profile 2"_qs};
const ProfileRule C{u"https://c.example"_qs, u"Profile 3"_qs};

QByteArray golden(const char* name)
{
    return readFile(QStringLiteral(ORLIM_TEST_DATA "/rules/") + QString::fromLatin1(name));
}

} // namespace

// The writer's bytes match the golden files exactly, and read back equal. Any
// JSON of the right shape is read; anything else rejects the whole file.
TEST(RulesFile, GoldenBytesAndWholeFileDecoding)
{
    const std::pair<const char*, ProfileRules> cases[] = {
        {"one.json", {{u"https://mail.google.com"_qs, u"Default"_qs}}},
        {"several.json",
         {{u"https://github.com"_qs, u"Profile 1"_qs},
          {u"https://"_qs, u"Default"_qs},
          {u"http://intra.example:8080/x"_qs, u"Profile 2"_qs}}},
        {"escapes.json",
         {{u"say \"hi\" \\ back\\slash"_qs, u"Profile \"Q\""_qs},
          {u"tab\there\nline\u0001\u001f\u007f"_qs, u"ctl\r\b\f"_qs}}},
        {"non-ascii.json",
         {{u"https://日本.example/パス"_qs, u"プロファイル 1"_qs},
          {u"https://café.example"_qs, u"Émile 😀"_qs}}},
    };
    for (const auto& [file, rules] : cases) {
        EXPECT_EQ(RulesFile::encode(rules), golden(file)) << file;
        EXPECT_EQ(RulesFile::decode(golden(file)), rules) << file;
    }
    EXPECT_EQ(RulesFile::encode({}), QByteArray("[\n\n]")) << "the empty list";
    EXPECT_EQ(RulesFile::decode(golden("compact.json")), RulesFile::decode(golden("several.json")));
    EXPECT_EQ(RulesFile::decode(R"([{"prefix":"\ud83d\ude00","profileDirectory":""}])"),
              (ProfileRules{{u"😀"_qs, QString()}}));
    for (const char* rejected : {
             "[",
             R"({"prefix":"a","profileDirectory":"b"})",
             R"([{"prefix":"a","profileDirectory":"b"},{"prefix":"c"}])",
             R"([{"prefix":1,"profileDirectory":"b"}])",
             R"([{"prefix":"a","profileDirectory":"b"}, 3])",
             R"([{"prefix":"lone \udddd","profileDirectory":"b"}])",
         })
        EXPECT_FALSE(RulesFile::decode(rejected).has_value()) << rejected;
}

// New prefixes go first; known ones change in place; remove takes every copy.
// The first fitting rule in list order wins, on raw text; a corrupt file
// matches nothing.
TEST(RuleStore, OrderAndMatching)
{
    FakePlatform platform;
    RuleStore::save({A, B, {B.prefix, u"Other"_qs}});
    RuleStore::upsert(u"https://new.example"_qs, u"Default"_qs);
    RuleStore::upsert(B.prefix, u"Profile 9"_qs);
    EXPECT_EQ(RuleStore::load(), (ProfileRules{{u"https://new.example"_qs, u"Default"_qs},
                                               A,
                                               {B.prefix, u"Profile 9"_qs},
                                               {B.prefix, u"Other"_qs}}));
    RuleStore::save({A, B, A, C});
    RuleStore::remove(A.prefix);
    EXPECT_EQ(RuleStore::load(), (ProfileRules{B, C}));

    RuleStore::save({{u"https://"_qs, u"First"_qs}, {u"https://a.example/x"_qs, u"Longer"_qs}});
    EXPECT_EQ(RuleStore::match(u"https://a.example/x/y"_qs)->profileDirectory, u"First"_qs);
    RuleStore::save(
        {{u"https://A.example"_qs, u"Upper"_qs}, {u"https://a.example"_qs, u"Lower"_qs}});
    EXPECT_EQ(RuleStore::match(u"https://a.example.evil/"_qs)->profileDirectory, u"Lower"_qs);
    writeFile(RuleStore::fileURL(), "[{\"prefix\": \"https://\"");
    EXPECT_FALSE(RuleStore::match(u"https://a.example"_qs));
}

// A file that cannot be decoded is kept aside, under a new name each time,
// before any change replaces it; a write that fails part-way leaves the
// previous file whole and no temporary file behind.
TEST(RuleStore, NoChangeLosesTheFile)
{
    FakePlatform platform;
    const QDir folder = QFileInfo(RuleStore::fileURL()).dir();
    writeFile(RuleStore::fileURL(), "[ { \"prefix\": \"https://hand.edited\", oops } ]");
    EXPECT_TRUE(RuleStore::load().isEmpty());
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 1) << "reading alone copies nothing";
    RuleStore::upsert(A.prefix, A.profileDirectory);
    writeFile(RuleStore::fileURL(), "second");
    RuleStore::remove(A.prefix);
    writeFile(RuleStore::fileURL(), "third");
    RuleStore::save({A, B});
    QStringList kept;
    for (const QString& name : folder.entryList({u"rules.json.unreadable-*"_qs}, QDir::Files))
        kept.append(QString::fromUtf8(readFile(folder.filePath(name))));
    kept.sort();
    EXPECT_EQ(kept, (QStringList{u"[ { \"prefix\": \"https://hand.edited\", oops } ]"_qs,
                                 u"second"_qs, u"third"_qs}));
    EXPECT_EQ(RuleStore::load(), (ProfileRules{A, B}));

    const QByteArray before = readFile(RuleStore::fileURL());
    rlimit saved{}; // a file-size limit makes every write past 16 bytes fail, even for root
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    RuleStore::upsert(u"https://a-much-longer-prefix.example"_qs, u"Profile 1"_qs);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(readFile(RuleStore::fileURL()), before);
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 4) << "no temporary file is left behind";
}
