// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/RegularFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace RegularFile {

namespace {

/// Opens `path` without waiting on a named pipe; the descriptor, or -1 with
/// the status to report.
int openRegular(const QString& path, qint64 maxSize, struct stat& info, Status& status)
{
    // O_NONBLOCK: opening a named pipe must not wait for a writer.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        status = errno == ENOENT || errno == ENOTDIR ? Status::Missing : Status::Refused;
        return -1;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > maxSize) {
        ::close(fd);
        status = Status::Refused;
        return -1;
    }
    status = Status::Read;
    return fd;
}

} // namespace

Status check(const QString& path, qint64 maxSize)
{
    struct stat info
    {
    };
    Status status;
    const int fd = openRegular(path, maxSize, info, status);
    if (fd >= 0)
        ::close(fd);
    return status;
}

Contents read(const QString& path, qint64 maxSize)
{
    struct stat info
    {
    };
    Status status;
    const int fd = openRegular(path, maxSize, info, status);
    if (fd < 0)
        return {status, {}};
    Contents contents{Status::Refused, {}};
    // The size may change while we read; never read more than allowed.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        if (filled == bytes.size()) {
            if (bytes.size() > maxSize)
                break;
            bytes.resize(std::min<qsizetype>(bytes.size() * 2, maxSize + 1));
        }
        const ssize_t n = ::read(fd, bytes.data() + filled, size_t(bytes.size() - filled));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            break;
        if (n == 0) {
            bytes.truncate(filled);
            contents = {Status::Read, std::move(bytes)};
            break;
        }
        filled += n;
    }
    ::close(fd);
    return contents;
}

bool replace(const QString& path, const QByteArray& bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Only a file that holds every byte may replace the old one.
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace RegularFile
