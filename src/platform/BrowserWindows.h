// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

/// Finds the windows of a running browser and brings one forward: on X11,
/// where a started browser's new tab may open behind the window in front.
/// Other desktops have none (`Platform::browserWindows` is null there).
class BrowserWindows
{
public:
    using Handle = quint64;

    /// What a window shows of itself, enough to tell that it changed.
    struct Window
    {
        Handle handle = 0;
        QString title = {};
        quint32 userTime = 0; // of the last input or activation its program acted on
        int stacking = 0;     // how many of the desktop's windows are below it
        bool operator==(const Window&) const = default;
    };

    virtual ~BrowserWindows() = default;

    /// The top-level windows whose X11 window class is `windowClass` (every
    /// profile of a browser shares it), topmost first; empty when it is not
    /// running or cannot be seen.
    virtual QList<Window> find(const QString& windowClass) = 0;
    /// The window that has the keyboard; 0 when none or unknown.
    virtual Handle active() = 0;
    /// Asks the window manager to bring `window` to the front with focus.
    virtual void activate(Handle window) = 0;
};
