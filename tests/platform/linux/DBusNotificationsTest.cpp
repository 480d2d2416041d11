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

/// A private session bus, and on it the stand-in service, started again for
/// each case.
class DBusNotificationsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty() ||
            QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, u"import dbus"_s}) != 0)
            GTEST_SKIP() << "dbus-daemon or python3-dbus is not installed";
        m_daemon.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
        ASSERT_TRUE(m_daemon.waitForReadyRead(10000));
        m_address = QString::fromUtf8(m_daemon.readLine().trimmed());
    }
    void TearDown() override
    {
        serve({});
        m_daemon.terminate();
        m_daemon.waitForFinished(5000);
    }

    /// Ends the service of the case before and its connection; starts the
    /// service with `arguments` (none: no service on the bus) and returns a
    /// new connection, to the bus unless told not to.
    QDBusConnection serve(std::optional<QStringList> arguments, bool toTheBus = true)
    {
        QDBusConnection::disconnectFromBus(QString::number(m_connections));
        restart(arguments);
        return QDBusConnection::connectToBus(toTheBus ? m_address : u"unix:path=/nonexistent/bus"_s,
                                             QString::number(++m_connections));
    }
    /// Ends the service, and starts it again with `arguments` (none: not again).
    void restart(std::optional<QStringList> arguments)
    {
        m_server.closeWriteChannel();
        m_server.waitForFinished(5000);
        if (arguments) {
            m_server.setEnvironment(QProcess::systemEnvironment()
                                    << u"DBUS_SESSION_BUS_ADDRESS="_s + m_address);
            m_server.start(QStringLiteral(NOTIFICATION_SERVER_SCRIPT), *arguments);
            EXPECT_TRUE(QTest::qWaitFor([&] { return m_server.canReadLine(); }, 10000));
            EXPECT_EQ(m_server.readLine().trimmed(), "ready");
        }
    }
    /// The next notification the stand-in service shows.
    QJsonObject nextShown()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_server.canReadLine(); }, 10000));
        return QJsonDocument::fromJson(m_server.readLine()).object();
    }

    /// Shows "link 1" to "link 40", each action adding "<i> <token>" to `picked`
    /// (where the other cases add the bare token); `then(i)` after each.
    void showForty(DBusNotifications& notifications, const std::function<void(int)>& then = {})
    {
        for (int i = 1; i <= 40; ++i) {
            notifications.show(
                {u"summary"_s, u"link "_s + QString::number(i), u"copy"_s},
                [this, i](const QString& token) {
                    picked.append(QString::number(i) + u' ' + token);
                },
                [] { ADD_FAILURE() << "the service shows actions"; },
                [this, i] { closed.append(i); });
            if (then)
                then(i);
        }
    }

    QProcess m_server;
    QStringList picked;
    QList<int> closed; // the messages told closed

private:
    QProcess m_daemon;
    QString m_address;
    int m_connections = 0;
};

} // namespace

// Against a stand-in service on a private bus: a message goes with an action
// only where the service shows actions, with every character markup gives a
// meaning escaped only where the service reads markup; the action brings the
// token the service sent; no bus and a refusal leave the user the
// window instead.
TEST_F(DBusNotificationsTest, AsTheServiceAllows)
{
    const Notifications::Message message{u"summary"_s, u"https://shop.example/?q=<a>\"b'&c=1"_s,
                                         u"コピー"_s};
    const struct
    {
        const char* name;
        std::optional<QStringList> server; // none: no service on the bus
        bool connected;
        const char* body; // as the service got it; none: nothing shown
        bool action;
    } cases[] = {
        {"no bus", {}, false, nullptr, false},
        {"refused", QStringList{u"actions,body"_s, u"error"_s}, true, nullptr, false},
        {"no actions", QStringList{u"body"_s}, true, R"(https://shop.example/?q=<a>"b'&c=1)",
         false},
        {"markup", QStringList{u"actions,body,body-markup"_s}, true,
         "https://shop.example/?q=&lt;a&gt;&quot;b&#39;&amp;c=1", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool noAction = false;
        picked.clear();
        DBusNotifications notifications(serve(c.server, c.connected));
        notifications.show(
            message, [&](const QString& token) { picked.append(token); }, [&] { noAction = true; },
            {});
        if (c.body) {
            const QJsonObject shown = nextShown();
            EXPECT_EQ(shown[u"body"_s].toString(), QString::fromUtf8(c.body));
            EXPECT_EQ(shown[u"actions"_s].toArray().size(), c.action ? 2 : 0);
        }
        EXPECT_EQ(QTest::qWaitFor([&] { return noAction; }, c.action ? 200 : 10000), !c.action);
        if (c.action)
            m_server.write("invoke 1 the-token\n");
        (void)QTest::qWaitFor([&] { return !picked.isEmpty(); }, c.action ? 10000 : 0);
        EXPECT_EQ(picked, c.action ? QStringList{u"the-token"_s} : QStringList());
    }
}

// A burst is one notification: each message replaces the one before, and
// the action is the newest message's; updated one at a time, past the table's
// bound, it is remembered once and keeps its action. Closed by the user, the
// newest is told so, and the next message is a new one.
TEST_F(DBusNotificationsTest, ABurstIsOneNotification)
{
    DBusNotifications notifications(serve(QStringList()));
    showForty(notifications);
    QJsonObject shown = nextShown();
    const int id = shown[u"id"_s].toInt();
    EXPECT_EQ(shown[u"replaces"_s].toInt(), 0);
    while (shown[u"body"_s].toString() != u"link 40") {
        shown = nextShown();
        ASSERT_FALSE(shown.isEmpty());
        EXPECT_EQ(shown[u"replaces"_s].toInt(), id);
    }
    showForty(notifications, [&](int) { EXPECT_EQ(nextShown()[u"replaces"_s].toInt(), id); });
    m_server.write("invoke " + QByteArray::number(id) + " t\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return picked == QStringList{u"40 t"_s}; }, 10000))
        << "the newest message's action, not " << picked.join(u',').toStdString();
    EXPECT_EQ(notifications.rememberedCount(), 1);
    m_server.write("close " + QByteArray::number(id) + "\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return notifications.rememberedCount() == 0; }, 10000));
    EXPECT_EQ(closed, QList<int>{40});
    notifications.show({u"s"_s, u"later"_s, u"copy"_s}, {}, {}, {});
    EXPECT_EQ(nextShown()[u"replaces"_s].toInt(), 0);
}

// A service not there yet, or gone to restart, fails its queries: the message
// asked meanwhile leaves the user the window, and the next goes to the service
// once it is back.
TEST_F(DBusNotificationsTest, AServiceBackIsToldAgain)
{
    DBusNotifications notifications(serve({}));
    for (const char* when : {"starting", "restarting"}) {
        SCOPED_TRACE(when);
        bool noAction = false;
        notifications.show({u"s"_s, u"lost"_s, u"copy"_s}, {}, [&] { noAction = true; }, {});
        EXPECT_TRUE(QTest::qWaitFor([&] { return noAction; }, 10000));
        restart(QStringList());
        notifications.show({u"s"_s, u"told"_s, u"copy"_s}, {}, {}, {});
        EXPECT_EQ(nextShown()[u"body"_s].toString(), u"told"_s);
        restart({});
    }
}

// A service that never says a notification closed (nor replaces one) leaves a
// bounded table, each action with the token sent for it.
TEST_F(DBusNotificationsTest, EachActionKeepsItsToken)
{
    DBusNotifications notifications(serve(QStringList{u"actions,body"_s, u"fresh"_s}));
    showForty(notifications, [&](int i) { EXPECT_EQ(nextShown()[u"id"_s].toInt(), i); });
    m_server.write("invoke 39 t39\ninvoke 40 -\ninvoke 2 t2\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return picked.size() == 2; }, 10000));
    QTest::qWait(100);
    EXPECT_EQ(picked, (QStringList{u"39 t39"_s, u"40 "_s}));
}
