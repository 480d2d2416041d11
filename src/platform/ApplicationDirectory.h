// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

/// Looks up installed applications by their desktop-file ID, the way the
/// desktop finds them. Chrome is located through it.
class ApplicationDirectory
{
public:
    struct Entry
    {
        QString name;            // the entry's Name, in the user's language
        QString executable;      // the entry's program; empty when it names none
        QStringList commandLine; // its Exec line as arguments, field codes removed
        QString windowClass;     // its StartupWMClass; empty when it has none
    };

    virtual ~ApplicationDirectory() = default;

    /// The installed entry with this ID, or nothing when there is none.
    virtual std::optional<Entry> find(const QString& desktopId) const = 0;
};
