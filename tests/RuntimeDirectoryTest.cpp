#include "app/RuntimeDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <unistd.h>

// The folder is private however it was found, and falls back to /tmp when
// XDG_RUNTIME_DIR is relative or too long for a socket's path.
TEST(RuntimeDirectory, PrivateAndWithinTheSocketPathLimit)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const std::string fallback = "/tmp/orlim-" + std::to_string(::getuid());

    QDir().mkpath(dir.path() + u"/orlim");
    QFile::setPermissions(dir.path() + u"/orlim", QFile::Permissions(0x7755));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    EXPECT_EQ(RuntimeDirectory::forCurrentUser()->path, dir.path().toStdString() + "/orlim");
    EXPECT_EQ(QFile::permissions(dir.path() + u"/orlim"), QFile::Permissions(0x7700))
        << "an existing folder with loose permissions is tightened";

    const QString longBase = dir.path() + u'/' + QString(120 - dir.path().size(), u'r');
    QDir().mkpath(longBase);
    for (const QByteArray& base : {QFile::encodeName(longBase), QByteArray("relative/run")}) {
        qputenv("XDG_RUNTIME_DIR", base);
        EXPECT_EQ(RuntimeDirectory::forCurrentUser()->path, fallback) << base.toStdString();
    }
    qputenv("XDG_RUNTIME_DIR", saved);
}
