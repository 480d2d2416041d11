// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/Notifications.h"

#include <QHash>
#include <QObject>

/// Notifications through the desktop's notification service
/// (org.freedesktop.Notifications on the session bus): GNOME Shell, Plasma and
/// most panels serve it.
class DBusNotifications final : public QObject, public Notifications
{
    Q_OBJECT
public:
    /// How long a service may take to answer before it counts as none.
    static constexpr int answerTimeoutMs = 3000;

    void show(const Message& message, std::function<void()> picked,
              std::function<void()> unavailable) override;

private Q_SLOTS:
    void actionInvoked(uint id, const QString& action);
    void notificationClosed(uint id, uint reason);

private:
    void listen();

    QHash<uint, std::function<void()>> m_actions; // shown, by the service's id
    bool m_listening = false;
};
