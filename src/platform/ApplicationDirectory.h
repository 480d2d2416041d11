// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "text/DesktopCommand.h"

#include <QString>
#include <QStringList>
#include <optional>

/// Looks up installed applications by their desktop-file ID, the way the
/// desktop finds them. Chrome is located through it.
class ApplicationDirectory
{
public:
    /// An installed entry: what its command is made of (`DesktopCommand`) and
    /// its StartupWMClass (empty when it has none).
    struct Entry : DesktopCommand::Entry
    {
        QString windowClass;
    };

    virtual ~ApplicationDirectory() = default;

    /// The installed entry with this ID, or nothing when there is none.
    virtual std::optional<Entry> find(const QString& desktopId) const = 0;
    /// The folders entries are looked for in, the user's first.
    virtual QStringList folders() const = 0;
};
