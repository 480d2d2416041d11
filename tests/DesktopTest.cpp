// End-to-end tests on a real X server (Xvfb) with a window manager (openbox):
// what a user sees and types. Skipped where those programs are not installed.
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
        for (const QString& tool : {u"Xvfb"_qs, windowManager().first(), u"xdotool"_qs,
                                    u"wmctrl"_qs, u"dbus-daemon"_qs}) {
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
        ASSERT_TRUE(waitFor([&] { return xdotool({u"getdisplaygeometry"_qs}).has_value(); }));
        QProcessEnvironment env = desktopEnvironment();
        env.insert(u"DISPLAY"_qs, m_display);
        startHelper(windowManager(), env, u"wm.log"_qs, false);
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

    /// The window manager's command line.
    virtual QStringList windowManager() const { return {u"openbox"_qs}; }

    /// The picker read through AT-SPI by `atspi-tree.py`, on the test's
    /// session bus; returns once the reader is listening.
    QProcess* readAccessibility()
    {
        m_accessibility = true;
        QProcess* reader =
            startHelper({QStringLiteral(ATSPI_TREE_SCRIPT)}, environment(), u"atspi.log"_qs);
        EXPECT_EQ(nextLine(reader).trimmed(), "listening")
            << readLog(u"atspi.log"_qs).toStdString();
        return reader;
    }
    /// The next line of `reader` as a JSON object; the line is kept for messages.
    QJsonObject nextObject(QProcess* reader)
    {
        m_lastLine = nextLine(reader);
        return QJsonDocument::fromJson(m_lastLine).object();
    }
    QByteArray m_lastLine;

    /// Runs an X tool on the test display; its output, or nothing when it failed.
    std::optional<QString> tool(const QString& program, const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment env = desktopEnvironment();
        env.insert(u"DISPLAY"_qs, m_display);
        process.setProcessEnvironment(env);
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

    /// Types `key` into the active picker until Chrome has been started
    /// `starts` times: a window manager may call the picker active a moment
    /// before its keyboard focus arrives, and the key is then lost. Each choice
    /// hides the picker at once, so a repeated key chooses nothing more.
    void choose(const QString& key, int starts)
    {
        EXPECT_TRUE(waitFor([&] {
            xdotool({u"key"_qs, key});
            return waitForChrome(starts, 1000).size() >= starts;
        }));
    }

    void pickerTakesTheKeyboard()
    {
        writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {},
                                                       "Profile 2": {}, "Profile 3": {}}}})");
        start({u"https://example.com/picked"_qs});
        ASSERT_TRUE(becomesActive(u"Orlim"_qs));
        choose(u"2"_qs, 1);
        const QStringList picked{u"--profile-directory=Profile 1"_qs,
                                 u"https://example.com/picked"_qs};
        EXPECT_EQ(waitForChrome(1), QList<QStringList>{picked});
        EXPECT_TRUE(waitFor([&] { return !window(u"Orlim"_qs).has_value(); }))
            << "the picker hides";

        // The running Orlim shows the next link the same way.
        EXPECT_EQ(run({u"https://example.com/next"_qs}), 0);
        ASSERT_TRUE(becomesActive(u"Orlim"_qs));
        xdotool({u"key"_qs, u"Down"_qs, u"Down"_qs, u"Return"_qs});
        const QStringList expected{u"--profile-directory=Profile 2"_qs,
                                   u"https://example.com/next"_qs};
        EXPECT_EQ(waitForChrome(2).value(1), expected);

        // Closed with the title bar's button, the picker still comes back with the
        // keyboard; a link that looks like a switch then reaches Chrome after "--".
        EXPECT_EQ(run({u"https://example.com/closed"_qs}), 0);
        ASSERT_TRUE(waitFor([&] { return window(u"Orlim"_qs).has_value(); }));
        ASSERT_TRUE(tool(u"wmctrl"_qs, {u"-i"_qs, u"-c"_qs, *window(u"Orlim"_qs)}));
        ASSERT_TRUE(waitFor([&] { return !window(u"Orlim"_qs).has_value(); }));
        EXPECT_EQ(run({u"--"_qs, u"--disable-web-security"_qs}), 0);
        ASSERT_TRUE(becomesActive(u"Orlim"_qs));
        choose(u"1"_qs, 3);
        const QStringList dash{u"--profile-directory=Default"_qs, u"--"_qs,
                               u"--disable-web-security"_qs};
        EXPECT_EQ(waitForChrome(3).value(2), dash);
    }

private:
    QString m_display;
    bool m_accessibility = false;
};

} // namespace

class MutterX11 : public Desktop
{
protected:
    QStringList windowManager() const override
    {
        return {u"mutter"_qs, u"--x11"_qs, u"--replace"_qs, u"--sm-disable"_qs};
    }
};

// A link with four profiles brings up the picker with the keyboard: typing "2"
// at once opens the second profile. The running Orlim shows the next link the
// same way, also after the picker was closed with its title bar's button.
TEST_F(Desktop, PickerTakesTheKeyboardAtOnce)
{
    pickerTakesTheKeyboard();
}

TEST_F(MutterX11, PickerTakesTheKeyboardAtOnce)
{
    pickerTakesTheKeyboard();
}

// Started by hand the settings open by themselves (that a launch for a link
// keeps them closed is shown with the fake clock); starting Orlim again shows them.
TEST_F(Desktop, SettingsOpenAfterAManualStartAndOnReopen)
{
    QProcess* orlim = start({});
    ASSERT_TRUE(waitFor([&] { return window(u"Orlim 設定"_qs).has_value(); }));
    const QString settings = *window(u"Orlim 設定"_qs);
    // Closed through the window manager, as with the title bar's button.
    ASSERT_TRUE(tool(u"wmctrl"_qs, {u"-i"_qs, u"-c"_qs, settings}));
    ASSERT_TRUE(waitFor([&] { return !window(u"Orlim 設定"_qs).has_value(); }));
    EXPECT_EQ(run({}), 0);
    ASSERT_TRUE(waitFor([&] { return window(u"Orlim 設定"_qs).has_value(); }));

    // The tray menu's Ctrl+Q works from Orlim's windows.
    ASSERT_TRUE(becomesActive(u"Orlim 設定"_qs));
    ASSERT_TRUE(xdotool({u"key"_qs, u"ctrl+q"_qs}));
    EXPECT_TRUE(orlim->waitForFinished(10000));
    EXPECT_EQ(orlim->exitCode(), 0);
}

// A screen reader finds the picker as a dialog named "Orlim" that describes the
// question and the link; its rows are a list of the profiles' names in order,
// numbered in their descriptions, the first selected and focused. After
// "Down" the second is, and the events that say so were sent.
TEST_F(Desktop, ScreenReaderFollowsThePicker)
{
    if (QProcess::execute(u"/usr/bin/python3"_qs, {u"-c"_qs, u"import pyatspi"_qs}) != 0)
        GTEST_SKIP() << "python3-pyatspi is not installed";
    writeLocalState(R"({"profile": {"profiles_order": ["Profile 1", "Default"],
        "info_cache": {"Default": {"name": "個人用"}, "Profile 1": {"name": "<b>Work</b>"}}}})");
    QProcess* reader = readAccessibility();
    const QString link = u"https://example.com/a11y?q=<i>x</i>"_qs;
    start({link});
    const QJsonObject tree = nextObject(reader);
    ASSERT_FALSE(tree.isEmpty()) << readLog(u"atspi.log"_qs).toStdString();
    EXPECT_EQ(tree[u"role"_qs].toString(), u"dialog"_qs);
    EXPECT_EQ(tree[u"description"_qs].toString(), u"どのプロファイルで開きますか？\n"_qs + link);
    const QJsonArray items = tree[u"items"_qs].toArray();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0][u"name"_qs].toString(), u"<b>Work</b>"_qs);
    EXPECT_EQ(items[0][u"description"_qs].toString(), u"1, <b>Work</b>"_qs);
    EXPECT_EQ(items[0][u"role"_qs].toString(), u"list item"_qs);
    EXPECT_EQ(items[1][u"name"_qs].toString(), u"個人用"_qs);
    EXPECT_TRUE(items[0][u"selected"_qs].toBool());
    EXPECT_EQ(tree[u"children_of_first"_qs].toInt(), 0) << "number and avatar are not parts";

    ASSERT_EQ(nextLine(reader).trimmed(), "ready");
    ASSERT_TRUE(xdotool({u"key"_qs, u"Down"_qs}));
    const QJsonObject after = nextObject(reader);
    const QJsonArray now = after[u"items"_qs].toArray();
    ASSERT_EQ(now.size(), 2) << m_lastLine.toStdString() << readLog(u"atspi.log"_qs).toStdString();
    EXPECT_FALSE(now[0][u"selected"_qs].toBool());
    EXPECT_TRUE(now[1][u"selected"_qs].toBool());
    EXPECT_TRUE(now[1][u"focused"_qs].toBool());
    bool announced = false;
    for (const QJsonValue event : after[u"events"_qs].toArray())
        announced |= event[u"source"_qs].toString() == u"個人用"_qs &&
                     event[u"type"_qs].toString().contains(u"focus"_qs);
    EXPECT_TRUE(announced) << QJsonDocument(after).toJson().toStdString();
}

// Where the tray is a StatusNotifierItem host (KDE Plasma's, stood for by a
// watcher on the session bus), Orlim's item registers, its menu reads as the
// tray menu, and its first entry opens the settings.
TEST_F(Desktop, TrayItemRegistersWithAStatusNotifierHost)
{
    if (QProcess::execute(u"/usr/bin/python3"_qs, {u"-c"_qs, u"import dbus"_qs}) != 0)
        GTEST_SKIP() << "python3-dbus is not installed";
    QProcess* watcher = startHelper({QStringLiteral(SNI_WATCHER_SCRIPT), u"設定を開く…"_qs},
                                    environment(), u"watcher.log"_qs);
    ASSERT_EQ(nextLine(watcher).trimmed(), "ready");
    start({u"https://no-profiles.example/"_qs}); // opens at once: no window of its own
    const QJsonObject item = nextObject(watcher);
    const QStringList labels = item[u"labels"_qs].toVariant().toStringList();
    EXPECT_EQ(labels, (QStringList{u"Orlim v0.1.0"_qs, u"設定を開く…"_qs,
                                   u"既定のブラウザにする…"_qs, u"終了"_qs}))
        << readLog(u"watcher.log"_qs).toStdString();
    EXPECT_EQ(nextLine(watcher).trimmed(), "clicked");
    EXPECT_TRUE(waitFor([&] { return window(u"Orlim 設定"_qs).has_value(); }));
}
