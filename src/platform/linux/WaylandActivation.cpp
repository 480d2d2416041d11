// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/WaylandActivation.h"

#include <QGuiApplication>
#include <QWindow>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>
#include <wayland-client.h>

#include "xdg-activation-v1-client-protocol.h"

namespace {

void* integrationResource(const char* name)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    return native ? native->nativeResourceForIntegration(name) : nullptr;
}

wl_surface* surfaceOf(QWindow* window)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!native || !window || !window->handle())
        return nullptr;
    return static_cast<wl_surface*>(native->nativeResourceForWindow("surface", window));
}

void announce(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t)
{
    if (std::strcmp(interface, xdg_activation_v1_interface.name) == 0)
        *static_cast<xdg_activation_v1**>(data) = static_cast<xdg_activation_v1*>(
            wl_registry_bind(registry, name, &xdg_activation_v1_interface, 1));
}

void withdraw(void*, wl_registry*, uint32_t) {}

constexpr wl_registry_listener registryListener{announce, withdraw};

struct TokenReply
{
    QString token;
    bool done = false;
};

void tokenDone(void* data, xdg_activation_token_v1*, const char* token)
{
    auto* reply = static_cast<TokenReply*>(data);
    reply->token = QString::fromUtf8(token);
    reply->done = true;
}

constexpr xdg_activation_token_v1_listener tokenListener{tokenDone};

} // namespace

WaylandActivation* WaylandActivation::create()
{
    auto* display = static_cast<wl_display*>(integrationResource("wl_display"));
    if (!display)
        return nullptr;
    wl_event_queue* queue = wl_display_create_queue(display);
    auto* wrapped = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapped), queue);
    wl_registry* registry = wl_display_get_registry(wrapped);
    wl_proxy_wrapper_destroy(wrapped);
    xdg_activation_v1* activation = nullptr;
    wl_registry_add_listener(registry, &registryListener, &activation);
    wl_display_roundtrip_queue(display, queue);
    wl_registry_destroy(registry);
    if (!activation) {
        wl_event_queue_destroy(queue);
        return nullptr;
    }
    return new WaylandActivation(display, queue, activation);
}

WaylandActivation::WaylandActivation(wl_display* display, wl_event_queue* queue,
                                     xdg_activation_v1* activation)
    : m_display(display), m_queue(queue), m_activation(activation)
{
}

WaylandActivation::~WaylandActivation()
{
    xdg_activation_v1_destroy(m_activation);
    wl_event_queue_destroy(m_queue);
}

QString WaylandActivation::token(QWindow* window)
{
    xdg_activation_token_v1* request = xdg_activation_v1_get_activation_token(m_activation);
    TokenReply reply;
    xdg_activation_token_v1_add_listener(request, &tokenListener, &reply);
    // The serial of the key or click that made the choice, on the seat it came from.
    auto* seat = static_cast<wl_seat*>(integrationResource("wl_seat"));
    const auto serial = uint32_t(reinterpret_cast<quintptr>(integrationResource("serial")));
    if (seat && serial)
        xdg_activation_token_v1_set_serial(request, serial, seat);
    if (wl_surface* surface = surfaceOf(window))
        xdg_activation_token_v1_set_surface(request, surface);
    xdg_activation_token_v1_commit(request);
    while (!reply.done && wl_display_roundtrip_queue(m_display, m_queue) >= 0) {
    }
    xdg_activation_token_v1_destroy(request);
    return reply.token;
}

void WaylandActivation::activate(QWindow* window, const QString& token)
{
    wl_surface* surface = surfaceOf(window);
    if (!surface || token.isEmpty())
        return;
    xdg_activation_v1_activate(m_activation, token.toUtf8().constData(), surface);
    wl_display_flush(m_display);
}
