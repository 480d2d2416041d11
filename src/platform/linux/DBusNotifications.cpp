// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DBusNotifications.h"

#include "platform/AppInfo.h"

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
    if (!capabilities.contains(u"body-markup"))
        return text;
    // Every character markup gives a meaning, apostrophes too (attribute values).
    QString escaped = text.toHtmlEscaped();
    escaped.replace(u'\'', QStringLiteral("&#39;"));
    return escaped;
}

void DBusNotifications::show(const Message& message, std::function<void(const QString&)> picked,
                             std::function<void()> noAction, std::function<void()> closed)
{
    Asked asked{message, std::move(picked), std::move(noAction), std::move(closed)};
    if (m_sending)
        m_waiting = std::move(asked);
    else
        send(std::move(asked));
}

void DBusNotifications::send(Asked asked)
{
    QDBusConnection connection = bus();
    if (!connection.isConnected()) {
        QTimer::singleShot(0, this, std::move(asked.noAction));
        return;
    }
    m_sending = true;
    whenAnswered<QDBusPendingReply<QStringList>>(
        connection,
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("GetCapabilities")),
        this, [this, asked = std::move(asked)](const QDBusPendingReply<QStringList>& reply) {
            if (reply.isError()) {
                asked.noAction();
                sent();
                return;
            }
            // Once the bus has answered: a connection still being set up
            // refuses to listen.
            listen();
            notify(reply.value(), asked);
        });
}

void DBusNotifications::notify(const QStringList& capabilities, Asked asked)
{
    const bool actions = capabilities.contains(u"actions");
    QDBusMessage call =
        QDBusMessage::createMethodCall(service, path, interface, QStringLiteral("Notify"));
    const QVariantMap hints{
        {QStringLiteral("desktop-entry"), QString::fromUtf16(AppInfo::desktopEntry)},
        {QStringLiteral("urgency"), QVariant::fromValue(uchar(1))}};
    // The icon is installed under the desktop entry's name.
    call << QString::fromUtf16(AppInfo::name) << m_current
         << QString::fromUtf16(AppInfo::desktopEntry) << asked.message.summary
         << body(asked.message.body, capabilities)
         << (actions ? QStringList{actionKey, asked.message.actionLabel} : QStringList()) << hints
         << int(-1);
    // The message it replaces takes its action at once: a click that comes
    // before the service answers is for what the message now says. A service
    // that showed it as another message gives the old one its action back.
    const uint replaced = m_current;
    std::function<void(const QString&)> before;
    if (const auto shown = m_shown.find(replaced); actions && shown != m_shown.end())
        before = std::exchange(shown->picked, asked.picked);
    whenAnswered<QDBusPendingReply<uint>>(
        bus(), call, this,
        [this, actions, asked = std::move(asked), replaced,
         before = std::move(before)](const QDBusPendingReply<uint>& reply) {
            const auto shown = m_shown.find(replaced);
            if (before && shown != m_shown.end() && (reply.isError() || reply.value() != replaced))
                shown->picked = before;
            if (reply.isError() || !actions) {
                asked.noAction();
            } else {
                const uint id = reply.value();
                m_shownOrder.removeOne(id);
                m_shownOrder.append(id);
                m_shown.insert(id, {asked.picked, {}});
                while (m_shownOrder.size() > remembered)
                    m_shown.remove(m_shownOrder.takeFirst());
            }
            if (!reply.isError()) {
                m_current = reply.value();
                m_currentClosed = asked.closed;
            }
            sent();
        });
}

void DBusNotifications::sent()
{
    m_sending = false;
    if (auto waiting = std::exchange(m_waiting, std::nullopt))
        send(std::move(*waiting));
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
    m_shownOrder.removeOne(id);
    if (id != m_current)
        return;
    m_current = 0;
    if (const auto closed = std::exchange(m_currentClosed, {}))
        closed();
}
