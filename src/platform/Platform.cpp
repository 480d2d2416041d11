// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Platform.h"

#include "platform/linux/LinuxPlatform.h"

#include <QGuiApplication>

Platform& Platform::current()
{
    static Platform platform = linuxPlatform();
    return platform;
}

void Platform::settleDesktop()
{
    const QString name = QGuiApplication::platformName();
    desktop = name.startsWith(u"wayland") ? Desktop::Wayland
              : name == u"xcb"            ? Desktop::X11
                                          : Desktop::Other;
    settleLinuxDesktop(*this);
}

namespace {

template <typename Service> void replace(Service*& slot, Service* replacement)
{
    if (replacement)
        slot = replacement;
}

} // namespace

ScopedPlatform::ScopedPlatform(const Platform& replacement) : m_saved(Platform::current())
{
    Platform& p = Platform::current();
    replace(p.files, replacement.files);
    replace(p.applications, replacement.applications);
    replace(p.processes, replacement.processes);
    replace(p.chromeWindows, replacement.chromeWindows);
    replace(p.defaultBrowser, replacement.defaultBrowser);
    replace(p.scheduler, replacement.scheduler);
    replace(p.windowActivation, replacement.windowActivation);
    replace(p.notifications, replacement.notifications);
    replace(p.colorScheme, replacement.colorScheme);
}

ScopedPlatform::~ScopedPlatform()
{
    Platform::current() = m_saved;
}
