// SPDX-License-Identifier: GPL-3.0-or-later
// The rules are off as built, but their code ships and the rules file is the
// user's data: its format and its safety are checked in both builds, the
// picker's part of them where rules are on.
#include "rules/RuleStore.h"

#include "FakePlatform.h"

#include <QDir>
#include <QFile>
#include <csignal>
#include <sys/resource.h>
// New prefixes go first, known ones change in place, the same prefix in
// another Unicode spelling included; the first fitting rule wins. A file that
// cannot be decoded is kept aside, under a new name each time, before any
// change replaces it; one that cannot be read at all is left alone; a write
// that fails part-way leaves the previous file whole and no temporary file.
TEST(RuleStore, OrderAndNoChangeLosesTheFile)
{
    FakePlatform platform;
    const ProfileRule A{u"https://a"_s, u"A"_s}, B{u"https://b"_s, u"B"_s},
        any{u"https://"_s, u"Any"_s};
    platform.rules.save({A, any});
    platform.rules.upsert(B.prefix, B.profileDirectory, {});
    platform.rules.upsert(A.prefix, u"A2"_s, {});
    platform.rules.upsert(u"https://caf\u00e9"_s, u"C"_s, {});
    platform.rules.upsert(u"https://cafe\u0301"_s, u"C2"_s, {});
    const ProfileRule c2{u"https://caf\u00e9"_s, u"C2"_s};
    EXPECT_EQ(platform.rules.load(), (ProfileRules{c2, B, {A.prefix, u"A2"_s}, any}));
    EXPECT_EQ(platform.rules.match(u"https://a/x"_s)->profileDirectory, u"A2"_s);
    EXPECT_EQ(platform.rules.match(u"https://cafe\u0301/x"_s)->profileDirectory, u"C2"_s);
    platform.rules.upsert(u"https://e"_s, u"E"_s, {});
    EXPECT_EQ(platform.rules.match(u"https://e\u0301.example"_s)->profileDirectory, u"Any"_s)
        << "a prefix never ends inside a character";

    const QDir folder = QFileInfo(platform.rules.fileURL()).dir();
    writeFile(platform.rules.fileURL(), "[ { \"prefix\": oops } ]");
    EXPECT_TRUE(platform.rules.load().isEmpty());
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 1) << "reading alone copies nothing";
    platform.rules.upsert(A.prefix, A.profileDirectory, {});
    writeFile(platform.rules.fileURL(), "second");
    platform.rules.save({A, B});
    QStringList kept;
    for (const QString& name : folder.entryList({u"rules.json.unreadable-*"_s}, QDir::Files))
        kept.append(QString::fromUtf8(readFile(folder.filePath(name))));
    kept.sort();
    EXPECT_EQ(kept, (QStringList{u"[ { \"prefix\": oops } ]"_s, u"second"_s}));

    const QByteArray before = readFile(platform.rules.fileURL());
    rlimit saved{}; // a file-size limit makes every write past 16 bytes fail, even for root
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    const rlimit tiny{16, saved.rlim_max};
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
    platform.rules.upsert(u"https://a-much-longer-prefix.example"_s, u"Profile 1"_s, {});
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previousHandler);
    EXPECT_EQ(readFile(platform.rules.fileURL()), before);
    EXPECT_EQ(folder.entryList(QDir::Files).size(), 3) << "no temporary file is left behind";

    // Not a file Orlim can read (here a named pipe in its place): never replaced.
    QFile::remove(platform.rules.fileURL());
    ASSERT_EQ(::mkfifo(QFile::encodeName(platform.rules.fileURL()).constData(), 0600), 0);
    platform.rules.upsert(A.prefix, A.profileDirectory, {});
    EXPECT_FALSE(QFileInfo(platform.rules.fileURL()).isFile());
}

// A rule written before rules named a browser is the served browser's: once
// settled, or rewritten by any change, it stays with that browser when another
// is served; untouched, it follows the one served. (A rule saved as read keeps
// it too, since reading names the browser.)
TEST(RuleStore, OldRulesKeepTheBrowserServed)
{
    for (const char step : {'-', 's', 'r', 'u'}) {
        FakePlatform platform;
        QString served = u"chromium.desktop"_s;
        RuleStore store(platform.files, [&] { return served; });
        writeFile(store.fileURL(), R"([{"prefix": "https://old", "profileDirectory": "P"}])");
        if (step == 's')
            store.settle();
        if (step == 'r')
            store.remove(u"https://other"_s);
        if (step == 'u')
            store.upsert(u"https://new"_s, u"P"_s, u"x.desktop"_s);
        served = u"brave.desktop"_s;
        EXPECT_EQ(store.match(u"https://old/x"_s)->browser,
                  step == '-' ? u"brave.desktop"_s : u"chromium.desktop"_s)
            << step;
    }
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
        {u"not a link"_s, std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RuleStore::sitePrefix(c.url), c.prefix) << c.url.toStdString();
}
