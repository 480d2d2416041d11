// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ApplicationDirectory;
class BrowserWindows;
class ColorScheme;
class DefaultBrowser;
class FileLayout;
class Notifications;
class ProcessLauncher;
class Scheduler;
class WindowActivation;

/// The desktop Orlim's windows are on.
enum class Desktop { Wayland, X11, Other };

/// The platform services the rest of Orlim calls, made once where the program
/// starts and handed to each part that uses them (tests hand in fakes).
struct Platform
{
    FileLayout* files = nullptr;
    ApplicationDirectory* applications = nullptr;
    ProcessLauncher* processes = nullptr;
    BrowserWindows* browserWindows = nullptr; // none but on X11
    DefaultBrowser* defaultBrowser = nullptr;
    Scheduler* scheduler = nullptr;
    WindowActivation* windowActivation = nullptr;
    Notifications* notifications = nullptr;
    ColorScheme* colorScheme = nullptr;
    /// Settled once by `settleDesktop()`, and handed on from here.
    Desktop desktop = Desktop::Other;

    /// The services of the system this build is for: the build compiles the
    /// one source that defines them (`linux/LinuxPlatform.cpp`). The objects
    /// live for the whole process.
    static Platform forThisSystem();

    /// Settles `desktop` from the platform Qt chose, then puts in the window
    /// activation made for it and, on X11, the look-up of the browser's
    /// windows. Called once, as soon as the GUI application exists and before
    /// any window is shown.
    void settleDesktop();

private:
    /// The system's part of `settleDesktop()`, defined beside `forThisSystem()`.
    void settleSystemDesktop();
};
