// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ChromeWindows.h"

#include <memory>

/// Chrome's windows on an X11 desktop: top-level windows whose WM_CLASS class
/// is "Google-chrome", raised with a _NET_ACTIVE_WINDOW request. Without an X
/// display (Wayland-only sessions, tests) nothing is found.
class X11ChromeWindows final : public ChromeWindows
{
public:
    X11ChromeWindows();
    ~X11ChromeWindows() override;

    QList<Handle> find(const QString& windowClass) override;
    void activate(Handle window) override;

private:
    struct Connection;
    Connection* connection();
    std::unique_ptr<Connection> m_connection;
    bool m_triedToConnect = false;
};
