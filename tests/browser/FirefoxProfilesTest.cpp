// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/firefox/FirefoxProfiles.h"

#include "FakePlatform.h"

#include <QDir>
#include <sqlite3.h>

// Files Firefox ESR wrote itself (tests/data/firefox: three profiles made with
// -CreateProfile and the profile manager, which filled its store for "Work"):
// "ProfileN" by number whatever the file's order, names as typed, each profile
// named by its folder's path; the group in the store takes the place of its
// entry, by name, with its theme's colours; the profile marked default is the
// last used. A store that cannot be read leaves the entry as profiles.ini has it.
TEST(FirefoxProfiles, AsFirefoxWroteThem)
{
    FakePlatform platform;
    const QString data = platform.root.filePath(u"firefox"_s);
    const QString store = data + u"/Profile Groups/835f6065.sqlite";
    const QString fixtures = QStringLiteral(ORLIM_TEST_DATA "/firefox");
    writeFile(FirefoxProfiles::profilesIniURL(data), readFile(fixtures + u"/profiles.ini"));
    const QByteArray storeBytes = readFile(fixtures + u"/Profile Groups/835f6065.sqlite");
    writeFile(store, storeBytes);
    const ChromeProfileInfo info = FirefoxProfiles::load(data);
    EXPECT_EQ(described(info.profiles, data),
              (QStringList{u"~/01ygaurb.仕事|仕事|-|-"_s,
                           u"~/01ygaurb.Work|Original profile|fff0f0f4|ff15141a"_s,
                           u"~/prJ16qFa.Profile 2|Profile 2|fff0f0f4|ff15141a"_s,
                           u"~/qKQZUJ6E.Profile 1|家族 Family|ff0060df|ffffffff"_s,
                           u"~/k2cmy34n.Personal Stuff|Personal Stuff|-|-"_s}));
    EXPECT_EQ(info.lastUsedDirectory, data + u"/01ygaurb.仕事");
    EXPECT_EQ(QDir(data + u"/Profile Groups").entryList(QDir::Files),
              QStringList{u"835f6065.sqlite"_s})
        << "nothing made beside a store no Firefox has open";

    const QStringList withoutStore{u"~/01ygaurb.仕事|仕事|-|-"_s, u"~/01ygaurb.Work|Work|-|-"_s,
                                   u"~/k2cmy34n.Personal Stuff|Personal Stuff|-|-"_s};
    for (const QByteArray& damaged :
         {QByteArray(), storeBytes.left(storeBytes.size() / 2), QByteArray(4096, 'x')}) {
        QFile::remove(store);
        if (!damaged.isEmpty())
            writeFile(store, damaged);
        EXPECT_EQ(described(FirefoxProfiles::load(data).profiles, data), withoutStore)
            << damaged.size();
    }

    // While Firefox has its store open, what it last finished writing is read,
    // through its log, while it writes on; a store held locked is not waited
    // for (SQLite waits by sleeping: its sleeps are counted, and skipped), nor
    // one with no rows shown as none: the group is shown as "profiles.ini" has it.
    writeFile(FirefoxProfiles::profilesIniURL(data),
              "[Profile0]\nName=Work\nIsRelative=1\nPath=01ygaurb.Work\nStoreID=835f6065\n");
    const std::pair<const char*, const char*> cases[] = {
        // what Firefox does, the names shown in order
        {"UPDATE Profiles SET name = 'Renamed' WHERE id = 3",
         "Original profile,Renamed,家族 Family"},
        {"BEGIN; UPDATE Profiles SET name = 'Unfinished' WHERE id = 3",
         "Original profile,Profile 2,家族 Family"},
        {"SELECT 1 FROM Profiles; PRAGMA locking_mode = EXCLUSIVE; BEGIN EXCLUSIVE; "
         "UPDATE Profiles SET name = 'Locked' WHERE id = 3",
         "Work"},
        {"DELETE FROM Profiles", "Work"},
    };
    static int sleeps = 0;
    sqlite3_vfs counting = *sqlite3_vfs_find(nullptr);
    counting.zName = "counting-sleeps";
    counting.xSleep = [](sqlite3_vfs*, int) { return ++sleeps, 0; };
    sqlite3_vfs_register(&counting, 1);
    for (const auto& [firefoxDoes, shown] : cases) {
        writeFile(store, storeBytes);
        sqlite3* firefox = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(store).constData(), &firefox), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(firefox, firefoxDoes, nullptr, nullptr, nullptr), SQLITE_OK);
        QStringList names;
        for (const ChromeProfile& profile : FirefoxProfiles::load(data).profiles)
            names.append(profile.displayName);
        EXPECT_EQ(names.join(u','), QString::fromUtf8(shown)) << firefoxDoes;
        EXPECT_EQ(std::exchange(sleeps, 0), 0) << firefoxDoes;
        sqlite3_close(firefox);
    }
    sqlite3_vfs_unregister(&counting);
}
