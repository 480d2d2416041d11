// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <memory>
#include <string>

/// The receiving side of the link socket, in the running Orlim. Each
/// connection carries one message; malformed, oversized, foreign or stalled
/// connections are dropped without affecting the others.
class LinkServer : public QObject
{
    Q_OBJECT
public:
    /// A connection that has not finished its message by then is dropped.
    static constexpr int stallTimeoutMs = 5000;

    explicit LinkServer(QObject* parent = nullptr);
    ~LinkServer() override;

    /// Listens at `socketPath`, replacing a socket left behind by an Orlim that
    /// is gone. Call only while holding the instance lock.
    bool listen(const std::string& socketPath);

Q_SIGNALS:
    /// A later `orlim` handed over these links, in order, with the activation
    /// token it was started with (may be empty). Emitted before the sender is
    /// acknowledged.
    void linksReceived(const QStringList& links, const QString& activationToken);
    /// A later `orlim` was started without a link.
    void reopenRequested(const QString& activationToken);

private:
    class Connection;
    void accept();
    void finish(Connection* connection);

    int m_listener = -1;
};
