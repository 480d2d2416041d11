// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ApplicationDirectory;
class ChromeWindows;
class DefaultBrowser;
class FileLayout;
class Notifications;
class ProcessLauncher;
class Scheduler;
class WindowActivation;

/// The platform services the rest of Orlim calls. The real desktop's
/// implementations are in place from the start; tests swap in fakes with
/// `ScopedPlatform`.
struct Platform
{
    FileLayout* files = nullptr;
    ApplicationDirectory* applications = nullptr;
    ProcessLauncher* processes = nullptr;
    ChromeWindows* chromeWindows = nullptr;
    DefaultBrowser* defaultBrowser = nullptr;
    Scheduler* scheduler = nullptr;
    WindowActivation* windowActivation = nullptr;
    Notifications* notifications = nullptr;

    /// The services in use now.
    static Platform& current();
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
