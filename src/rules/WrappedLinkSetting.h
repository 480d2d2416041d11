// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class FileLayout;

/// Whether a wrapped link opens its destination instead of the link as given
/// (off as shipped: the organisation's click-time check still runs), kept in
/// "wrapped-links.json" in Orlim's configuration folder ({"opensDestination":
/// true}). Read afresh each time; a missing or unreadable file reads as off.
class WrappedLinkSetting
{
public:
    /// The setting of the user whose folders `files` names.
    explicit WrappedLinkSetting(const FileLayout& files) : m_files(files) {}

    QString fileURL() const;

    bool opensDestination() const;
    /// Keeps `on`, replacing the file whole. Returns whether it was written.
    bool setOpensDestination(bool on);

private:
    const FileLayout& m_files;
};
