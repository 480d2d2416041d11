// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DesktopWindowActivation.h"

#include "platform/Platform.h"
#include "platform/linux/StartupNotification.h"
#include "platform/linux/WaylandActivation.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

namespace {

void bringToFront(QWidget* window)
{
    if (window->isMinimized())
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
    window->show();
    window->raise();
    window->activateWindow();
}

QPlatformNativeInterface* native()
{
    return QGuiApplication::platformNativeInterface();
}

} // namespace

DesktopWindowActivation::DesktopWindowActivation() = default;
DesktopWindowActivation::~DesktopWindowActivation() = default;

void DesktopWindowActivation::start()
{
    switch (Platform::current().desktop) {
    case Desktop::Wayland:
        m_wayland.reset(WaylandActivation::create());
        m_kind = m_wayland ? Kind::Wayland : Kind::Other;
        break;
    case Desktop::X11:
        m_kind = Kind::X11;
        break;
    case Desktop::Other:
        m_kind = Kind::Other;
        break;
    }
}

QString DesktopWindowActivation::tokenFor(QWidget* window)
{
    switch (m_kind) {
    case Kind::Wayland:
        return m_wayland->token(window ? window->windowHandle() : nullptr);
    case Kind::X11: {
        // A startup ID whose _TIME is the user's last input in Orlim: window
        // managers with focus-stealing prevention judge the new window by it.
        const auto time = quintptr(native()->nativeResourceForScreen(
            "appusertime", window ? window->screen() : QGuiApplication::primaryScreen()));
        return time ? u"orlim-" + QString::number(QCoreApplication::applicationPid()) + u"_TIME" +
                          QString::number(time)
                    : QString();
    }
    case Kind::Other:
        break;
    }
    return {};
}

void DesktopWindowActivation::present(QWidget* window, const QString& token)
{
    if (!token.isEmpty() && m_kind == Kind::X11) {
        if (window->isVisible()) {
            // Shown already, so mapped already: no window will carry the ID.
            finishStartup(token);
        } else if (const auto generic =
                       native()->nativeResourceFunctionForIntegration("setstartupid")) {
            // Qt puts the startup ID on the next window it maps and ends the
            // startup; it hands the function out as a generic pointer.
            using SetStartupId = void (*)(const char*);
            reinterpret_cast<SetStartupId>(reinterpret_cast<void*>(generic))(
                token.toUtf8().constData());
        }
    }
    bringToFront(window);
    if (!token.isEmpty() && m_kind == Kind::Wayland)
        m_wayland->activate(window->windowHandle(), token);
}

void DesktopWindowActivation::finishStartup(const QString& token)
{
    // On Wayland a token is spent by whoever activates with it, or expires.
    if (!token.isEmpty() && m_kind == Kind::X11)
        StartupNotification::send(StartupNotification::removeMessage(token));
}

bool DesktopWindowActivation::tokenNeedsItsWindow() const
{
    return m_kind == Kind::Wayland;
}

bool DesktopWindowActivation::holdsForStartedProgram() const
{
    return m_kind != Kind::Other;
}
