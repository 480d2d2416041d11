// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

/// The Chrome that Orlim serves: the first of the known installations (Google's
/// package, Flathub, Beta, Dev) whose desktop entry is installed. The catalogue
/// reads its data directory and the launcher starts its command, so the two
/// always speak of the same Chrome.
struct ChromeInstallation
{
    QString desktopId;            // e.g. "google-chrome.desktop"
    QString dataDirectory;        // where "Local State" and the profile folders live
    QString program;              // what to run: Chrome itself, or the entry's launcher
    QStringList leadingArguments; // the entry's own arguments, before Orlim's
    QString windowClass;          // the X11 WM_CLASS class of its windows

    /// The first installed Chrome, looked up afresh; nothing when none is.
    static std::optional<ChromeInstallation> find();
};

namespace ChromeInstallations {

/// How one way of installing Chrome is recognised and where it keeps its data.
struct Kind
{
    enum class Base { ChromeConfigHome, Home };
    const char16_t* desktopId;
    Base base;
    const char16_t* dataDirectory; // below `base`
    const char16_t* windowClass;
    /// The entry runs a launcher (flatpak), not Chrome: start it through the
    /// entry's own command line.
    bool startThroughEntry;
};

/// In order of preference.
inline constexpr Kind kinds[] = {
    {u"google-chrome.desktop", Kind::Base::ChromeConfigHome, u"google-chrome", u"Google-chrome",
     false},
    {u"com.google.Chrome.desktop", Kind::Base::Home,
     u".var/app/com.google.Chrome/config/google-chrome", u"Google-chrome", true},
    {u"google-chrome-beta.desktop", Kind::Base::ChromeConfigHome, u"google-chrome-beta",
     u"Google-chrome-beta", false},
    {u"google-chrome-unstable.desktop", Kind::Base::ChromeConfigHome, u"google-chrome-unstable",
     u"Google-chrome-unstable", false},
};

/// The program run when a Chrome entry names none.
inline constexpr char16_t fallbackExecutable[] = u"google-chrome";

} // namespace ChromeInstallations
