// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Where a platform keeps Chrome's data and Orlim's own files, as folders below
/// a base directory. Kept as data so the layout of every platform stays written
/// down and checked in one place.
struct DirectoryLayout
{
    enum class Base { Home, ConfigHome };
    Base base;
    const char16_t* chromeData; // Chrome's user data directory ("Local State" lives here)
    const char16_t* orlimData;  // the folder that holds "rules.json"
};

namespace DirectoryLayouts {
inline constexpr DirectoryLayout macOS{DirectoryLayout::Base::Home,
                                       u"Library/Application Support/Google/Chrome",
                                       u"Library/Application Support/Orlim"};
inline constexpr DirectoryLayout linux{DirectoryLayout::Base::ConfigHome, u"google-chrome",
                                       u"orlim"};
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
    /// The folder below which Chrome keeps its data directories: Chrome's own
    /// $CHROME_CONFIG_HOME where set, else `configHome()`.
    virtual QString chromeConfigHome() const { return configHome(); }

    /// The base folder `layout` is relative to.
    QString baseDirectory(const DirectoryLayout& layout) const;
    /// Chrome's data directory under `layout`.
    QString chromeDirectory(const DirectoryLayout& layout = DirectoryLayouts::linux) const;
    /// Orlim's own data folder under `layout`.
    QString orlimDirectory(const DirectoryLayout& layout = DirectoryLayouts::linux) const;
};
