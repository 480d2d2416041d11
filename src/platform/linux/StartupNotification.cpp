// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/StartupNotification.h"

#include <QGuiApplication>
#include <QScreen>
#include <qpa/qplatformnativeinterface.h>

#include <cstring>
#include <xcb/xcb.h>

namespace StartupNotification {
namespace {

constexpr int pieceSize = 20;

xcb_atom_t atom(xcb_connection_t* connection, const char* name)
{
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, uint16_t(std::strlen(name)), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return result;
}

} // namespace

QByteArray removeMessage(const QString& id)
{
    // A value with a space, a quote or a backslash is quoted, the last two
    // escaped.
    QByteArray value = id.toUtf8();
    if (value.contains(' ') || value.contains('"') || value.contains('\\')) {
        value.replace('\\', "\\\\").replace('"', "\\\"");
        value = '"' + value + '"';
    }
    return "remove: ID=" + value;
}

QList<QByteArray> pieces(const QByteArray& message)
{
    QByteArray bytes = message + '\0';
    bytes.append(QByteArray((pieceSize - bytes.size() % pieceSize) % pieceSize, '\0'));
    QList<QByteArray> result;
    for (qsizetype at = 0; at < bytes.size(); at += pieceSize)
        result.append(bytes.mid(at, pieceSize));
    return result;
}

void send(const QByteArray& message)
{
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    if (!native)
        return;
    auto* connection =
        static_cast<xcb_connection_t*>(native->nativeResourceForIntegration("connection"));
    const auto root = xcb_window_t(
        quintptr(native->nativeResourceForScreen("rootwindow", QGuiApplication::primaryScreen())));
    if (!connection || !root)
        return;
    const xcb_atom_t begin = atom(connection, "_NET_STARTUP_INFO_BEGIN");
    const xcb_atom_t more = atom(connection, "_NET_STARTUP_INFO");
    bool first = true;
    for (const QByteArray& piece : pieces(message)) {
        xcb_client_message_event_t event{};
        event.response_type = XCB_CLIENT_MESSAGE;
        event.format = 8;
        event.window = root;
        event.type = std::exchange(first, false) ? begin : more;
        std::memcpy(event.data.data8, piece.constData(), pieceSize);
        xcb_send_event(connection, 0, root, XCB_EVENT_MASK_PROPERTY_CHANGE,
                       reinterpret_cast<const char*>(&event));
    }
    xcb_flush(connection);
}

} // namespace StartupNotification
