// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Notifications.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <optional>

/// Notifications through the desktop's notification service
/// (org.freedesktop.Notifications on the session bus): GNOME Shell, Plasma and
/// most panels serve it. Each message goes as the service's capabilities
/// allow: an action only where it shows actions, a body escaped only where it
/// reads markup. One message is up at a time: each replaces the one before
/// (`replaces_id`), and while the service has not answered for one, only the
/// newest of those asked meanwhile waits to follow it.
class DBusNotifications final : public QObject, public Notifications
{
    Q_OBJECT
public:
    /// How long a service may take to answer before it counts as none.
    static constexpr int answerTimeoutMs = 3000;
    /// Messages whose action is remembered, for a service that never says
    /// they were closed; the oldest is forgotten first.
    static constexpr int remembered = 16;

    /// Talks to the service on `bus`; on the session bus, connected when
    /// first needed, where none is given.
    explicit DBusNotifications(std::optional<QDBusConnection> bus = std::nullopt);

    void show(const Message& message, std::function<void(const QString&)> picked,
              std::function<void()> noAction, std::function<void()> closed) override;

    /// `text` as a service with `capabilities` shows it as it is.
    static QString body(const QString& text, const QStringList& capabilities);

    /// How many shown messages' actions are remembered.
    qsizetype rememberedCount() const { return m_shown.size(); }

private Q_SLOTS:
    void activationToken(uint id, const QString& token);
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    struct Shown
    {
        std::function<void(const QString&)> picked;
        QString activationToken;
    };

    struct Asked
    {
        Message message;
        std::function<void(const QString&)> picked;
        std::function<void()> noAction;
        std::function<void()> closed;
    };

    QDBusConnection bus() const;
    void send(Asked asked);
    void notify(const QStringList& capabilities, Asked asked);
    /// Sends what was asked while the service had not answered.
    void sent();
    void listen();

    std::optional<QDBusConnection> m_bus;
    QHash<uint, Shown> m_shown;            // with an action, by the service's id
    QList<uint> m_shownOrder;              // oldest first
    uint m_current = 0;                    // the message up, replaced by the next; 0: none
    std::function<void()> m_currentClosed; // the newest message's, told when m_current closes
    bool m_sending = false;
    std::optional<Asked> m_waiting;
    bool m_listening = false;
};
