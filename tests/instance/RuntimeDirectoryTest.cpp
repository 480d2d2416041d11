// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/RuntimeDirectory.h"

#include "FakePlatform.h"

#include <QDir>
#include <unistd.h>

// The runtime folder is private however it was found (an existing one with
// loose permissions is tightened), and falls back to /tmp/orlim-<uid> when
// XDG_RUNTIME_DIR is missing, relative, or too long for a socket's path.
TEST(RuntimeDirectory, PrivateAndWithinTheSocketPathLimit)
{
    QTemporaryDir dir;
    const ScopedVariable restored("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    QDir().mkpath(dir.path() + u"/orlim");
    QFile::setPermissions(dir.path() + u"/orlim", QFile::Permissions(0x7755));
    EXPECT_EQ(RuntimeDirectory::forCurrentUser()->path, dir.path().toStdString() + "/orlim");
    EXPECT_EQ(QFile::permissions(dir.path() + u"/orlim"), QFile::Permissions(0x7700));

    // Its socket's path, ".../orlim/links.socket", would fill the 108 bytes of
    // sun_path exactly, leaving no room for the NUL.
    const QString longBase = dir.path() + u'/' + QString(88 - dir.path().size(), u'r');
    QDir().mkpath(longBase);
    QDir().mkpath(u"relative/run"_s); // exists, so only its being relative refuses it
    for (const QByteArray& base : {QFile::encodeName(longBase), QByteArray("relative/run"),
                                   QByteArray("/nonexistent/run")}) {
        qputenv("XDG_RUNTIME_DIR", base);
        EXPECT_EQ(RuntimeDirectory::forCurrentUser()->path,
                  "/tmp/orlim-" + std::to_string(getuid()))
            << base.toStdString();
    }
    QDir(u"relative"_s).removeRecursively();
}
