#include "rules/RuleStore.h"
#include "rules/RulesFile.h"

#include "FakePlatform.h"

#include <QDir>
#include <csignal>
#include <sys/resource.h>

// The writer's bytes match the golden files exactly, and read back equal; any
// JSON of the right shape is read; anything else rejects the whole file.
TEST(RulesFile, GoldenBytesAndWholeFileDecoding)
{
    const auto golden = [](const char* name) {
        return readFile(QStringLiteral(ORLIM_TEST_DATA "/rules/") + QString::fromLatin1(name));
    };
    const ProfileRules several{{u"https://github.com"_qs, u"Profile 1"_qs},
                               {u"https://"_qs, u"Default"_qs},
                               {u"http://intra.example:8080/x"_qs, u"Profile 2"_qs}};
    const ProfileRules escapes{{u"say \"hi\" \\ back\\slash"_qs, u"日本 \"Q\""_qs},
                               {u"tab\there\nline\u0001\u001f\u007f"_qs, u"Émile 😀\r\b\f"_qs}};
    EXPECT_EQ(RulesFile::encode(several), golden("several.json"));
    EXPECT_EQ(RulesFile::encode(escapes), golden("escapes.json"));
    EXPECT_EQ(RulesFile::decode(golden("escapes.json")), escapes);
    EXPECT_EQ(RulesFile::decode(golden("compact.json")), several);
    EXPECT_EQ(RulesFile::encode({}), QByteArray("[\n\n]")) << "the empty list";
    for (const char* rejected : {R"({"prefix":"a","profileDirectory":"b"})",
                                 R"([{"prefix":"a","profileDirectory":"b"},{"prefix":"c"}])",
                                 R"([{"prefix":"lone \udddd","profileDirectory":"b"}])"})
        EXPECT_FALSE(RulesFile::decode(rejected).has_value()) << rejected;
}

// New prefixes go first, known ones change in place; the first fitting rule
// wins. A file that cannot be decoded is kept aside, under a new name each
// time, before any change replaces it; a write that fails part-way leaves the
// previous file whole and no temporary file behind.
TEST(RuleStore, OrderAndNoChangeLosesTheFile)
{
    FakePlatform platform;
    const ProfileRule A{u"https://a"_qs, u"A"_qs}, B{u"https://b"_qs, u"B"_qs};
    RuleStore::save({A, {u"https://"_qs, u"Any"_qs}});
    RuleStore::upsert(B.prefix, B.profileDirectory);
    RuleStore::upsert(A.prefix, u"A2"_qs);
    EXPECT_EQ(RuleStore::match(u"https://a/x"_qs)->profileDirectory, u"A2"_qs);
    EXPECT_EQ(RuleStore::match(u"https://c/x"_qs)->profileDirectory, u"Any"_qs);

    const QDir folder = QFileInfo(RuleStore::fileURL()).dir();
    writeFile(RuleStore::fileURL(), "[ { \"prefix\": oops } ]");
    EXPECT_TRUE(RuleStore::load().isEmpty());
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 1) << "reading alone copies nothing";
    RuleStore::upsert(A.prefix, A.profileDirectory);
    writeFile(RuleStore::fileURL(), "second");
    RuleStore::save({A, B});
    QStringList kept;
    for (const QString& name : folder.entryList({u"rules.json.unreadable-*"_qs}, QDir::Files))
        kept.append(QString::fromUtf8(readFile(folder.filePath(name))));
    kept.sort();
    EXPECT_EQ(kept, (QStringList{u"[ { \"prefix\": oops } ]"_qs, u"second"_qs}));

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
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 3) << "no temporary file is left behind";
}
