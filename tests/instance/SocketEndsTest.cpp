// SPDX-License-Identifier: GPL-3.0-or-later
// Both ends of the link socket against a peer that does not play its part.
#include "instance/Forwarding.h"
#include "instance/LinkMessage.h"
#include "instance/LinkServer.h"

#include "QtPrinting.h"

#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

/// A socket connected to (`listen` false) or listening on the socket at
/// `path`; -1 when that failed.
static int unixSocket(const std::string& path, bool listen)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const auto* at = reinterpret_cast<sockaddr*>(&address);
    const bool ok = listen ? ::bind(fd, at, sizeof(address)) == 0 && ::listen(fd, 4) == 0
                           : ::connect(fd, at, sizeof(address)) == 0;
    return ok ? fd : (::close(fd), -1);
}

// A running Orlim that reads the links and closes without an answer gets them
// once: the sender gives up with an error rather than send them again.
TEST(Forwarding, HandOverToASilentOrlim)
{
    QTemporaryDir dir;
    const RuntimeDirectory runtime{dir.path().toStdString()};
    const int listener = unixSocket(runtime.socketPath(), true);
    ASSERT_GE(listener, 0);
    std::vector<std::string> routed;
    std::thread peer([&] {
        const int fd = ::accept(listener, nullptr, nullptr);
        LinkMessage::Reader reader;
        char buffer[256];
        ssize_t n;
        while (reader.state() == LinkMessage::Reader::State::Incomplete &&
               (n = ::recv(fd, buffer, sizeof(buffer), 0)) > 0)
            reader.feed(buffer, size_t(n));
        routed = reader.links();
        ::close(fd);
    });
    const auto result = Forwarding::handOver(runtime, {"https://a"}, "");
    peer.join();
    EXPECT_EQ(routed, std::vector<std::string>{"https://a"});
    EXPECT_EQ(Forwarding::exitCodeAfter(result), 1);
    pollfd another{listener, POLLIN, 0};
    EXPECT_EQ(::poll(&another, 1, 0), 0) << "not sent again";
    ::close(listener);
}

// A client that connects and says nothing holds up no one: another's links
// are routed while it is still connected.
TEST(LinkServer, ASilentClientHoldsUpNoOne)
{
    QTemporaryDir dir;
    const std::string path = dir.path().toStdString() + "/links.socket";
    LinkServer server;
    ASSERT_TRUE(server.listen(path));
    QStringList routed;
    QObject::connect(&server, &LinkServer::linksReceived,
                     [&](const QStringList& links) { routed += links; });
    const int silent = unixSocket(path, false);
    ASSERT_GE(silent, 0);
    std::thread sender([&] { LinkClient::send(path, LinkMessage::encode({"https://a"}), 10000); });
    // Longer than a stalled connection may live, so that a server taking one
    // connection at a time routes the links only after dropping the silent one.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !routed.isEmpty(); }, 2 * LinkServer::stallTimeoutMs));
    char byte;
    EXPECT_EQ(::recv(silent, &byte, 1, MSG_DONTWAIT), -1) << "the silent client was dropped first";
    sender.join();
    ::close(silent);
}
