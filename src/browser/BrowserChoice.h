// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

class FileLayout;

/// The browser the user chose in the settings, kept as its desktop-file ID in
/// "browser.json" in Orlim's configuration folder, beside the rules file; and
/// the browsers the picker shows together, in order, kept in the same file
/// ({"browser": ID, "shown": [ID, …]}). A file without "shown", as every file
/// written before it, shows the chosen browser alone.
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

    /// Keeps `desktopId` as the choice, and the browsers shown as they were.
    /// The file is replaced whole or not at all. Returns whether it was written.
    bool choose(const QString& desktopId);

    /// The desktop-file IDs of the browsers shown together, in order, each once;
    /// empty when none are listed (or the file cannot be read): the chosen one alone.
    QStringList shown() const;

    /// Keeps `desktopIds` as the browsers shown, and the choice as it was.
    /// Returns whether the file was written.
    bool show(const QStringList& desktopIds);

private:
    const FileLayout& m_files;
};
