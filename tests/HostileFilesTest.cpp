// Files that other programs, or a damaged disk, may leave where Orlim reads:
// Orlim answers with empty or partial results and never crashes or loses rules.
#include "chrome/ChromeProfiles.h"
#include "rules/RuleStore.h"
#include "rules/RulesFile.h"

#include "FakePlatform.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

TEST(HostileFiles, LocalState)
{
    FakePlatform platform;

    platform.writeLocalState(R"({"profile": {"info_cache": {"Default": {"x": )" +
                             QByteArray(100000, '[') + QByteArray(100000, ']') + "}}}}");
    EXPECT_TRUE(ChromeProfiles::load().profiles.isEmpty()) << "100,000 levels deep";

    platform.writeLocalState(
        "{\"profile\": {\"info_cache\": {\"Default\": {\"name\": \"\xff\xfe\"}}}}");
    EXPECT_TRUE(ChromeProfiles::load().profiles.isEmpty()) << "invalid UTF-8";

    QByteArray huge = R"({"profile": {"info_cache": {"Default": {"name": "Big"}}}, "padding": ")";
    huge.append(QByteArray(100 * 1024 * 1024, 'x'));
    huge.append("\"}");
    platform.writeLocalState(huge);
    huge.clear();
    ASSERT_EQ(ChromeProfiles::load().profiles.size(), 1) << "100 MB";
    EXPECT_EQ(ChromeProfiles::load().profiles[0].displayName, u"Big"_qs);

    QByteArray many = R"({"profile": {"info_cache": {)";
    for (int i = 0; i < 100000; ++i)
        many.append((i ? ",\"P" : "\"P") + QByteArray::number(i) + "\": {}");
    many.append("}}}");
    platform.writeLocalState(many);
    const QList<ChromeProfile> profiles = ChromeProfiles::load().profiles;
    ASSERT_EQ(profiles.size(), 100000) << "100,000 members";
    EXPECT_EQ(profiles[0].directoryName, u"P0"_qs);
    EXPECT_EQ(profiles[1].directoryName, u"P1"_qs);
    EXPECT_EQ(profiles[2].directoryName, u"P10"_qs);
}

TEST(HostileFiles, RulesFileThatIsNotAFile)
{
    FakePlatform platform;
    const QString path = RuleStore::fileURL();
    QDir().mkpath(path); // a directory where the file belongs
    EXPECT_TRUE(RuleStore::load().isEmpty());
    EXPECT_FALSE(RuleStore::match(u"https://a"_qs));
    RuleStore::upsert(u"https://a"_qs, u"Default"_qs);
    EXPECT_TRUE(QFileInfo(path).isDir()) << "left as it was";
    QDir(path).removeRecursively();

    ASSERT_TRUE(QFile::link(path, path)); // a link to itself
    EXPECT_TRUE(RuleStore::load().isEmpty());
    RuleStore::upsert(u"https://a"_qs, u"Default"_qs);
    RuleStore::remove(u"https://a"_qs);
    EXPECT_TRUE(QFileInfo(path).isSymLink()) << "left as it was";
}

TEST(HostileFiles, HugeRulesFileIsKeptAside)
{
    FakePlatform platform;
    QByteArray huge(50 * 1024 * 1024, 'a');
    huge.prepend('"').append('"');
    writeFile(RuleStore::fileURL(), huge);
    EXPECT_TRUE(RuleStore::load().isEmpty());
    EXPECT_FALSE(RuleStore::match(u"https://a"_qs));

    RuleStore::upsert(u"https://a"_qs, u"Default"_qs);
    EXPECT_EQ(RuleStore::load(), (ProfileRules{{u"https://a"_qs, u"Default"_qs}}));
    const QStringList kept =
        QDir(platform.files.orlimDirectory()).entryList({u"rules.json.unreadable-*"_qs});
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(QFileInfo(platform.files.orlimDirectory() + u'/' + kept[0]).size(), huge.size());
}
