// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/LinuxPlatform.h"

#include "platform/linux/DBusNotifications.h"
#include "platform/linux/DesktopWindowActivation.h"
#include "platform/linux/DetachedProcessLauncher.h"
#include "platform/linux/GioApplicationDirectory.h"
#include "platform/linux/GioDefaultBrowser.h"
#include "platform/linux/PortalColorScheme.h"
#include "platform/linux/QtScheduler.h"
#include "platform/linux/X11ChromeWindows.h"
#include "platform/linux/XdgFileLayout.h"

Platform linuxPlatform()
{
    static XdgFileLayout files;
    static GioApplicationDirectory applications;
    static DetachedProcessLauncher processes;
    static X11ChromeWindows chromeWindows;
    static QtScheduler scheduler;
    static GioDefaultBrowser defaultBrowser(scheduler);
    static DesktopWindowActivation windowActivation;
    static DBusNotifications notifications;
    static PortalColorScheme colorScheme;
    return Platform{.files = &files,
                    .applications = &applications,
                    .processes = &processes,
                    .chromeWindows = &chromeWindows,
                    .defaultBrowser = &defaultBrowser,
                    .scheduler = &scheduler,
                    .windowActivation = &windowActivation,
                    .notifications = &notifications,
                    .colorScheme = &colorScheme};
}
