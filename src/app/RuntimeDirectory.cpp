#include "app/RuntimeDirectory.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Whether `path` is a real folder of ours that no one else can enter.
bool makePrivate(const QByteArray& path)
{
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info
    {
    };
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::getuid())
        return false;
    if ((info.st_mode & 077) != 0 && ::chmod(path.constData(), 0700) != 0)
        return false;
    return true;
}

} // namespace

std::optional<RuntimeDirectory> RuntimeDirectory::forCurrentUser()
{
    QString base = qEnvironmentVariable("XDG_RUNTIME_DIR");
    QString path;
    if (!base.isEmpty() && QFileInfo(base).isAbsolute())
        path = base + u"/orlim";
    else
        path = u"/tmp/orlim-" + QString::number(::getuid());
    if (!makePrivate(QFile::encodeName(path)))
        return std::nullopt;
    return RuntimeDirectory{path};
}
