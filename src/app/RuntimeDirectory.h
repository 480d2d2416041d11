#pragma once

#include <QString>
#include <optional>

/// The folder private to the user that holds the running Orlim's lock and link
/// socket: $XDG_RUNTIME_DIR/orlim, else /tmp/orlim-<uid>.
struct RuntimeDirectory
{
    QString path;

    QString socketPath() const { return path + u"/links.socket"; }
    QString lockPath() const { return path + u"/instance.lock"; }

    /// Creates the folder when needed, readable by the user alone. Nothing when
    /// it cannot be made private (it exists and belongs to someone else).
    static std::optional<RuntimeDirectory> forCurrentUser();
};
