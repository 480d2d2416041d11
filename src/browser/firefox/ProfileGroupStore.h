// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <optional>

/// The store of Firefox's profile manager: "Profile Groups/<id>.sqlite" beside
/// "profiles.ini", one row per profile of the group. A running Firefox holds it
/// open with a write-ahead log; Orlim reads it without ever writing, locking
/// out a writer, or making a file beside it.
namespace ProfileGroupStore {

/// One row of the store's "Profiles" table, as Firefox wrote it.
struct Row
{
    QString path;    // relative to the folder of "profiles.ini", or absolute
    QString name;    // as the user typed it
    QString avatar;  // a built-in avatar's name, or a file in "avatars/"
    QString themeFg; // CSS colours, e.g. "rgba(21, 20, 26, 1)"
    QString themeBg;
};

/// The rows of the store `file`, in the table's order; nothing when it cannot
/// be read whole: missing, not a regular file, too large, locked, corrupt, or
/// not Firefox's.
std::optional<QList<Row>> read(const QString& file);

} // namespace ProfileGroupStore
