// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

/// Finds the windows of a running Chrome and brings them forward: on X11,
/// where a started browser's new tab may open behind the window in front.
/// Other desktops have none (`Platform::browserWindows` is null there).
class BrowserWindows
{
public:
    using Handle = quint64;

    virtual ~BrowserWindows() = default;

    /// The top-level windows of the Chrome whose X11 window class is
    /// `windowClass`, most recently listed first; empty when it is not running or
    /// cannot be seen.
    virtual QList<Handle> find(const QString& windowClass) = 0;
    /// Asks the window manager to bring `window` to the front with focus.
    virtual void activate(Handle window) = 0;
};
