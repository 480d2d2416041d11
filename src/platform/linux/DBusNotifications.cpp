// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DBusNotifications.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>
#include <QVariantMap>

namespace {

const QString service = QStringLiteral("org.freedesktop.Notifications");
const QString path = QStringLiteral("/org/freedesktop/Notifications");
const QString interface = QStringLiteral("org.freedesktop.Notifications");
const QString actionKey = QStringLiteral("copy");

} // namespace

void DBusNotifications::show(const Message& message, std::function<void()> picked,
                             std::function<void()> unavailable)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        QTimer::singleShot(0, this, std::move(unavailable));
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(service, path, interface,
                                                       QStringLiteral("Notify"));
    // Services that understand markup would read the body as such: escaped,
    // it shows as it is everywhere.
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("orlim")},
                            {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    call << QStringLiteral("Orlim") << uint(0) << QStringLiteral("orlim") << message.summary
         << message.body.toHtmlEscaped() << QStringList{actionKey, message.actionLabel} << hints
         << int(-1);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, answerTimeoutMs), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, picked = std::move(picked), unavailable = std::move(unavailable)] {
                watcher->deleteLater();
                const QDBusPendingReply<uint> reply = *watcher;
                if (reply.isError()) {
                    unavailable();
                    return;
                }
                // Once the bus has answered: a connection still being set up
                // refuses to listen.
                listen();
                m_actions.insert(reply.value(), picked);
            });
}

void DBusNotifications::listen()
{
    if (std::exchange(m_listening, true))
        return;
    QDBusConnection bus = QDBusConnection::sessionBus();
    bus.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                SLOT(actionInvoked(uint, QString)));
    bus.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                SLOT(notificationClosed(uint, uint)));
}

void DBusNotifications::actionInvoked(uint id, const QString& action)
{
    if (action != actionKey)
        return;
    if (const auto picked = m_actions.value(id))
        picked();
}

void DBusNotifications::notificationClosed(uint id, uint)
{
    m_actions.remove(id);
}
