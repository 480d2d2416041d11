// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DBusNotifications.h"

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

/// Runs `done` with the reply to `call` once it comes, or with an error.
template <typename Reply>
void whenAnswered(QDBusConnection bus, const QDBusMessage& call, QObject* context,
                  std::function<void(const Reply&)> done)
{
    auto* watcher = new QDBusPendingCallWatcher(
        bus.asyncCall(call, DBusNotifications::answerTimeoutMs), context);
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, context,
                     [watcher, done = std::move(done)] {
                         watcher->deleteLater();
                         done(Reply(*watcher));
                     });
}

} // namespace

DBusNotifications::DBusNotifications(std::optional<QDBusConnection> bus) : m_bus(std::move(bus)) {}

QDBusConnection DBusNotifications::bus() const
{
    return m_bus ? *m_bus : QDBusConnection::sessionBus();
}

QString DBusNotifications::body(const QString& text, const QStringList& capabilities)
{
    return capabilities.contains(u"body-markup") ? text.toHtmlEscaped() : text;
}

void DBusNotifications::show(const Message& message, std::function<void(const QString&)> picked,
                             std::function<void()> noAction)
{
    QDBusConnection connection = bus();
    if (!connection.isConnected()) {
        QTimer::singleShot(0, this, std::move(noAction));
        return;
    }
    whenAnswered<QDBusPendingReply<QStringList>>(
        connection,
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("GetCapabilities")),
        this,
        [this, message, picked = std::move(picked),
         noAction = std::move(noAction)](const QDBusPendingReply<QStringList>& reply) {
            if (reply.isError()) {
                noAction();
                return;
            }
            // Once the bus has answered: a connection still being set up
            // refuses to listen.
            listen();
            notify(message, reply.value(), picked, noAction);
        });
}

void DBusNotifications::notify(const Message& message, const QStringList& capabilities,
                               std::function<void(const QString&)> picked,
                               std::function<void()> noAction)
{
    const bool actions = capabilities.contains(u"actions");
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    const QVariantMap hints{{QStringLiteral("desktop-entry"), QStringLiteral("orlim")},
                            {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    call << QStringLiteral("Orlim") << uint(0) << QStringLiteral("orlim") << message.summary
         << body(message.body, capabilities)
         << (actions ? QStringList{actionKey, message.actionLabel} : QStringList()) << hints
         << int(-1);
    whenAnswered<QDBusPendingReply<uint>>(
        bus(), call, this,
        [this, actions, picked = std::move(picked),
         noAction = std::move(noAction)](const QDBusPendingReply<uint>& reply) {
            if (reply.isError() || !actions)
                noAction();
            else
                m_shown.insert(reply.value(), {picked, {}});
        });
}

void DBusNotifications::listen()
{
    if (std::exchange(m_listening, true))
        return;
    QDBusConnection connection = bus();
    connection.connect(service, path, interface, QStringLiteral("ActivationToken"), this,
                       SLOT(activationToken(uint, QString)));
    connection.connect(service, path, interface, QStringLiteral("ActionInvoked"), this,
                       SLOT(actionInvoked(uint, QString)));
    connection.connect(service, path, interface, QStringLiteral("NotificationClosed"), this,
                       SLOT(notificationClosed(uint, uint)));
}

void DBusNotifications::activationToken(uint id, const QString& token)
{
    // Sent just before the action it is for.
    if (const auto shown = m_shown.find(id); shown != m_shown.end())
        shown->activationToken = token;
}

void DBusNotifications::actionInvoked(uint id, const QString& action)
{
    const auto shown = m_shown.constFind(id);
    if (action != actionKey || shown == m_shown.constEnd())
        return;
    const Shown picked = *shown;
    picked.picked(picked.activationToken);
}

void DBusNotifications::notificationClosed(uint id, uint)
{
    m_shown.remove(id);
}
