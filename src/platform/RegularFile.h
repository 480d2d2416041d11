// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

/// Reads files that other programs control, and replaces Orlim's own. Only a regular file is read:
/// a named pipe, a device or a directory, even behind a symbolic link, is refused without blocking,
/// and so is a file larger than the caller allows. The check is made on the opened file, so
/// swapping the path meanwhile changes nothing.
namespace RegularFile {

enum class Status { Read, Missing, Refused };

struct Contents
{
    Status status;
    QByteArray bytes; // only when read
};

/// Far beyond any real "Local State", rules file or profile picture.
inline constexpr qint64 defaultMaxSize = qint64(64) << 20;

/// The whole of `path`. Missing: no such file; Refused: anything else that
/// stops a complete read (not a regular file, over `maxSize`, no permission,
/// a read error).
Contents read(const QString& path, qint64 maxSize = defaultMaxSize);

/// Whether `read` would read `path` (Read, Missing or Refused), without reading
/// it: for a file another library then opens by its name.
Status check(const QString& path, qint64 maxSize = defaultMaxSize);

/// Replaces `path` with `bytes`, whole or not at all: a crash or a failed
/// write leaves the previous file as it was. Makes the folder first. Returns
/// whether the new file is in place.
bool replace(const QString& path, const QByteArray& bytes);

} // namespace RegularFile
