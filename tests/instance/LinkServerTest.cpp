// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/LinkServer.h"

#include "instance/LinkClient.h"
#include "instance/LinkMessage.h"

#include "QtPrinting.h"
#include "UnixSocket.h"

#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <thread>

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
