// SPDX-License-Identifier: GPL-3.0-or-later
// The rules are off as built, but their code ships and the rules file is the
// user's data: its format and its safety are checked in both builds, the
// picker's part of them where rules are on.
#include "rules/FeatureFlags.h"
#include "rules/RuleStore.h"
#include "rules/RulesFile.h"
#include "ui/picker/ProfilePickerView.h"
#include "ui/picker/ProfileRow.h"

#include "FakePlatform.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

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
    EXPECT_EQ(RulesFile::decode(golden("escapes.json")), escapes);
    EXPECT_EQ(RulesFile::decode(golden("compact.json")), several);
    EXPECT_EQ(RulesFile::encode({}), QByteArray("[\n\n]")) << "the empty list";
    for (const char* rejected : {R"({"prefix":"a","profileDirectory":"b"})",
                                 R"([{"prefix":"a","profileDirectory":"b"},{"prefix":"c"}])",
                                 R"([{"prefix":"a","profileDirectory":"b"},3])",
                                 R"([{"prefix":"lone \udddd","profileDirectory":"b"}])"})
        EXPECT_FALSE(RulesFile::decode(rejected).has_value()) << rejected;
}

// New prefixes go first, known ones change in place, the same prefix in
// another Unicode spelling included; the first fitting rule wins. A file that
// cannot be decoded is kept aside, under a new name each time, before any
// change replaces it; one that cannot be read at all is left alone; a write
// that fails part-way leaves the previous file whole and no temporary file.
TEST(RuleStore, OrderAndNoChangeLosesTheFile)
{
    FakePlatform platform;
    const ProfileRule A{u"https://a"_s, u"A"_s}, B{u"https://b"_s, u"B"_s};
    RuleStore::save({A, {u"https://"_s, u"Any"_s}});
    RuleStore::upsert(B.prefix, B.profileDirectory);
    RuleStore::upsert(A.prefix, u"A2"_s);
    RuleStore::upsert(u"https://caf\u00e9"_s, u"C"_s);
    RuleStore::upsert(u"https://cafe\u0301"_s, u"C2"_s);
    const ProfileRules stored = RuleStore::load();
    ASSERT_EQ(stored.size(), 4) << "the same prefix in another spelling is replaced";
    EXPECT_EQ(stored[0], (ProfileRule{u"https://caf\u00e9"_s, u"C2"_s}));
    EXPECT_EQ(stored[1], B) << "new rules come first";
    EXPECT_EQ(RuleStore::match(u"https://a/x"_s)->profileDirectory, u"A2"_s);
    EXPECT_EQ(RuleStore::match(u"https://c/x"_s)->profileDirectory, u"Any"_s);
    EXPECT_EQ(RuleStore::match(u"https://cafe\u0301/x"_s)->profileDirectory, u"C2"_s);
    RuleStore::upsert(u"https://e"_s, u"E"_s);
    EXPECT_EQ(RuleStore::match(u"https://e\u0301.example"_s)->profileDirectory, u"Any"_s)
        << "a prefix never ends inside a character";

    const QDir folder = QFileInfo(RuleStore::fileURL()).dir();
    writeFile(RuleStore::fileURL(), "[ { \"prefix\": oops } ]");
    EXPECT_TRUE(RuleStore::load().isEmpty());
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 1) << "reading alone copies nothing";
    RuleStore::upsert(A.prefix, A.profileDirectory);
    writeFile(RuleStore::fileURL(), "second");
    RuleStore::save({A, B});
    QStringList kept;
    for (const QString& name : folder.entryList({u"rules.json.unreadable-*"_s}, QDir::Files))
        kept.append(QString::fromUtf8(readFile(folder.filePath(name))));
    kept.sort();
    EXPECT_EQ(kept, (QStringList{u"[ { \"prefix\": oops } ]"_s, u"second"_s}));

    const QByteArray before = readFile(RuleStore::fileURL());
    rlimit saved{}; // a file-size limit makes every write past 16 bytes fail, even for root
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit tiny = saved;
    tiny.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    RuleStore::upsert(u"https://a-much-longer-prefix.example"_s, u"Profile 1"_s);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(readFile(RuleStore::fileURL()), before);
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 3) << "no temporary file is left behind";

    // Not a file Orlim can read (here a named pipe in its place): never replaced.
    QFile::remove(RuleStore::fileURL());
    ASSERT_EQ(::mkfifo(QFile::encodeName(RuleStore::fileURL()).constData(), 0600), 0);
    RuleStore::upsert(A.prefix, A.profileDirectory);
    EXPECT_FALSE(QFileInfo(RuleStore::fileURL()).isFile());
}

// The site offered for a rule: the scheme and host as written, brackets
// included; nothing for a link without a host, or that is no URI.
TEST(RuleStore, SitePrefix)
{
    const struct
    {
        QString url;
        std::optional<QString> prefix;
    } cases[] = {
        {u"https://Mail.Example.com:8443/inbox"_s, u"https://Mail.Example.com"_s},
        {u"https://b%C3%BCcher.example/x"_s, u"https://b%C3%BCcher.example"_s},
        {u"http://[::1]:8080/"_s, u"http://[::1]"_s},
        {u"mailto:someone@example.com"_s, std::nullopt},
        {u"file:///etc/passwd"_s, std::nullopt},
        {u"not a link"_s, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RuleStore::sitePrefix(c.url), c.prefix) << c.url.toStdString();
}

// With rules on, the prefix field keeps every key typed into it (a digit is
// text there, not a choice), leading and trailing spaces and tabs are not
// part of the rule, and the picker coming back on screen keeps what was typed.
TEST(PickerView, ThePrefixField)
{
    if (!FeatureFlags::rulesEnabled)
        GTEST_SKIP() << "rules are off in this build";
    FakePlatform platform;
    QStringList chosen;
    const QList<ChromeProfile> profiles{{u"Default"_s, u"A"_s, {}, {}, {}},
                                        {u"Profile 1"_s, u"B"_s, {}, {}, {}}};
    ProfilePickerView view(
        u"https://example.com/x"_s, profiles,
        [&](const ChromeProfile& profile, const std::optional<QString>& prefix,
            ProfilePickerModel::Manner) {
            chosen.append(profile.directoryName + u' ' + prefix.value_or(u"-"_s));
        },
        [](bool) {});
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    view.model().toggleRemember();
    auto* field = view.findChild<QLineEdit*>();
    ASSERT_TRUE(field && field->isVisible());
    EXPECT_EQ(field->text(), u"https://example.com"_s);
    field->setFocus();
    QTest::keyClicks(field, u"/2"_s);
    QTest::keyClick(field, Qt::Key_Down);
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(chosen.isEmpty()) << "the keys went to the field, not to the picker";
    EXPECT_TRUE(view.rows()[0]->isSelected());
    EXPECT_EQ(field->text(), u"https://example.com/2"_s);
    field->setText(u"\t https://example.com/a\u3000\t"_s);
    Q_EMIT field->textEdited(field->text()); // as pasted
    view.hide();
    view.show();
    EXPECT_EQ(field->text(), u"\t https://example.com/a\u3000\t"_s) << "kept on reappearing";
    view.setFocus();
    QTest::keyClick(&view, Qt::Key_2);
    EXPECT_EQ(chosen, QStringList{u"Profile 1 https://example.com/a"_s});
}
