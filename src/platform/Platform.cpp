// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Platform.h"

#include <QGuiApplication>

void Platform::settleDesktop()
{
    const QString name = QGuiApplication::platformName();
    desktop = name.startsWith(u"wayland") ? Desktop::Wayland
              : name == u"xcb"            ? Desktop::X11
                                          : Desktop::Other;
    settleSystemDesktop();
}
