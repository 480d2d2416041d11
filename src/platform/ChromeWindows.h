#pragma once

#include <QList>
#include <QtGlobal>

/// Finds the windows of a running Chrome and brings them forward. Where the
/// desktop offers no way to do that, the look-up simply finds nothing.
class ChromeWindows
{
public:
    using Handle = quint64;

    virtual ~ChromeWindows() = default;

    /// Chrome's top-level windows, most recently listed first; empty when Chrome
    /// is not running or cannot be seen.
    virtual QList<Handle> find() = 0;
    /// Asks the window manager to bring `window` to the front with focus.
    virtual void activate(Handle window) = 0;
};
