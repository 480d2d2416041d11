// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/Forwarding.h"

#include "instance/LinkMessage.h"

#include "QtPrinting.h"
#include "UnixSocket.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <poll.h>
#include <thread>

using State = LinkMessage::Reader::State;

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
        while (reader.state() == State::Incomplete &&
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
