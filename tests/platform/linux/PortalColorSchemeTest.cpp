// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/PortalColorScheme.h"

#include "FakePlatform.h"

#include <QProcess>
#include <QStandardPaths>

using Preference = ColorScheme::Preference;

// The desktop's preference as the portal serves it, on a private session bus:
// read with ReadOne, or with Read from a portal before version 2, then
// followed as it changes.
TEST(PortalColorScheme, ReadsAndFollowsThePortal)
{
    if (QStandardPaths::findExecutable(u"dbus-daemon"_s).isEmpty() ||
        QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, u"import dbus"_s}) != 0)
        GTEST_SKIP() << "dbus-daemon or python3-dbus is not installed";
    QTemporaryDir empty; // no GNOME schema to fall back on
    const ScopedVariable schemas("GSETTINGS_SCHEMA_DIR", empty.path().toUtf8());
    const ScopedVariable data("XDG_DATA_DIRS", empty.path().toUtf8());
    QProcess bus;
    bus.start(u"dbus-daemon"_s, {u"--session"_s, u"--nofork"_s, u"--print-address"_s});
    ASSERT_TRUE(bus.waitForReadyRead(10000));
    const ScopedVariable address("DBUS_SESSION_BUS_ADDRESS", bus.readLine().trimmed());

    const struct
    {
        const char* mode;
        int value;
        Preference first;
    } cases[] = {{"readone", 1, Preference::Dark}, {"read", 2, Preference::Light}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        QProcess portal;
        portal.start(QStringLiteral(PORTAL_SCRIPT),
                     {QString::fromLatin1(c.mode), QString::number(c.value)});
        ASSERT_TRUE(portal.waitForReadyRead(10000));
        ASSERT_EQ(portal.readLine().trimmed(), "ready");
        PortalColorScheme scheme;
        std::vector<Preference> told;
        scheme.follow([&](Preference preference) { told.push_back(preference); });
        ASSERT_TRUE(QTest::qWaitFor([&] { return told.size() == 1; }));
        EXPECT_EQ(told.front(), c.first);
        portal.write("set 2\n");
        EXPECT_TRUE(QTest::qWaitFor([&] { return told.back() == Preference::Light; }));
        portal.write("set 0\n");
        EXPECT_TRUE(QTest::qWaitFor([&] { return told.back() == Preference::None; }));
        portal.closeWriteChannel();
        portal.waitForFinished(5000);
    }

    bus.terminate();
    bus.waitForFinished(5000);
}
