// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ApplicationDirectory;
class ChromeWindows;
class ColorScheme;
class DefaultBrowser;
class FileLayout;
class Notifications;
class ProcessLauncher;
class Scheduler;
class WindowActivation;

/// The desktop Orlim's windows are on.
enum class Desktop { Wayland, X11, Other };

/// The platform services the rest of Orlim calls. The real desktop's
/// implementations are in place from the start; tests swap in fakes with
/// `ScopedPlatform`.
struct Platform
{
    FileLayout* files = nullptr;
    ApplicationDirectory* applications = nullptr;
    ProcessLauncher* processes = nullptr;
    ChromeWindows* chromeWindows = nullptr; // none but on X11
    DefaultBrowser* defaultBrowser = nullptr;
    Scheduler* scheduler = nullptr;
    WindowActivation* windowActivation = nullptr;
    Notifications* notifications = nullptr;
    ColorScheme* colorScheme = nullptr;
    /// Settled once by `settleDesktop()`; everything that depends on it asks here.
    Desktop desktop = Desktop::Other;

    /// The services in use now.
    static Platform& current();
    /// Settles `desktop` from the platform Qt chose, then puts in the window
    /// activation made for it and, on X11, the look-up of the browser's
    /// windows. Called once, as soon as the GUI application exists and before
    /// any window is shown.
    void settleDesktop();
};

/// Puts `replacement`'s non-null services in place for its lifetime, then
/// restores the previous ones.
class ScopedPlatform
{
public:
    explicit ScopedPlatform(const Platform& replacement);
    ~ScopedPlatform();
    ScopedPlatform(const ScopedPlatform&) = delete;
    ScopedPlatform& operator=(const ScopedPlatform&) = delete;

private:
    Platform m_saved;
};
