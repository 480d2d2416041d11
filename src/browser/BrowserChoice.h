// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class FileLayout;
class HiddenProfiles;

/// What the user keeps in the settings about the browsers, in "browser.json"
/// in Orlim's configuration folder, beside the rules file: the browsers the
/// picker shows together, in order, the first installed of them the one
/// served, and the profiles hidden from the picker
/// ({"shown": [ID, …], "hidden": {ID: [folder, …]}}). Older files name the
/// browser served apart ({"browser": ID}); it is read as the first shown.
class BrowserChoice
{
public:
    /// The choice of the user whose folders `files` names.
    explicit BrowserChoice(const FileLayout& files) : m_files(files) {}

    /// The file: "browser.json" in Orlim's configuration folder.
    QString fileURL() const;

    /// The desktop-file IDs of the browsers shown, in order, each once; the
    /// first installed among them is served. Empty when none is kept, or the
    /// file cannot be read or decoded.
    QStringList shown() const;

    /// Keeps `desktopIds` as the browsers shown, the first served, and the
    /// hidden profiles as they were. The file is replaced whole or not at all.
    /// Returns whether it was written.
    bool show(const QStringList& desktopIds);

    /// The profiles hidden from the picker; none when the file cannot be read.
    HiddenProfiles hidden() const;

    /// Keeps `profiles` as those hidden, and the browsers as they were.
    /// Returns whether the file was written.
    bool hide(const HiddenProfiles& profiles);

private:
    const FileLayout& m_files;
};
