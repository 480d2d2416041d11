// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserChoice.h"
#include "text/DesktopCommand.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

class ApplicationDirectory;
class FileLayout;

/// A browser Orlim serves: Google Chrome, one built on Chromium that keeps its
/// profiles the same way, or Firefox and those built on it. The one served is the first the
/// picker shows: the first the user lists while installed, else the first installed in the
/// table's order. It is looked
/// up once for each link, when the link arrives, and carried with it: the profiles listed and the
/// launch use that one installation.
struct BrowserInstallation
{
    /// Which engine's profiles and switches: Chrome's "Local State" and
    /// `--profile-directory`, or Firefox's "profiles.ini" and `--profile`.
    enum class Family { Chromium, Firefox };

    Family family = Family::Chromium;
    QString desktopId;             // e.g. "google-chrome.desktop"
    QString name;                  // the entry's name, e.g. "Google Chrome"
    QString shortName;             // what the interface calls it, e.g. "Chrome"
    QString dataDirectory;         // where "Local State" (or "profiles.ini") and the profiles live
    DesktopCommand::Entry command; // how its entry starts it
    QString windowClass;           // the X11 WM_CLASS of its windows
    QString privateSwitch;         // opens a private window, e.g. "--incognito"

    /// The program and arguments that open the browser with `arguments`, as
    /// its entry starts it; nothing when its Exec line cannot be read.
    std::optional<QStringList> commandLine(const QStringList& arguments) const;
};

/// How one way of installing a browser is recognised and where it keeps its data.
struct BrowserKind
{
    /// ChromeConfigHome: $CHROME_CONFIG_HOME where set (every Chromium-based
    /// browser reads it), else $XDG_CONFIG_HOME. ConfigHome: $XDG_CONFIG_HOME.
    /// Home: the home directory.
    enum class Base { ChromeConfigHome, ConfigHome, Home };
    using enum BrowserInstallation::Family;
    const char16_t* desktopId;
    const char16_t* shortName; // what the interface calls it
    Base base;
    const char16_t* dataDirectory; // below `base`
    const char16_t* windowClass;   // when the entry names no StartupWMClass
    const char16_t* program;       // the command when the entry has no Exec line
    const char16_t* privateSwitch; // the switch that opens a private window
    BrowserInstallation::Family family = Chromium;
    /// Below the home directory: the folder an older install keeps, used
    /// in place of `dataDirectory` while it exists (as Firefox does).
    const char16_t* legacyDirectory = nullptr;
};

/// The browsers Orlim serves, as they are installed now: each one looked up
/// in the desktop's applications by the table below, its data under the
/// user's folders.
class BrowserInstallations
{
public:
    /// Looks the browsers up among `applications`, their data below `files`'
    /// folders; those shown, and the one served, as the user's choice there lists them.
    BrowserInstallations(const ApplicationDirectory& applications, const FileLayout& files)
        : m_applications(applications), m_files(files), m_choice(files)
    {
    }

    /// The user's choice of browser, which the settings change.
    const BrowserChoice& choice() const { return m_choice; }
    BrowserChoice& choice() { return m_choice; }

    /// The browser served now, the first shown, looked up afresh; nothing when
    /// none is installed.
    std::optional<BrowserInstallation> find() const;
    /// Every installed browser of the table, in its order.
    QList<BrowserInstallation> installed() const;
    /// The browsers the picker shows together, among `browsers` as `installed()`
    /// gave them: those the user listed, in the user's order, while installed;
    /// else (as before any was listed) the first alone. The first is served.
    QList<BrowserInstallation> shownAmong(const QList<BrowserInstallation>& browsers) const;
    /// Whether `browser`'s desktop entry is still installed.
    bool isInstalled(const BrowserInstallation& browser) const;

    /// Each browser of the table once, by the name the interface gives it, in
    /// the table's order: "Chrome", "Chromium", …, "Waterfox".
    static QStringList names();
    /// What the command line and the log say when none of the table is installed:
    /// "no supported browser is installed (Chrome, Chromium, …, Firefox, LibreWolf or Waterfox)".
    static QString noneInstalled();

    using Kind = BrowserKind;

    using enum Kind::Base;
    using enum BrowserInstallation::Family;

    /// In order of preference: Chrome first, the Chromium family, then Firefox.
    static constexpr Kind kinds[] = {
        {.desktopId = u"google-chrome.desktop",
         .shortName = u"Chrome",
         .base = ChromeConfigHome,
         .dataDirectory = u"google-chrome",
         .windowClass = u"Google-chrome",
         .program = u"google-chrome",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"com.google.Chrome.desktop",
         .shortName = u"Chrome",
         .base = Home,
         .dataDirectory = u".var/app/com.google.Chrome/config/google-chrome",
         .windowClass = u"Google-chrome",
         .program = u"flatpak run com.google.Chrome",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"google-chrome-beta.desktop",
         .shortName = u"Chrome",
         .base = ChromeConfigHome,
         .dataDirectory = u"google-chrome-beta",
         .windowClass = u"Google-chrome-beta",
         .program = u"google-chrome-beta",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"google-chrome-unstable.desktop",
         .shortName = u"Chrome",
         .base = ChromeConfigHome,
         .dataDirectory = u"google-chrome-unstable",
         .windowClass = u"Google-chrome-unstable",
         .program = u"google-chrome-unstable",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"chromium.desktop",
         .shortName = u"Chromium",
         .base = ChromeConfigHome,
         .dataDirectory = u"chromium",
         .windowClass = u"Chromium",
         .program = u"chromium",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"chromium-browser.desktop",
         .shortName = u"Chromium",
         .base = ChromeConfigHome,
         .dataDirectory = u"chromium",
         .windowClass = u"Chromium-browser",
         .program = u"chromium-browser",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"chromium_chromium.desktop",
         .shortName = u"Chromium",
         .base = Home,
         .dataDirectory = u"snap/chromium/common/chromium",
         .windowClass = u"Chromium",
         .program = u"/snap/bin/chromium",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"org.chromium.Chromium.desktop",
         .shortName = u"Chromium",
         .base = Home,
         .dataDirectory = u".var/app/org.chromium.Chromium/config/chromium",
         .windowClass = u"Chromium",
         .program = u"flatpak run org.chromium.Chromium",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"brave-browser.desktop",
         .shortName = u"Brave",
         .base = ChromeConfigHome,
         .dataDirectory = u"BraveSoftware/Brave-Browser",
         .windowClass = u"Brave-browser",
         .program = u"brave-browser",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"com.brave.Browser.desktop",
         .shortName = u"Brave",
         .base = Home,
         .dataDirectory = u".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser",
         .windowClass = u"Brave-browser",
         .program = u"flatpak run com.brave.Browser",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"microsoft-edge.desktop",
         .shortName = u"Edge",
         .base = ChromeConfigHome,
         .dataDirectory = u"microsoft-edge",
         .windowClass = u"Microsoft-edge",
         .program = u"microsoft-edge",
         .privateSwitch = u"--inprivate"},
        {.desktopId = u"vivaldi-stable.desktop",
         .shortName = u"Vivaldi",
         .base = ChromeConfigHome,
         .dataDirectory = u"vivaldi",
         .windowClass = u"Vivaldi-stable",
         .program = u"vivaldi",
         .privateSwitch = u"--incognito"},
        {.desktopId = u"firefox.desktop",
         .shortName = u"Firefox",
         .base = ConfigHome,
         .dataDirectory = u"mozilla/firefox",
         .windowClass = u"firefox",
         .program = u"firefox",
         .privateSwitch = u"--private-window",
         .family = Firefox,
         .legacyDirectory = u".mozilla/firefox"},
        {.desktopId = u"firefox-esr.desktop",
         .shortName = u"Firefox",
         .base = ConfigHome,
         .dataDirectory = u"mozilla/firefox",
         .windowClass = u"firefox-esr",
         .program = u"firefox-esr",
         .privateSwitch = u"--private-window",
         .family = Firefox,
         .legacyDirectory = u".mozilla/firefox"},
        {.desktopId = u"org.mozilla.firefox.desktop",
         .shortName = u"Firefox",
         .base = Home,
         .dataDirectory = u".var/app/org.mozilla.firefox/config/mozilla/firefox",
         .windowClass = u"firefox",
         .program = u"flatpak run org.mozilla.firefox",
         .privateSwitch = u"--private-window",
         .family = Firefox,
         .legacyDirectory = u".var/app/org.mozilla.firefox/.mozilla/firefox"},
        {.desktopId = u"firefox_firefox.desktop",
         .shortName = u"Firefox",
         .base = Home,
         .dataDirectory = u"snap/firefox/common/.config/mozilla/firefox",
         .windowClass = u"firefox_firefox",
         .program = u"/snap/bin/firefox",
         .privateSwitch = u"--private-window",
         .family = Firefox,
         .legacyDirectory = u"snap/firefox/common/.mozilla/firefox"},
        {.desktopId = u"librewolf.desktop",
         .shortName = u"LibreWolf",
         .base = Home,
         .dataDirectory = u".librewolf",
         .windowClass = u"librewolf",
         .program = u"librewolf",
         .privateSwitch = u"--private-window",
         .family = Firefox},
        {.desktopId = u"io.gitlab.librewolf-community.desktop",
         .shortName = u"LibreWolf",
         .base = Home,
         .dataDirectory = u".var/app/io.gitlab.librewolf-community/.librewolf",
         .windowClass = u"librewolf",
         .program = u"flatpak run io.gitlab.librewolf-community",
         .privateSwitch = u"--private-window",
         .family = Firefox},
        {.desktopId = u"waterfox.desktop",
         .shortName = u"Waterfox",
         .base = Home,
         .dataDirectory = u".waterfox",
         .windowClass = u"waterfox",
         .program = u"waterfox",
         .privateSwitch = u"--private-window",
         .family = Firefox},
    };

private:
    std::optional<BrowserInstallation> lookUp(const Kind& kind) const;
    QString dataDirectory(const Kind& kind) const;

    const ApplicationDirectory& m_applications;
    const FileLayout& m_files;
    BrowserChoice m_choice;
};
