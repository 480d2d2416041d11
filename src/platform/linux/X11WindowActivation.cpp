// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/X11WindowActivation.h"

#include "platform/linux/StartupNotification.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <qpa/qplatformnativeinterface.h>

QString X11WindowActivation::tokenFor(QWidget* window)
{
    // A startup ID whose _TIME is the user's last input in Orlim.
    const auto time = quintptr(QGuiApplication::platformNativeInterface()->nativeResourceForScreen(
        "appusertime", window ? window->screen() : QGuiApplication::primaryScreen()));
    return time ? u"orlim-" + QString::number(QCoreApplication::applicationPid()) + u"_TIME" +
                      QString::number(time)
                : QString();
}

void X11WindowActivation::present(QWidget* window, const QString& token)
{
    if (!token.isEmpty()) {
        if (window->isVisible()) {
            // Shown already, so mapped already: no window will carry the ID.
            finishStartup(token);
        } else if (const auto generic =
                       QGuiApplication::platformNativeInterface()
                           ->nativeResourceFunctionForIntegration("setstartupid")) {
            // Qt puts the startup ID on the next window it maps and ends the
            // startup; it hands the function out as a generic pointer.
            using SetStartupId = void (*)(const char*);
            reinterpret_cast<SetStartupId>(reinterpret_cast<void*>(generic))(
                token.toUtf8().constData());
        }
    }
    bringToFront(window);
}

void X11WindowActivation::finishStartup(const QString& token)
{
    if (!token.isEmpty())
        StartupNotification::send(StartupNotification::removeMessage(token));
}
