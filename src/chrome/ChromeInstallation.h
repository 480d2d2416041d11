// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

/// The browser Orlim serves: Google Chrome, or one built on Chromium that keeps
/// its profiles the same way. It is the one the user chose while that one is
/// installed, else the first installed in the table's order. The catalogue
/// reads its data directory and the launcher starts its command, both through
/// `find()`, so the two always speak of the same browser.
struct ChromeInstallation
{
    QString desktopId;            // e.g. "google-chrome.desktop"
    QString name;                 // the entry's name, e.g. "Google Chrome"
    QString shortName;            // what the interface calls it, e.g. "Chrome"
    QString dataDirectory;        // where "Local State" and the profile folders live
    QString program;              // what to run: the browser itself, or the entry's launcher
    QStringList leadingArguments; // the entry's own arguments, before Orlim's
    QString windowClass;          // the X11 WM_CLASS of its windows

    /// The browser served now, looked up afresh; nothing when none is installed.
    static std::optional<ChromeInstallation> find();
    /// Every installed browser of the table, in its order.
    static QList<ChromeInstallation> installed();
};

namespace ChromeInstallations {

/// How one way of installing a browser is recognised and where it keeps its data.
struct Kind
{
    /// ChromeConfigHome: $CHROME_CONFIG_HOME where set (every Chromium-based
    /// browser reads it), else $XDG_CONFIG_HOME. Home: the home directory.
    enum class Base { ChromeConfigHome, Home };
    const char16_t* desktopId;
    Base base;
    const char16_t* dataDirectory; // below `base`
    const char16_t* windowClass;   // when the entry names no StartupWMClass
    const char16_t* shortName;
    /// The entry runs a launcher (flatpak, snap), not the browser: start it
    /// through the entry's own command line.
    bool startThroughEntry;
};

/// In order of preference: Chrome first.
inline constexpr Kind kinds[] = {
    {u"google-chrome.desktop", Kind::Base::ChromeConfigHome, u"google-chrome", u"Google-chrome",
     u"Chrome", false},
    {u"com.google.Chrome.desktop", Kind::Base::Home,
     u".var/app/com.google.Chrome/config/google-chrome", u"Google-chrome", u"Chrome", true},
    {u"google-chrome-beta.desktop", Kind::Base::ChromeConfigHome, u"google-chrome-beta",
     u"Google-chrome-beta", u"Chrome", false},
    {u"google-chrome-unstable.desktop", Kind::Base::ChromeConfigHome, u"google-chrome-unstable",
     u"Google-chrome-unstable", u"Chrome", false},
    {u"chromium.desktop", Kind::Base::ChromeConfigHome, u"chromium", u"Chromium", u"Chromium",
     false},
    {u"chromium-browser.desktop", Kind::Base::ChromeConfigHome, u"chromium", u"Chromium-browser",
     u"Chromium", false},
    {u"chromium_chromium.desktop", Kind::Base::Home, u"snap/chromium/common/chromium", u"Chromium",
     u"Chromium", true},
    {u"org.chromium.Chromium.desktop", Kind::Base::Home,
     u".var/app/org.chromium.Chromium/config/chromium", u"Chromium", u"Chromium", true},
    {u"brave-browser.desktop", Kind::Base::ChromeConfigHome, u"BraveSoftware/Brave-Browser",
     u"Brave-browser", u"Brave", false},
    {u"com.brave.Browser.desktop", Kind::Base::Home,
     u".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser", u"Brave-browser", u"Brave",
     true},
    {u"microsoft-edge.desktop", Kind::Base::ChromeConfigHome, u"microsoft-edge", u"Microsoft-edge",
     u"Edge", false},
    {u"vivaldi-stable.desktop", Kind::Base::ChromeConfigHome, u"vivaldi", u"Vivaldi-stable",
     u"Vivaldi", false},
};

/// The program run when a Chrome entry names none.
inline constexpr char16_t fallbackExecutable[] = u"google-chrome";

/// What the command line and the log say when none of the table is installed.
inline constexpr char noneInstalled[] =
    "no supported browser is installed (Google Chrome, Chromium, Brave, Microsoft Edge or "
    "Vivaldi)";

} // namespace ChromeInstallations
