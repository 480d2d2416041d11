// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/X11BrowserWindows.h"

#include <QByteArray>
#include <xcb/xcb.h>
#include <xcb/xcb_ewmh.h>

#include <cstdlib>

struct X11BrowserWindows::Atoms
{
    xcb_connection_t* xcb;
    xcb_ewmh_connection_t ewmh;

    ~Atoms() { xcb_ewmh_connection_wipe(&ewmh); }
};

namespace {

// The browser's windows are taken to be on the display's first screen:
// several monitors are one X screen under RandR.
constexpr int screen = 0;

} // namespace

X11BrowserWindows::X11BrowserWindows(xcb_connection_t* connection)
{
    xcb_ewmh_connection_t ewmh{};
    // A start that fails frees what it had itself.
    if (xcb_ewmh_init_atoms_replies(&ewmh, xcb_ewmh_init_atoms(connection, &ewmh), nullptr))
        m_atoms.reset(new Atoms{connection, ewmh});
}

X11BrowserWindows::~X11BrowserWindows() = default;

QList<BrowserWindows::Handle> X11BrowserWindows::find(const QString& windowClass)
{
    QList<Handle> found;
    const QByteArray wanted = windowClass.toUtf8();
    Atoms* c = m_atoms.get();
    if (!c)
        return found;

    xcb_ewmh_get_windows_reply_t clients;
    if (!xcb_ewmh_get_client_list_stacking_reply(
            &c->ewmh, xcb_ewmh_get_client_list_stacking(&c->ewmh, screen), &clients, nullptr))
        return found;

    // The stacking list runs bottom to top; the topmost Chrome window comes first.
    for (uint32_t i = clients.windows_len; i-- > 0;) {
        const xcb_window_t window = clients.windows[i];
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            c->xcb, xcb_get_property(c->xcb, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256),
            nullptr);
        if (!reply)
            continue;
        // WM_CLASS holds two NUL-terminated strings: the instance, then the class.
        const QByteArray value(static_cast<const char*>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        free(reply);
        // Desktop entries name either (Debian's Chromium: "chromium", its
        // windows' class being "Chromium"), as the desktop itself matches them.
        const QList<QByteArray> parts = value.split('\0');
        if (parts.size() >= 2 && (parts.at(0).compare(wanted, Qt::CaseInsensitive) == 0 ||
                                  parts.at(1).compare(wanted, Qt::CaseInsensitive) == 0))
            found.append(window);
    }
    xcb_ewmh_get_windows_reply_wipe(&clients);
    return found;
}

void X11BrowserWindows::activate(Handle window)
{
    Atoms* c = m_atoms.get();
    if (!c)
        return;
    // Source "other" (as a pager would) so that window managers with focus
    // stealing prevention honour a request that does not come from Chrome itself.
    xcb_ewmh_request_change_active_window(&c->ewmh, screen, static_cast<xcb_window_t>(window),
                                          XCB_EWMH_CLIENT_SOURCE_TYPE_OTHER, XCB_CURRENT_TIME,
                                          XCB_NONE);
    xcb_flush(c->xcb);
}
