// Files that other programs, or a damaged disk, may leave where Orlim reads:
// Orlim answers with empty or partial results and never crashes or loses rules.
#include "chrome/ChromeProfiles.h"
#include "rules/RuleStore.h"
#include "rules/RulesFile.h"
#include "ui/ProfileAvatarView.h"

#include "FakePlatform.h"

#include <QDir>
#include <QFile>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>

// Pipes, devices and endless files where Orlim reads are refused at once, as if
// absent (or, for rules, unreadable and so never replaced).
TEST(HostileFiles, FilesThatAreNotFiles)
{
    FakePlatform platform;
    const QString localState = platform.chromeDirectory() + u"/Local State";
    const QString picture = platform.chromeDirectory() + u"/Default/picture.png";
    const QString rules = RuleStore::fileURL();
    for (const QString& path : {localState, picture, rules})
        QDir().mkpath(QFileInfo(path).absolutePath());
    const auto makeFifo = [](const QString& path) {
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    };
    const auto makeZero = [](const QString& path) {
        ASSERT_TRUE(QFile::link(u"/dev/zero"_qs, path));
    };
    const auto makeSparse = [](const QString& path) { // 1 GiB without writing it
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.resize(qint64(1) << 30));
    };
    using Make = std::function<void(const QString&)>;
    for (const Make& make : {Make(makeFifo), Make(makeZero), Make(makeSparse)}) {
        for (const QString& path : {localState, picture, rules})
            QFile::remove(path);
        make(localState);
        EXPECT_TRUE(ChromeProfiles::load().profiles.isEmpty());

        QFile::remove(localState);
        writeFile(localState, R"({"profile": {"info_cache": {"Default": {
            "gaia_picture_file_name": "picture.png"}}}})");
        make(picture);
        const QList<ChromeProfile> profiles = ChromeProfiles::load().profiles;
        ASSERT_EQ(profiles.size(), 1);
        EXPECT_TRUE(ProfileAvatarView::readPicture(profiles[0]).isNull());

        make(rules);
        EXPECT_TRUE(RuleStore::load().isEmpty());
        RuleStore::upsert(u"https://a"_qs, u"Default"_qs);
        EXPECT_FALSE(QFileInfo(rules).isFile() && QFileInfo(rules).size() < 100) << "not replaced";
    }
}

// A rules file that is a link to itself cannot be read, and so is never replaced.
TEST(HostileFiles, RulesFileLinkedToItself)
{
    FakePlatform platform;
    const QString path = RuleStore::fileURL();
    QDir().mkpath(QFileInfo(path).absolutePath());
    ASSERT_TRUE(QFile::link(path, path));
    EXPECT_TRUE(RuleStore::load().isEmpty());
    EXPECT_FALSE(RuleStore::match(u"https://a"_qs));
    RuleStore::upsert(u"https://a"_qs, u"Default"_qs);
    RuleStore::remove(u"https://a"_qs);
    EXPECT_TRUE(QFileInfo(path).isSymLink()) << "left as it was";
}
