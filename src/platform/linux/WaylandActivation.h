// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWindow;
struct wl_display;
struct wl_event_queue;
struct xdg_activation_v1;

/// The compositor's xdg-activation interface, bound on a private event queue
/// so that waiting for a token never runs Qt's own Wayland events.
class WaylandActivation
{
public:
    /// Nothing usable when the compositor does not offer the interface.
    static WaylandActivation* create();
    ~WaylandActivation();

    /// A token for the user's last input in `window`; empty when refused.
    QString token(QWindow* window);
    /// Asks the compositor to activate `window` with `token`.
    void activate(QWindow* window, const QString& token);

private:
    WaylandActivation(wl_display* display, wl_event_queue* queue, xdg_activation_v1* activation);

    wl_display* m_display;
    wl_event_queue* m_queue;
    xdg_activation_v1* m_activation;
};
