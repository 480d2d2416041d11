// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

/// The X11 startup-notification protocol's messages, as a launcher's busy
/// pointer waits for them: text sent to the root window in client messages of
/// 20 bytes each.
namespace StartupNotification {

/// "remove: ID=<id>", the ID quoted where the protocol needs it.
QByteArray removeMessage(const QString& id);

/// The message with its terminating NUL, cut into the 20-byte pieces the
/// client messages carry (the last one padded with NULs).
QList<QByteArray> pieces(const QByteArray& message);

/// Sends `message` to the root window of Qt's X11 connection; does nothing
/// where Qt has none.
void send(const QByteArray& message);

} // namespace StartupNotification
