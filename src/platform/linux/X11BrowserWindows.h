// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/BrowserWindows.h"

#include <memory>

struct xcb_connection_t;

/// A browser's windows on an X11 desktop, seen through the X connection Qt
/// already has: top-level windows whose WM_CLASS names the browser, with their
/// _NET_WM_NAME, _NET_WM_USER_TIME and place in the stacking order, raised
/// with a _NET_ACTIVE_WINDOW request. Made only where Orlim runs on X11.
class X11BrowserWindows final : public BrowserWindows
{
public:
    explicit X11BrowserWindows(xcb_connection_t* connection);
    ~X11BrowserWindows() override;

    QList<Window> find(const QString& windowClass) override;
    Handle active() override;
    void activate(Handle window) override;

private:
    struct Atoms;
    std::unique_ptr<Atoms> m_atoms; // none when the window manager's atoms could not be had
};
