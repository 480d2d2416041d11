// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/DBusNotifications.h"
#include "platform/linux/DetachedProcessLauncher.h"
#include "platform/linux/GioApplicationDirectory.h"
#include "platform/linux/GioDefaultBrowser.h"
#include "platform/linux/PlainWindowActivation.h"
#include "platform/linux/PortalColorScheme.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/WaylandWindowActivation.h"
#include "platform/linux/X11ChromeWindows.h"
#include "platform/linux/X11WindowActivation.h"
#include "platform/linux/XdgFileLayout.h"

#include <QGuiApplication>

Platform linuxPlatform()
{
    static XdgFileLayout files;
    static GioApplicationDirectory applications;
    static DetachedProcessLauncher processes;
    static QtScheduler scheduler;
    static GioDefaultBrowser defaultBrowser(scheduler);
    static PlainWindowActivation windowActivation;
    static DBusNotifications notifications;
    static PortalColorScheme colorScheme;
    return Platform{.files = &files,
                    .applications = &applications,
                    .processes = &processes,
                    .defaultBrowser = &defaultBrowser,
                    .scheduler = &scheduler,
                    .windowActivation = &windowActivation,
                    .notifications = &notifications,
                    .colorScheme = &colorScheme};
}

void settleLinuxDesktop(Platform& platform)
{
    switch (platform.desktop) {
    case Desktop::Wayland:
        // A compositor without xdg-activation keeps the plain activation.
        if (WaylandActivation* wayland = WaylandActivation::create()) {
            static WaylandWindowActivation activation{std::unique_ptr<WaylandActivation>(wayland)};
            platform.windowActivation = &activation;
        }
        break;
    case Desktop::X11: {
        static X11WindowActivation activation;
        platform.windowActivation = &activation;
        if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            static X11ChromeWindows windows(x11->connection());
            platform.chromeWindows = &windows;
        }
        break;
    }
    case Desktop::Other:
        break;
    }
}
