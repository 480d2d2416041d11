// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/LinkMessage.h"
#include "instance/Forwarding.h"
#include "instance/LinkServer.h"

#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using State = LinkMessage::Reader::State;
using namespace std::string_literals;

// The first version's bytes exactly, read in pieces cut anywhere; anything
// else than a whole message of the format, or more than the size limit, is
// refused.
TEST(LinkMessage, FirstVersionBytesAndRefusals)
{
    EXPECT_EQ(LinkMessage::encode({"a"}), "ORLIM/1\nU\0\0\0\1aE\0\0\0\0"s);
    const std::string bad[] = {
        "GET / HTTP/1.1\r\n\r\n",
        "ORLIM/1\nX\0\0\0\0"s,
        "ORLIM/1\nE\0\0\0\1"s,
        "ORLIM/1\nT\0\0\0\1t"s,
        "ORLIM/2\nE\0\0\0\0"s,
        "ORLIM/2\nT\0\0\0\0"s,
        LinkMessage::encode({"a"}) + "trailing",
        "ORLIM/1\nU\x7f\xff\xff\xff"s,
        "ORLIM/1\nU\x00\x10\x00\x00"s + std::string(1 << 20, 'a'), // more than the size limit
    };
    for (const std::string& bytes : bad)
        EXPECT_EQ(LinkMessage::Reader().feed(bytes), State::Malformed) << bytes.substr(0, 40);
    // A stream socket may cut a message anywhere, inside the magic line too.
    const std::string whole = LinkMessage::encode({"https://a", ""}, "token");
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        LinkMessage::Reader reader;
        EXPECT_EQ(reader.feed(whole.substr(0, cut)), State::Incomplete) << cut;
        ASSERT_EQ(reader.feed(whole.substr(cut)), State::Complete) << cut;
        EXPECT_EQ(reader.links(), (std::vector<std::string>{"https://a", ""}));
        EXPECT_EQ(reader.token(), "token");
    }
}

// Both ends of the socket against a peer that does not play its part.

/// A socket connected to (`listen` false) or listening on the socket at
/// `path`; -1 when that failed.
static int unixSocket(const std::string& path, bool listen)
{
    sockaddr_un address{AF_UNIX, {}};
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
    const std::string sent = LinkMessage::encode({"https://a"});
    std::string routed(sent.size(), '\0');
    std::thread peer([&] {
        const int fd = ::accept(listener, nullptr, nullptr);
        routed.resize(
            size_t(std::max<ssize_t>(::recv(fd, routed.data(), routed.size(), MSG_WAITALL), 0)));
        ::close(fd);
    });
    const auto result = Forwarding::handOver(runtime, {"https://a"}, "");
    peer.join();
    EXPECT_EQ(routed, sent);
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
