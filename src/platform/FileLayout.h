// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Where a platform keeps Orlim's own files, as a folder below a root
/// directory. Kept as data so the macOS layout stays written down beside the
/// Linux one, for a port. (The browsers' data directories are in the browser
/// table, `BrowserInstallations::kinds`.)
struct DirectoryLayout
{
    enum class Root { Home, ConfigHome };
    Root root;
    const char16_t* orlimData; // Orlim's configuration: "rules.json", "browser.json", …
};

namespace DirectoryLayouts {
inline constexpr DirectoryLayout macOS{DirectoryLayout::Root::Home,
                                       u"Library/Application Support/Orlim"};
inline constexpr DirectoryLayout xdg{DirectoryLayout::Root::ConfigHome, u"orlim"};
} // namespace DirectoryLayouts

/// The user's base directories. Every path Orlim reads or writes is derived from
/// these, so tests can point the whole program at a temporary folder.
class FileLayout
{
public:
    virtual ~FileLayout() = default;

    /// The user's home directory, without a trailing slash.
    virtual QString homeDirectory() const = 0;
    /// The per-user configuration directory ($XDG_CONFIG_HOME, else ~/.config).
    virtual QString configHome() const = 0;
    /// The folder below which the browsers keep their data directories:
    /// $CHROME_CONFIG_HOME where set (every Chromium-based browser reads it),
    /// else `configHome()`.
    virtual QString chromeConfigHome() const { return configHome(); }

    /// Orlim's own data folder under `layout`.
    QString orlimDirectory(const DirectoryLayout& layout = DirectoryLayouts::xdg) const;
};
