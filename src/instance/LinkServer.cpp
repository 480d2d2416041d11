// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/LinkServer.h"

#include "instance/LinkMessage.h"
#include "text/ArgumentText.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

/// One client, from accept to acknowledgement (or to being dropped). Plain
/// sockets and a notifier keep Qt Network, and what it loads, out of Orlim.
class LinkServer::Connection : public QObject
{
public:
    Connection(int fd, LinkServer* server) : QObject(server), m_fd(fd), m_server(server)
    {
        auto* readable = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(readable, &QSocketNotifier::activated, this, &Connection::read);
        QTimer::singleShot(stallTimeoutMs, this, [this] { drop(); });
    }
    ~Connection() override { ::close(m_fd); }

    const LinkMessage::Reader& message() const { return m_reader; }

    void read()
    {
        char buffer[16 * 1024];
        for (;;) {
            const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            if (n <= 0) { // closed before the message ended, or failed
                drop();
                return;
            }
            switch (m_reader.feed(buffer, std::size_t(n))) {
            case LinkMessage::Reader::State::Incomplete:
                continue;
            case LinkMessage::Reader::State::Malformed:
                drop();
                return;
            case LinkMessage::Reader::State::Complete:
                m_server->finish(this);
                return;
            }
        }
    }

    void acknowledge()
    {
        ::send(m_fd, &LinkMessage::ack, 1, MSG_NOSIGNAL | MSG_DONTWAIT);
        drop();
    }

    void drop()
    {
        // Deleting it inside its own notifier's signal is not safe; later is.
        for (QSocketNotifier* notifier : findChildren<QSocketNotifier*>())
            notifier->setEnabled(false);
        deleteLater();
    }

private:
    int m_fd;
    LinkServer* m_server;
    LinkMessage::Reader m_reader;
};

namespace {

bool fromSameUser(int fd)
{
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    return ::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == ::getuid();
}

} // namespace

LinkServer::LinkServer(QObject* parent) : QObject(parent) {}

LinkServer::~LinkServer()
{
    if (m_listener >= 0)
        ::close(m_listener);
}

bool LinkServer::listen(const std::string& socketPath)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());

    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (fd < 0)
        return false;
    ::unlink(socketPath.c_str()); // left behind by an Orlim that is gone
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0 ||
        ::chmod(socketPath.c_str(), 0600) != 0 || ::listen(fd, SOMAXCONN) != 0) {
        ::close(fd);
        return false;
    }
    m_listener = fd;
    auto* incoming = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(incoming, &QSocketNotifier::activated, this, &LinkServer::accept);
    return true;
}

void LinkServer::accept()
{
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // EAGAIN: none left; anything else: try again on the next wake-up
        }
        if (!fromSameUser(fd)) {
            ::close(fd);
            continue;
        }
        // The client sends as soon as it is connected: its link is usually
        // here already, and read now rather than a turn of the loop later.
        (new Connection(fd, this))->read();
    }
}

void LinkServer::finish(Connection* connection)
{
    const QStringList links = ArgumentText::fromBytes(connection->message().links());
    const QString token = QString::fromStdString(connection->message().token());
    if (links.isEmpty())
        Q_EMIT reopenRequested(token);
    else
        Q_EMIT linksReceived(links, token);
    connection->acknowledge();
}
