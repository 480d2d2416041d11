// SPDX-License-Identifier: GPL-3.0-or-later
// The freedesktop.org desktop: XDG directories, GIO desktop entries and
// default handlers, detached processes, D-Bus notifications and the portal's
// colour scheme, Qt timers; a window activation that asks for no proof until
// the desktop is settled.
#include "platform/Platform.h"

#include "platform/linux/DBusNotifications.h"
#include "platform/linux/DetachedProcessLauncher.h"
#include "platform/linux/GioApplicationDirectory.h"
#include "platform/linux/GioDefaultBrowser.h"
#include "platform/linux/PlainWindowActivation.h"
#include "platform/linux/PortalColorScheme.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/WaylandWindowActivation.h"
#include "platform/linux/X11BrowserWindows.h"
#include "platform/linux/X11WindowActivation.h"
#include "platform/linux/XdgFileLayout.h"

#include <QGuiApplication>

Platform Platform::forThisSystem()
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

void Platform::settleSystemDesktop()
{
    switch (desktop) {
    case Desktop::Wayland:
        // A compositor without xdg-activation keeps the plain activation.
        if (WaylandActivation* wayland = WaylandActivation::create()) {
            static WaylandWindowActivation activation{std::unique_ptr<WaylandActivation>(wayland)};
            windowActivation = &activation;
        }
        break;
    case Desktop::X11: {
        static X11WindowActivation activation;
        windowActivation = &activation;
        if (const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()) {
            static X11BrowserWindows windows(x11->connection());
            browserWindows = &windows;
        }
        break;
    }
    case Desktop::Other:
        break;
    }
}
