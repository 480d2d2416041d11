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

namespace {

/// Whether WM_CLASS `value` (two NUL-terminated strings: the instance, then
/// the class) names `wanted`.
bool namesClass(const QByteArray& value, const QByteArray& wanted)
{
    // Desktop entries name either (Debian's Chromium: "chromium", its
    // windows' class being "Chromium"), as the desktop itself matches them.
    const QList<QByteArray> parts = value.split('\0');
    return parts.size() >= 2 && (parts.at(0).compare(wanted, Qt::CaseInsensitive) == 0 ||
                                 parts.at(1).compare(wanted, Qt::CaseInsensitive) == 0);
}

} // namespace

QList<BrowserWindows::Window> X11BrowserWindows::find(const QString& windowClass)
{
    QList<Window> found;
    const QByteArray wanted = windowClass.toUtf8();
    Atoms* c = m_atoms.get();
    if (!c)
        return found;

    xcb_ewmh_get_windows_reply_t clients;
    if (!xcb_ewmh_get_client_list_stacking_reply(
            &c->ewmh, xcb_ewmh_get_client_list_stacking(&c->ewmh, screen), &clients, nullptr))
        return found;

    // Every question asked before the first answer is read: one round trip.
    QList<xcb_get_property_cookie_t> classes;
    for (uint32_t i = 0; i < clients.windows_len; ++i)
        classes.append(xcb_get_property(c->xcb, 0, clients.windows[i], XCB_ATOM_WM_CLASS,
                                        XCB_ATOM_STRING, 0, 256));
    // The stacking list runs bottom to top; the topmost window comes first.
    for (uint32_t i = clients.windows_len; i-- > 0;) {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(c->xcb, classes.at(i), nullptr);
        if (!reply)
            continue;
        const QByteArray value(static_cast<const char*>(xcb_get_property_value(reply)),
                               xcb_get_property_value_length(reply));
        free(reply);
        if (namesClass(value, wanted))
            found.append({clients.windows[i], {}, 0, int(i)});
    }
    xcb_ewmh_get_windows_reply_wipe(&clients);

    // GTK keeps the user time on a window of its own, named by the top-level one.
    QList<std::pair<xcb_get_property_cookie_t, xcb_get_property_cookie_t>> asked;
    for (const Window& window : found)
        asked.append({xcb_ewmh_get_wm_name(&c->ewmh, xcb_window_t(window.handle)),
                      xcb_ewmh_get_wm_user_time_window(&c->ewmh, xcb_window_t(window.handle))});
    QList<xcb_get_property_cookie_t> times;
    for (qsizetype i = 0; i < found.size(); ++i) {
        xcb_ewmh_get_utf8_strings_reply_t name;
        if (xcb_ewmh_get_wm_name_reply(&c->ewmh, asked.at(i).first, &name, nullptr)) {
            found[i].title = QString::fromUtf8(name.strings, name.strings_len);
            xcb_ewmh_get_utf8_strings_reply_wipe(&name);
        }
        xcb_window_t timeWindow = xcb_window_t(found.at(i).handle);
        xcb_ewmh_get_wm_user_time_window_reply(&c->ewmh, asked.at(i).second, &timeWindow, nullptr);
        times.append(xcb_ewmh_get_wm_user_time(&c->ewmh, timeWindow));
    }
    for (qsizetype i = 0; i < found.size(); ++i) {
        uint32_t time = 0;
        if (xcb_ewmh_get_wm_user_time_reply(&c->ewmh, times.at(i), &time, nullptr))
            found[i].userTime = time;
    }
    return found;
}

BrowserWindows::Handle X11BrowserWindows::active()
{
    Atoms* c = m_atoms.get();
    xcb_window_t window = XCB_NONE;
    if (c)
        xcb_ewmh_get_active_window_reply(&c->ewmh, xcb_ewmh_get_active_window(&c->ewmh, screen),
                                         &window, nullptr);
    return window;
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
