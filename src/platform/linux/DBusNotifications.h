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
/// reads markup.
class DBusNotifications final : public QObject, public Notifications
{
    Q_OBJECT
public:
    /// How long a service may take to answer before it counts as none.
    static constexpr int answerTimeoutMs = 3000;

    /// Talks to the service on `bus`; on the session bus, connected when
    /// first needed, where none is given.
    explicit DBusNotifications(std::optional<QDBusConnection> bus = std::nullopt);

    void show(const Message& message, std::function<void(const QString&)> picked,
              std::function<void()> noAction) override;

    /// `text` as a service with `capabilities` shows it as it is.
    static QString body(const QString& text, const QStringList& capabilities);

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

    QDBusConnection bus() const;
    void notify(const Message& message, const QStringList& capabilities,
                std::function<void(const QString&)> picked, std::function<void()> noAction);
    void listen();

    std::optional<QDBusConnection> m_bus;
    QHash<uint, Shown> m_shown; // with an action, by the service's id
    bool m_listening = false;
};
