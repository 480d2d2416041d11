#include "app/LinkMessage.h"
#include "app/Forwarding.h"
#include "app/LinkServer.h"
#include "app/RuntimeDirectory.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

using State = LinkMessage::Reader::State;
using namespace std::string_literals;

namespace {

/// A socket, and the address of the link socket at `path`.
int unixSocket(const std::string& path, sockaddr_un* address)
{
    *address = {};
    address->sun_family = AF_UNIX;
    std::strcpy(address->sun_path, path.c_str());
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
}

} // namespace

// Messages survive being cut into pieces anywhere, links and all.
TEST(LinkMessage, RoundTripInAnyPieces)
{
    const std::vector<std::string> links{"https://a.example/?q=1", "", "日本語 -- \n", "--x",
                                         "nul\0inside"s};
    const std::string message = LinkMessage::encode(links);
    for (std::size_t piece : {1, 2, 3, 7, 1000}) {
        LinkMessage::Reader reader;
        State state = State::Incomplete;
        for (std::size_t at = 0; at < message.size(); at += piece) {
            EXPECT_EQ(state, State::Incomplete);
            state = reader.feed(message.substr(at, piece));
        }
        EXPECT_EQ(state, State::Complete) << piece;
        EXPECT_EQ(reader.links(), links) << piece;
    }
    LinkMessage::Reader reopen;
    EXPECT_EQ(reopen.feed(LinkMessage::encode({})), State::Complete);
    EXPECT_TRUE(reopen.links().empty());

    // With a token, version 2; without, the first version's bytes exactly.
    LinkMessage::Reader withToken;
    EXPECT_EQ(withToken.feed(LinkMessage::encode(links, "token:1")), State::Complete);
    EXPECT_EQ(withToken.token(), "token:1");
    EXPECT_EQ(withToken.links(), links);
    EXPECT_EQ(LinkMessage::encode({"a"}), "ORLIM/1\nU\0\0\0\1aE\0\0\0\0"s);
}

// A newer `orlim` with a token and a running Orlim of the first version, which
// refuses the token's message at once: the links arrive once, without it.
TEST(Forwarding, TheFirstVersionGetsTheLinksWithoutTheToken)
{
    QTemporaryDir dir;
    const RuntimeDirectory runtime{dir.path().toStdString()};
    sockaddr_un address;
    const int listener = unixSocket(runtime.socketPath(), &address);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ASSERT_EQ(::listen(listener, 4), 0);
    std::vector<std::vector<std::string>> routed;
    std::thread oldOrlim([&] {
        for (int connections = 0; connections < 2; ++connections) {
            const int fd = ::accept(listener, nullptr, nullptr);
            char buffer[256];
            const ssize_t n = ::recv(fd, buffer, sizeof(buffer), 0);
            if (n >= 8 && std::string(buffer, 8) == LinkMessage::magic) {
                LinkMessage::Reader reader;
                reader.feed(buffer, size_t(n));
                routed.push_back(reader.links());
                ::send(fd, &LinkMessage::ack, 1, MSG_NOSIGNAL);
                connections = 2;
            }
            ::close(fd);
        }
    });
    EXPECT_EQ(Forwarding::handOver(runtime, {"https://a"}, "token"), LinkClient::Result::Delivered);
    oldOrlim.join();
    ::close(listener);
    EXPECT_EQ(routed, std::vector<std::vector<std::string>>{{"https://a"}});
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
    sockaddr_un address;
    const int silent = unixSocket(path, &address);
    ASSERT_EQ(::connect(silent, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    std::thread sender([&] { LinkClient::send(path, LinkMessage::encode({"https://a"}), 10000); });
    // Longer than a stalled connection may live, so that a server taking one
    // connection at a time routes the links only after dropping the silent one.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !routed.isEmpty(); }, 2 * LinkServer::stallTimeoutMs));
    char byte;
    EXPECT_EQ(::recv(silent, &byte, 1, MSG_DONTWAIT), -1) << "the silent client was dropped first";
    sender.join();
    ::close(silent);
}

TEST(LinkMessage, MalformedAndOversizedMessagesAreRefused)
{
    const std::string good = LinkMessage::encode({"https://a"});
    const std::string bad[] = {
        "GET / HTTP/1.1\r\n\r\n", "ORLIM/1\nX\0\0\0\0"s,         "ORLIM/1\nE\0\0\0\1"s,
        "ORLIM/1\nT\0\0\0\1t"s,   "ORLIM/2\nE\0\0\0\0"s,         "ORLIM/2\nT\0\0\0\0"s,
        good + "trailing",        "ORLIM/1\nU\x7f\xff\xff\xff"s,
    };
    for (const std::string& bytes : bad) {
        LinkMessage::Reader reader;
        EXPECT_EQ(reader.feed(bytes), State::Malformed) << bytes;
    }

    LinkMessage::Reader endless;
    const std::string chunk(64 * 1024, 'a');
    State state = endless.feed("ORLIM/1\nU\x00\x0f\xff\xff"s);
    for (int i = 0; i < 20 && state == State::Incomplete; ++i)
        state = endless.feed(chunk);
    EXPECT_EQ(state, State::Malformed) << "more than the size limit";
}

// The small command hands over plain link lists only; any option goes to the
// full application.
TEST(Forwarding, LinksOnly)
{
    using Links = std::optional<std::vector<std::string>>;
    const auto parse = [](std::vector<const char*> argv) {
        argv.insert(argv.begin(), "orlim");
        return Forwarding::linksOnly(int(argv.size()), argv.data());
    };
    EXPECT_EQ(parse({}), Links(std::vector<std::string>{}));
    EXPECT_EQ(parse({"https://a", "b c"}), Links({"https://a", "b c"}));
    EXPECT_EQ(parse({"--", "--version", "--"}), Links({"--version", "--"}));
    EXPECT_EQ(parse({"--version"}), std::nullopt);
    EXPECT_EQ(parse({"https://a", "-x"}), std::nullopt);
}

// The runtime folder is private however it was found (an existing one with
// loose permissions is tightened), and falls back to /tmp/orlim-<uid> when
// XDG_RUNTIME_DIR is missing, relative, or too long for a socket's path.
TEST(RuntimeDirectory, PrivateAndWithinTheSocketPathLimit)
{
    QTemporaryDir dir;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const std::string fallback = "/tmp/orlim-" + std::to_string(::getuid());

    QDir().mkpath(dir.path() + u"/orlim");
    QFile::setPermissions(dir.path() + u"/orlim", QFile::Permissions(0x7755));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(dir.path()));
    EXPECT_EQ(RuntimeDirectory::forCurrentUser()->path, dir.path().toStdString() + "/orlim");
    EXPECT_EQ(QFile::permissions(dir.path() + u"/orlim"), QFile::Permissions(0x7700));

    // Its socket's path would fill sun_path exactly, leaving no room for the NUL.
    const auto socketSuffix = qsizetype(RuntimeDirectory{"/orlim"}.socketPath().size());
    const auto sunPath = qsizetype(sizeof(sockaddr_un::sun_path));
    const QString longBase =
        dir.path() + u'/' + QString(sunPath - socketSuffix - dir.path().size() - 1, u'r');
    QDir().mkpath(longBase);
    // "relative/run" names a folder that exists, so only its being relative refuses it.
    QDir().mkpath(u"relative/run"_qs);
    for (const QByteArray& base : {QFile::encodeName(longBase), QByteArray("relative/run"),
                                   QByteArray("/nonexistent/run")}) {
        qputenv("XDG_RUNTIME_DIR", base);
        EXPECT_EQ(RuntimeDirectory::forCurrentUser()->path, fallback) << base.toStdString();
    }
    QDir(u"relative"_qs).removeRecursively();
    qputenv("XDG_RUNTIME_DIR", saved);
}
