#include "platform/Platform.h"

#include "platform/linux/LinuxPlatform.h"

Platform& Platform::current()
{
    static Platform platform = linuxPlatform();
    return platform;
}

ScopedPlatform::ScopedPlatform(const Platform& replacement) : m_saved(Platform::current())
{
    Platform& p = Platform::current();
    if (replacement.files)
        p.files = replacement.files;
    if (replacement.applications)
        p.applications = replacement.applications;
    if (replacement.processes)
        p.processes = replacement.processes;
    if (replacement.chromeWindows)
        p.chromeWindows = replacement.chromeWindows;
    if (replacement.defaultBrowser)
        p.defaultBrowser = replacement.defaultBrowser;
    if (replacement.scheduler)
        p.scheduler = replacement.scheduler;
}

ScopedPlatform::~ScopedPlatform()
{
    Platform::current() = m_saved;
}
