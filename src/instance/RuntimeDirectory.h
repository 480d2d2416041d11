// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

/// The folder private to the user that holds the running Orlim's lock and link
/// socket: $XDG_RUNTIME_DIR/orlim, else (unset, relative, missing, or too long
/// for a socket's path) /tmp/orlim-<uid>.
struct RuntimeDirectory
{
    std::string path;

    std::string socketPath() const { return path + "/links.socket"; }
    std::string lockPath() const { return path + "/instance.lock"; }

    /// Creates the folder when needed, open to the user alone. Nothing when it
    /// cannot be made private (it exists and belongs to someone else).
    static std::optional<RuntimeDirectory> forCurrentUser();
};
