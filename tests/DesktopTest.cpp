// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests on a real X server (Xvfb) with a window manager (openbox):
// what a screen reader and a tray host see of Orlim. Skipped where those
// programs are not installed.
#include "ProcessFixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>

namespace {

class Desktop : public ProcessFixture
{
protected:
    void SetUp() override
    {
        ProcessFixture::SetUp();
        for (const QString& tool : {u"Xvfb"_qs, u"openbox"_qs, u"xdotool"_qs, u"wmctrl"_qs,
                                    u"xev"_qs, u"dbus-daemon"_qs}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool.toStdString() << " is not installed";
        }
        startSessionBus();
        // Xvfb picks a free display itself and tells which on its output.
        QProcess* xvfb =
            startHelper({u"Xvfb"_qs, u"-displayfd"_qs, u"1"_qs, u"-screen"_qs, u"0"_qs,
                         u"1280x800x24"_qs, u"-nolisten"_qs, u"tcp"_qs, u"-noreset"_qs},
                        QProcessEnvironment::systemEnvironment());
        m_display = u':' + QString::fromLatin1(nextLine(xvfb, 10000).trimmed());
        QProcessEnvironment env = desktopEnvironment();
        env.insert(u"DISPLAY"_qs, m_display);
        startHelper({u"openbox"_qs}, env, u"wm.log"_qs, false);
        // Ready once it publishes the current desktop.
        ASSERT_TRUE(waitFor([&] { return xdotool({u"get_desktop"_qs}).has_value(); }))
            << readLog(u"wm.log"_qs).toStdString() << " display " << m_display.toStdString();
    }

    QProcessEnvironment environment() const override
    {
        QProcessEnvironment env = ProcessFixture::environment();
        env.remove(u"QT_QPA_PLATFORM"_qs);
        env.insert(u"DISPLAY"_qs, m_display);
        if (m_accessibility)
            env.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_qs, u"1"_qs);
        return env;
    }

    /// Runs an X tool on the test display; its output, or nothing when it failed.
    std::optional<QString> tool(const QString& program, const QStringList& arguments) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        if (!process.waitForFinished(5000) || process.exitCode() != 0)
            return std::nullopt;
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }
    std::optional<QString> xdotool(const QStringList& arguments) const
    {
        return tool(u"xdotool"_qs, arguments);
    }
    /// The visible window with exactly this title, if any.
    std::optional<QString> window(const QString& title) const
    {
        return xdotool({u"search"_qs, u"--onlyvisible"_qs, u"--name"_qs, u'^' + title + u'$'});
    }
    /// Waits until the window titled `title` is the active one.
    bool becomesActive(const QString& title) const
    {
        return waitFor([&] {
            const std::optional<QString> id = window(title);
            return id && xdotool({u"getactivewindow"_qs}) == id;
        });
    }
    /// Closes the window titled `title` through the window manager, as with
    /// its title bar's button.
    void close(const QString& title) const
    {
        ASSERT_TRUE(waitFor([&] { return window(title).has_value(); }));
        ASSERT_TRUE(tool(u"wmctrl"_qs, {u"-i"_qs, u"-c"_qs, *window(title)}));
        ASSERT_TRUE(waitFor([&] { return !window(title).has_value(); }));
    }

    bool m_accessibility = false;

private:
    QString m_display;
};

} // namespace

// A screen reader finds the picker as a dialog named "Orlim" that describes the
// question and the link; its rows are a list of the profiles' names in order,
// numbered in their descriptions, the first selected. After "Down" the second
// is selected and focused, and the events that say so were sent.
TEST_F(Desktop, ScreenReaderFollowsThePicker)
{
    if (QProcess::execute(u"/usr/bin/python3"_qs, {u"-c"_qs, u"import pyatspi"_qs}) != 0)
        GTEST_SKIP() << "python3-pyatspi is not installed";
    writeLocalState(R"({"profile": {"profiles_order": ["Profile 1", "Default"],
        "info_cache": {"Default": {"name": "個人用"}, "Profile 1": {"name": "<b>Work</b>"}}}})");
    m_accessibility = true;
    QProcess* reader =
        startHelper({QStringLiteral(ATSPI_TREE_SCRIPT)}, environment(), u"atspi.log"_qs);
    ASSERT_EQ(nextLine(reader).trimmed(), "listening") << readLog(u"atspi.log"_qs).toStdString();
    const QString link = u"https://example.com/a11y?q=<i>x</i>"_qs;
    start({link});
    const QJsonObject tree = QJsonDocument::fromJson(nextLine(reader)).object();
    EXPECT_EQ(tree[u"role"_qs].toString(), u"dialog"_qs) << readLog(u"atspi.log"_qs).toStdString();
    EXPECT_EQ(tree[u"description"_qs].toString(), u"どのプロファイルで開きますか？\n"_qs + link);
    const QJsonArray items = tree[u"items"_qs].toArray();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0][u"role"_qs].toString(), u"list item"_qs);
    EXPECT_EQ(items[0][u"description"_qs].toString(), u"1, <b>Work</b>"_qs);
    EXPECT_EQ(items[1][u"name"_qs].toString(), u"個人用"_qs);
    EXPECT_TRUE(items[0][u"selected"_qs].toBool());
    EXPECT_EQ(tree[u"children_of_first"_qs].toInt(), 0) << "number and avatar are not parts";
    ASSERT_EQ(nextLine(reader).trimmed(), "ready");
    ASSERT_TRUE(xdotool({u"key"_qs, u"Down"_qs}));
    const QByteArray line = nextLine(reader);
    const QJsonObject after = QJsonDocument::fromJson(line).object();
    const QJsonArray now = after[u"items"_qs].toArray();
    ASSERT_EQ(now.size(), 2) << line.toStdString() << readLog(u"atspi.log"_qs).toStdString();
    EXPECT_TRUE(!now[0][u"selected"_qs].toBool() && now[1][u"selected"_qs].toBool() &&
                now[1][u"focused"_qs].toBool());
    bool announced = false;
    for (const QJsonValue event : after[u"events"_qs].toArray())
        announced |= event[u"source"_qs].toString() == u"個人用"_qs &&
                     event[u"type"_qs].toString().contains(u"focus"_qs);
    EXPECT_TRUE(announced) << line.toStdString();
}

// Where the tray is a StatusNotifierItem host (KDE Plasma's, stood for by a
// watcher on the session bus), Orlim's item registers, its menu reads as the
// tray menu, and its first entry opens the settings; the menu's Ctrl+Q works
// from there. Closed and opened again, the settings come back. The start-up a
// launcher announced for a link that went straight to Chrome is ended.
TEST_F(Desktop, TrayMenuOpensTheSettingsAndQuits)
{
    if (QProcess::execute(u"/usr/bin/python3"_qs, {u"-c"_qs, u"import dbus"_qs}) != 0)
        GTEST_SKIP() << "python3-dbus is not installed";
    QProcess* watcher = startHelper({QStringLiteral(SNI_WATCHER_SCRIPT), u"設定を開く…"_qs},
                                    environment(), u"watcher.log"_qs);
    ASSERT_EQ(nextLine(watcher).trimmed(), "ready");
    QProcessEnvironment launched = environment();
    launched.insert(u"DESKTOP_STARTUP_ID"_qs, u"launcher-1_TIME0"_qs);
    QProcess* messages = startHelper({u"xev"_qs, u"-root"_qs, u"-event"_qs, u"property"_qs},
                                     launched, u"xev.log"_qs, false);
    // xev listens once it reports a change made to the root window.
    ASSERT_TRUE(waitFor([&] {
        tool(u"xprop"_qs, {u"-root"_qs, u"-f"_qs, u"_ORLIM_TEST"_qs, u"8s"_qs, u"-set"_qs,
                           u"_ORLIM_TEST"_qs, u"ready"_qs});
        return messages->state() == QProcess::Running &&
               readLog(u"xev.log"_qs).contains("_ORLIM_TEST");
    }));
    QProcess* orlim =
        startHelper({QStringLiteral(ORLIM_EXECUTABLE), u"https://no-profiles.example/"_qs},
                    launched); // no window of its own
    const QJsonObject item = QJsonDocument::fromJson(nextLine(watcher)).object();
    EXPECT_EQ(item[u"labels"_qs].toVariant().toStringList(),
              (QStringList{u"Orlim v0.1.0"_qs, u"設定を開く…"_qs, u"既定のブラウザにする…"_qs,
                           u"終了"_qs}))
        << readLog(u"watcher.log"_qs).toStdString();
    EXPECT_EQ(nextLine(watcher).trimmed(), "clicked");
    EXPECT_TRUE(waitFor([&] { return readLog(u"xev.log"_qs).contains("_NET_STARTUP_INFO_BEGIN"); }))
        << "the launcher's start-up was ended";
    close(u"Orlim 設定"_qs);
    EXPECT_EQ(run({}), 0);
    ASSERT_TRUE(becomesActive(u"Orlim 設定"_qs));
    ASSERT_TRUE(xdotool({u"key"_qs, u"ctrl+q"_qs}));
    EXPECT_TRUE(orlim->waitForFinished(10000));
    EXPECT_EQ(orlim->exitCode(), 0);
}
