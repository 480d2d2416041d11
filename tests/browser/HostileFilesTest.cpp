// SPDX-License-Identifier: GPL-3.0-or-later
// Files that other programs, or a damaged disk, may leave where Orlim reads:
// Orlim answers with empty or partial results and never hangs or crashes.
#include "browser/firefox/FirefoxProfiles.h"
#include "ui/look/ProfileAvatarView.h"

#include "FakePlatform.h"

#include <QDir>
#include <functional>
#include <sys/stat.h>

// Pipes, devices, endless files and links to themselves where Orlim reads are
// refused at once, as if absent: Chrome's "Local State" and pictures,
// Firefox's "profiles.ini" and its profile manager's store.
TEST(HostileFiles, FilesThatAreNotFiles)
{
    FakePlatform platform;
    const QString localState = ChromeProfiles::localStateURL(platform.chromeDirectory());
    const QString picture = platform.chromeDirectory() + u"/Default/picture.png";
    const QString firefox = platform.root.path() + u"/firefox";
    const QString profilesIni = FirefoxProfiles::profilesIniURL(firefox);
    const QString store = firefox + u"/Profile Groups/1.sqlite";
    const std::function<bool(const QString&)> makers[] = {
        [](const QString& p) { return ::mkfifo(QFile::encodeName(p).constData(), 0600) == 0; },
        [](const QString& p) { return QFile::link(u"/dev/zero"_s, p); },
        [](const QString& p) { return QFile::link(p, p); },
        [](const QString& p) { // 1 GiB without writing it
            return QFile(p).open(QIODevice::WriteOnly) && QFile::resize(p, qint64(1) << 30);
        },
    };
    for (const auto& make : makers) {
        for (const QString& path : {localState, picture, profilesIni, store}) {
            QFile::remove(path);
            QDir().mkpath(QFileInfo(path).absolutePath());
        }
        ASSERT_TRUE(make(localState));
        EXPECT_TRUE(platform.catalogue().profiles.isEmpty());

        QFile::remove(localState);
        writeFile(localState, R"({"profile": {"info_cache": {"Default": {
            "gaia_picture_file_name": "picture.png"}}}})");
        ASSERT_TRUE(make(picture));
        const QList<ChromeProfile> profiles = platform.catalogue().profiles;
        ASSERT_EQ(profiles.size(), 1);
        EXPECT_TRUE(ProfileAvatarView::readPicture(profiles[0]).isNull());

        ASSERT_TRUE(make(profilesIni));
        EXPECT_TRUE(FirefoxProfiles::load(firefox).profiles.isEmpty());
        QFile::remove(profilesIni);
        writeFile(profilesIni, "[Profile0]\nName=A\nIsRelative=1\nPath=a\nStoreID=1\n");
        ASSERT_TRUE(make(store));
        EXPECT_EQ(described(FirefoxProfiles::load(firefox).profiles, firefox),
                  QStringList{u"~/a|A|-|-"_s});
    }
}

// What Firefox's "profiles.ini" holds is taken section by section: one without
// a folder, or with a folder that could not reach Firefox intact (not UTF-8, a
// relative path said to be absolute), is left out; a name that is not UTF-8
// shows what can be read; names may repeat (their folders tell them apart), a
// folder listed twice is one profile; an absolute path is taken as it is.
TEST(HostileFiles, ProfilesIniSections)
{
    const QByteArray ini = "Name=outside\n[Profile1]\nName=NoPath\n[Profile2]\nName=A\nPath=\n"
                           "[Profile3]\nName=B\nIsRelative=1\nPath=b\n"
                           "[Profile4]\nName=\xff\xfe caf\xe9\nIsRelative=1\nPath=x\n"
                           "[Profile5]\nName=Bad path\nIsRelative=1\nPath=caf\xe9\n"
                           "[Profile6]\nName=Same\nIsRelative=1\nPath=a\r\n"
                           "[Profile7]\r\nName=Same\r\nIsRelative=1\r\nPath=c\r\n"
                           "[Profile8]\nName=Again\nIsRelative=1\nPath=./a\n"
                           "[Profile9]\nName=Abs\nIsRelative=0\nPath=/srv/p\n"
                           "[Profile10]\nName=Rel\nIsRelative=0\nPath=p\n"
                           "[Profile11]\nName=Up\nIsRelative=1\nPath=../elsewhere/p\n"
                           "[Profile]\nName=X\nPath=/x\n[General]\nPath=/g\n[Profile12]\nPath=/n";
    EXPECT_EQ(described(FirefoxProfiles::parse(ini, u"/d"_s).profiles),
              (QStringList{u"/d/b|B|-|-"_s, u"/d/x|\ufffd\ufffd caf\ufffd|-|-"_s,
                           u"/d/a|Same|-|-"_s, u"/d/c|Same|-|-"_s, u"/srv/p|Abs|-|-"_s,
                           u"/elsewhere/p|Up|-|-"_s, u"/n|n|-|-"_s}));
}
