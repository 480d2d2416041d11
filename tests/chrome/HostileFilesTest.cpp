// SPDX-License-Identifier: GPL-3.0-or-later
// Files that other programs, or a damaged disk, may leave where Orlim reads:
// Orlim answers with empty or partial results and never hangs or crashes.
#include "chrome/ChromeProfiles.h"
#include "ui/look/ProfileAvatarView.h"

#include "FakePlatform.h"

#include <QDir>
#include <functional>
#include <sys/stat.h>

// Pipes, devices, endless files and links to themselves where Orlim reads are
// refused at once, as if absent.
TEST(HostileFiles, FilesThatAreNotFiles)
{
    FakePlatform platform;
    const QString localState = ChromeProfiles::localStateURL(platform.chromeDirectory());
    const QString picture = platform.chromeDirectory() + u"/Default/picture.png";
    using Make = std::function<bool(const QString&)>;
    const Make makers[] = {[](const QString& path) {
                               return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
                           },
                           [](const QString& path) { return QFile::link(u"/dev/zero"_s, path); },
                           [](const QString& path) { return QFile::link(path, path); },
                           [](const QString& path) { // 1 GiB without writing it
                               QFile file(path);
                               return file.open(QIODevice::WriteOnly) &&
                                      file.resize(qint64(1) << 30);
                           }};
    for (const Make& make : makers) {
        for (const QString& path : {localState, picture}) {
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
    }
}
