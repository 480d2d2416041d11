#include "app/LinkServer.h"

#include "app/LinkMessage.h"

#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <memory>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool fromSameUser(const QLocalSocket* socket)
{
    ucred credentials{};
    socklen_t size = sizeof(credentials);
    if (::getsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_PEERCRED, &credentials,
                     &size) != 0)
        return false;
    return credentials.uid == ::getuid();
}

} // namespace

LinkServer::LinkServer(QObject* parent) : QObject(parent), m_server(new QLocalServer(this))
{
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &LinkServer::accept);
}

LinkServer::~LinkServer() = default;

bool LinkServer::listen(const std::string& socketPath)
{
    const QString path = QFile::decodeName(socketPath.c_str());
    QLocalServer::removeServer(path);
    return m_server->listen(path);
}

void LinkServer::accept()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        if (!fromSameUser(socket)) {
            socket->abort();
            continue;
        }
        auto reader = std::make_shared<LinkMessage::Reader>();
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
            const QByteArray bytes = socket->readAll();
            switch (reader->feed(bytes.constData(), std::size_t(bytes.size()))) {
            case LinkMessage::Reader::State::Incomplete:
                return;
            case LinkMessage::Reader::State::Malformed:
                socket->abort();
                return;
            case LinkMessage::Reader::State::Complete:
                break;
            }
            socket->disconnect(this);
            QStringList links;
            for (const std::string& link : reader->links())
                links.append(QString::fromStdString(link));
            if (links.isEmpty())
                Q_EMIT reopenRequested();
            else
                Q_EMIT linksReceived(links);
            socket->write(&LinkMessage::ack, 1);
            socket->disconnectFromServer();
        });
        QTimer::singleShot(stallTimeoutMs, socket, [socket, reader] {
            if (reader->state() == LinkMessage::Reader::State::Incomplete)
                socket->abort();
        });
    }
}
