// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <optional>

class FileLayout;

/// The browser the user chose in the settings, kept as its desktop-file ID in
/// "browser.json" in Orlim's configuration folder, beside the rules file.
class BrowserChoice
{
public:
    /// The choice of the user whose folders `files` names.
    explicit BrowserChoice(const FileLayout& files) : m_files(files) {}

    /// The file: "browser.json" in Orlim's configuration folder.
    QString fileURL() const;

    /// The chosen desktop-file ID; nothing when no choice was made or the file
    /// cannot be read or decoded.
    std::optional<QString> chosen() const;

    /// Keeps `desktopId` as the choice. The file is replaced whole or not at all.
    /// Returns whether it was written.
    bool choose(const QString& desktopId);

private:
    const FileLayout& m_files;
};
