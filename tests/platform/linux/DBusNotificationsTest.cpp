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

namespace {

/// A private session bus, and the stand-in service on it.
struct PrivateBus
{
    PrivateBus()
    {
        daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        EXPECT_TRUE(daemon.waitForReadyRead(10000));
        address = QString::fromUtf8(daemon.readLine().trimmed());
        env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, address);
    }
    ~PrivateBus()
    {
        daemon.terminate();
        daemon.waitForFinished(5000);
    }
    static bool available()
    {
        return !QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty() &&
               QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, u"import dbus"_s}) == 0;
    }
    void startServer(QProcess& server, const QStringList& arguments) const
    {
        server.setProcessEnvironment(env);
        server.start(QStringLiteral(NOTIFICATION_SERVER_SCRIPT), arguments);
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.canReadLine(); }, 10000));
        ASSERT_EQ(server.readLine().trimmed(), "ready");
    }
    QProcess daemon;
    QString address;
    QProcessEnvironment env;
};

/// The next notification the stand-in service shows.
QJsonObject nextShown(QProcess& server)
{
    EXPECT_TRUE(QTest::qWaitFor([&] { return server.canReadLine(); }, 10000));
    return QJsonDocument::fromJson(server.readLine()).object();
}

} // namespace

// Against a stand-in service on a private bus: a message goes with an action
// only where the service shows actions, with every character markup gives a
// meaning escaped only where the service reads markup; the action brings the
// token the service sent; no bus, no service and a refusal leave the user the
// window instead.
TEST(DBusNotifications, AsTheServiceAllows)
{
    if (!PrivateBus::available())
        GTEST_SKIP() << "dbus-daemon or python3-dbus is not installed";
    const PrivateBus bus;

    const Notifications::Message message{u"summary"_s, u"https://shop.example/?q=<a>\"b'&c=1"_s,
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
        {"no actions", {u"body"_s}, true, R"(https://shop.example/?q=<a>"b'&c=1)", false},
        {"markup",
         {u"actions,body,body-markup"_s},
         true,
         "https://shop.example/?q=&lt;a&gt;&quot;b&#39;&amp;c=1",
         true},
    };
    int connections = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QProcess server;
        if (!c.server.isEmpty()) {
            ASSERT_NO_FATAL_FAILURE(bus.startServer(server, c.server));
        }
        const QString name = u"notifications-"_s + QString::number(++connections);
        QDBusConnection connection = QDBusConnection::connectToBus(
            c.connected ? bus.address : u"unix:path=/nonexistent/bus"_s, name);
        std::optional<QString> picked;
        bool noAction = false;
        {
            DBusNotifications notifications(connection);
            notifications.show(
                message, [&](const QString& token) { picked = token; }, [&] { noAction = true; });
            if (!c.body) {
                EXPECT_TRUE(QTest::qWaitFor([&] { return noAction; }, 10000));
            } else {
                const QJsonObject shown = nextShown(server);
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
}

// A burst is one notification: each message replaces the one before, and the
// action is the newest message's. A service that never says a notification
// closed (nor replaces one) leaves a bounded table, each action with the
// token sent for it.
TEST(DBusNotifications, ABurstIsOneNotification)
{
    if (!PrivateBus::available())
        GTEST_SKIP() << "dbus-daemon or python3-dbus is not installed";
    const PrivateBus bus;
    for (const bool fresh : {false, true}) {
        SCOPED_TRACE(fresh ? "fresh ids" : "replacing");
        QProcess server;
        ASSERT_NO_FATAL_FAILURE(bus.startServer(
            server, fresh ? QStringList{u"actions,body"_s, u"fresh"_s} : QStringList()));
        const QString name = fresh ? u"fresh"_s : u"replacing"_s;
        QStringList picked;
        {
            DBusNotifications notifications(QDBusConnection::connectToBus(bus.address, name));
            const int burst = 40;
            for (int i = 1; i <= burst; ++i) {
                notifications.show(
                    {u"summary"_s, u"link "_s + QString::number(i), u"copy"_s},
                    [&picked, i](const QString& token) {
                        picked.append(QString::number(i) + u' ' + token);
                    },
                    [] { ADD_FAILURE() << "the service shows actions"; });
                if (fresh) {
                    ASSERT_EQ(nextShown(server)[u"id"_s].toInt(), i);
                }
            }
            if (!fresh) {
                QJsonObject shown = nextShown(server);
                const int id = shown[u"id"_s].toInt();
                EXPECT_EQ(shown[u"replaces"_s].toInt(), 0);
                while (shown[u"body"_s].toString() != u"link 40") {
                    shown = nextShown(server);
                    ASSERT_FALSE(shown.isEmpty());
                    EXPECT_EQ(shown[u"replaces"_s].toInt(), id);
                }
                server.write("invoke " + QByteArray::number(id) + " t\n");
                EXPECT_TRUE(QTest::qWaitFor([&] { return !picked.isEmpty(); }, 10000));
                EXPECT_EQ(picked, QStringList{u"40 t"_s}) << "the newest message's action";
                // Closed by the user: the next message is a new one.
                server.write("close " + QByteArray::number(id) + "\n");
                EXPECT_TRUE(
                    QTest::qWaitFor([&] { return notifications.rememberedCount() == 0; }, 10000));
                notifications.show({u"s"_s, u"later"_s, u"copy"_s}, {}, {});
                EXPECT_EQ(nextShown(server)[u"replaces"_s].toInt(), 0);
            } else {
                // The token goes with the notification it was sent for.
                server.write("invoke 39 t39\ninvoke 40 -\ninvoke 2 t2\n");
                EXPECT_TRUE(QTest::qWaitFor([&] { return picked.size() == 2; }, 10000));
                QTest::qWait(100);
                EXPECT_EQ(picked, (QStringList{u"39 t39"_s, u"40 "_s}));
            }
        }
        QDBusConnection::disconnectFromBus(name);
        server.closeWriteChannel();
        server.waitForFinished(5000);
    }
}
