// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>

/// The desktop's notifications: a message in the desktop's own place for them,
/// with one action the user can pick.
class Notifications
{
public:
    struct Message
    {
        QString summary;
        QString body;        // plain text, shown as it is
        QString actionLabel; // the one action's label
    };

    virtual ~Notifications() = default;

    /// Shows `message` in place of the one shown before while that is still
    /// up, so that a burst of messages is one message, updated. `picked` runs when the user picks
    /// its action, with the token the desktop gave for the window the action brings up (may be
    /// empty). `noAction` runs instead when the user cannot act on the message:
    /// no notification service took it, or the service shows no actions.
    /// `closed` runs when the message, while the newest shown, leaves the
    /// screen (dismissed, or expired): the next one is a new message. Each
    /// runs on the main thread, later, never from within this call; for a
    /// message replaced before the service had it, none runs.
    virtual void show(const Message& message,
                      std::function<void(const QString& activationToken)> picked,
                      std::function<void()> noAction, std::function<void()> closed) = 0;
};
