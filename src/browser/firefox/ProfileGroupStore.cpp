// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/firefox/ProfileGroupStore.h"

#include "platform/RegularFile.h"

#include <QFileInfo>
#include <QUrl>

#include <memory>
#include <sqlite3.h>

namespace ProfileGroupStore {
namespace {

/// Far beyond a store of a thousand profiles.
constexpr qint64 maxSize = qint64(64) << 20;

struct CloseDatabase
{
    void operator()(sqlite3* db) const { sqlite3_close_v2(db); }
};
struct FinalizeStatement
{
    void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};

QString column(sqlite3_stmt* statement, int index)
{
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, index));
    return text ? QString::fromUtf8(text, sqlite3_column_bytes(statement, index)) : QString();
}

/// The URI that opens `file` read-only. While Firefox runs, its log and
/// shared-memory index are beside the store and a reader sees the latest
/// writes through them (taking only a reader's share, which never blocks
/// Firefox's writes). Otherwise the store is read as immutable: no lock, and
/// no log or index made beside it.
QByteArray uriOf(const QString& file)
{
    const bool running = QFileInfo(file + u"-wal").isFile() && QFileInfo(file + u"-shm").isFile();
    return "file:" + QUrl::toPercentEncoding(file, "/") +
           (running ? "?mode=ro" : "?mode=ro&immutable=1");
}

} // namespace

std::optional<QList<Row>> read(const QString& file)
{
    // SQLite would wait on a named pipe for ever: only a regular file of a
    // sane size is opened at all.
    if (RegularFile::check(file, maxSize) != RegularFile::Status::Read)
        return std::nullopt;
    sqlite3* opened = nullptr;
    const int status =
        sqlite3_open_v2(uriOf(file).constData(), &opened,
                        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX, nullptr);
    const std::unique_ptr<sqlite3, CloseDatabase> db(opened);
    // No busy handler is set: a store held locked is not waited for.
    if (status != SQLITE_OK)
        return std::nullopt;
    sqlite3_stmt* prepared = nullptr;
    if (sqlite3_prepare_v2(db.get(),
                           "SELECT path, name, avatar, themeFg, themeBg FROM Profiles ORDER BY id",
                           -1, &prepared, nullptr) != SQLITE_OK)
        return std::nullopt;
    const std::unique_ptr<sqlite3_stmt, FinalizeStatement> statement(prepared);
    QList<Row> rows;
    int step;
    while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
        rows.append({column(statement.get(), 0), column(statement.get(), 1),
                     column(statement.get(), 2), column(statement.get(), 3),
                     column(statement.get(), 4)});
    }
    if (step != SQLITE_DONE)
        return std::nullopt;
    return rows;
}

} // namespace ProfileGroupStore
