// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DBusNotifications.h"

#include "QtPrinting.h"

#include <QDBusConnection>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <gtest/gtest.h>

// Against a stand-in service on a private bus: a message goes with an action
// only where the service shows actions, with its body escaped only where the
// service reads markup; the action brings the token the service sent; no bus,
// no service and a refusal leave the user the window instead.
TEST(DBusNotifications, AsTheServiceAllows)
{
    if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty() ||
        QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, u"import dbus"_s}) != 0)
        GTEST_SKIP() << "dbus-daemon or python3-dbus is not installed";
    QProcess daemon;
    daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
    ASSERT_TRUE(daemon.waitForReadyRead(10000));
    const QString address = QString::fromUtf8(daemon.readLine().trimmed());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, address);

    const Notifications::Message message{u"summary"_s, u"https://shop.example/?a=1&b=2"_s,
                                         u"コピー"_s};
    const struct
    {
        const char* name;
        QStringList server; // none: no service on the bus
        bool connected;
        const char* body; // as the service got it; none: nothing shown
        bool action;
    } cases[] = {
        {"no bus", {}, false, nullptr, false},
        {"no service", {}, true, nullptr, false},
        {"refused", {u"actions,body"_s, u"error"_s}, true, nullptr, false},
        {"no actions", {u"body"_s}, true, "https://shop.example/?a=1&b=2", false},
        {"markup",
         {u"actions,body,body-markup"_s},
         true,
         "https://shop.example/?a=1&amp;b=2",
         true},
    };
    int connections = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess server;
        if (!c.server.isEmpty()) {
            server.setProcessEnvironment(env);
            server.start(QStringLiteral(NOTIFICATION_SERVER_SCRIPT), c.server);
            ASSERT_TRUE(QTest::qWaitFor([&] { return server.canReadLine(); }, 10000));
            ASSERT_EQ(server.readLine().trimmed(), "ready");
        }
        const QString name = u"notifications-"_s + QString::number(++connections);
        QDBusConnection bus = QDBusConnection::connectToBus(
            c.connected ? address : u"unix:path=/nonexistent/bus"_s, name);
        std::optional<QString> picked;
        bool noAction = false;
        {
            DBusNotifications notifications(bus);
            notifications.show(
                message, [&](const QString& token) { picked = token; }, [&] { noAction = true; });
            if (!c.body) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return noAction; }, 10000));
            } else {
                ASSERT_TRUE(QTest::qWaitFor([&] { return server.canReadLine(); }, 10000));
                const QJsonObject shown = QJsonDocument::fromJson(server.readLine()).object();
                EXPECT_EQ(shown[u"body"_s].toString(), QString::fromUtf8(c.body));
                EXPECT_EQ(shown[u"actions"_s].toArray().size(), c.action ? 2 : 0);
                EXPECT_EQ(QTest::qWaitFor([&] { return noAction; }, c.action ? 200 : 10000),
                          !c.action);
            }
            if (c.action) {
                server.write("invoke 1 the-token\n");
                EXPECT_TRUE(QTest::qWaitFor([&] { return picked.has_value(); }, 10000));
                EXPECT_EQ(picked.value_or(QString()), u"the-token"_s);
            }
            EXPECT_EQ(picked.has_value(), c.action);
        }
        QDBusConnection::disconnectFromBus(name);
        server.closeWriteChannel();
        server.waitForFinished(5000);
    }
    daemon.terminate();
    daemon.waitForFinished(5000);
}
