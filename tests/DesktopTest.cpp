// End-to-end tests on a real X server (Xvfb) with a window manager (openbox):
// what a user sees and types. Skipped where those programs are not installed.
#include "ProcessFixture.h"

#include <QDeadlineTimer>
#include <QStandardPaths>
#include <QThread>
#include <unistd.h>

namespace {

class Desktop : public ProcessFixture
{
protected:
    void SetUp() override
    {
        ProcessFixture::SetUp();
        for (const char* tool : {"Xvfb", "openbox", "xdotool"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        }
        // A display number of our own, so parallel test runs do not meet.
        for (int n = 100 + getpid() % 500; n < 1000; ++n) {
            if (!QFile::exists(u"/tmp/.X" + QString::number(n) + u"-lock")) {
                m_display = u':' + QString::number(n);
                break;
            }
        }
        m_xvfb.start(u"Xvfb"_qs, {m_display, u"-screen"_qs, u"0"_qs, u"1280x800x24"_qs,
                                  u"-nolisten"_qs, u"tcp"_qs});
        ASSERT_TRUE(m_xvfb.waitForStarted(5000));
        ASSERT_TRUE(waitFor([&] { return xdotool({u"getdisplaygeometry"_qs}).has_value(); }));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_qs, m_display);
        m_windowManager.setProcessEnvironment(env);
        m_windowManager.start(u"openbox"_qs, {});
        ASSERT_TRUE(m_windowManager.waitForStarted(5000));
        // Ready once it publishes the current desktop.
        ASSERT_TRUE(waitFor([&] { return xdotool({u"get_desktop"_qs}).has_value(); }));
    }

    void TearDown() override
    {
        ProcessFixture::TearDown();
        for (QProcess* process : {&m_windowManager, &m_xvfb}) {
            process->terminate();
            if (!process->waitForFinished(5000))
                process->kill();
        }
    }

    QProcessEnvironment environment() const override
    {
        QProcessEnvironment env = ProcessFixture::environment();
        env.remove(u"QT_QPA_PLATFORM"_qs);
        env.insert(u"DISPLAY"_qs, m_display);
        return env;
    }

    /// Runs xdotool on the test display; its output, or nothing when it failed.
    std::optional<QString> xdotool(const QStringList& arguments) const
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(u"DISPLAY"_qs, m_display);
        process.setProcessEnvironment(env);
        process.start(u"xdotool"_qs, arguments);
        if (!process.waitForFinished(5000) || process.exitCode() != 0)
            return std::nullopt;
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    /// The visible window with exactly this title, if any.
    std::optional<QString> window(const QString& title) const
    {
        return xdotool({u"search"_qs, u"--onlyvisible"_qs, u"--name"_qs, u'^' + title + u'$'});
    }

    template <typename Condition> static bool waitFor(Condition condition, int timeoutMs = 10000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(25);
        }
        return true;
    }

private:
    QString m_display;
    QProcess m_xvfb;
    QProcess m_windowManager;
};

} // namespace

// A link with four profiles brings up the picker with the keyboard: typing "2"
// at once opens the second profile.
TEST_F(Desktop, PickerTakesTheKeyboardAtOnce)
{
    writeLocalState(
        R"({"profile": {"profiles_order": ["Default", "Profile 1", "Profile 2", "Profile 3"],
        "info_cache": {"Default": {"name": "個人用"}, "Profile 1": {"name": "Work"},
        "Profile 2": {"name": "Family"}, "Profile 3": {"name": "Test"}}}})");
    start({u"https://example.com/picked"_qs});
    ASSERT_TRUE(waitFor([&] { return window(u"Orlim"_qs).has_value(); }));
    ASSERT_TRUE(waitFor([&] { return xdotool({u"getactivewindow"_qs}) == window(u"Orlim"_qs); }));
    ASSERT_TRUE(xdotool({u"key"_qs, u"2"_qs}));
    const QStringList picked{u"--profile-directory=Profile 1"_qs, u"https://example.com/picked"_qs};
    EXPECT_EQ(waitForChrome(1), QList<QStringList>{picked});
    EXPECT_TRUE(waitFor([&] { return !window(u"Orlim"_qs).has_value(); })) << "the picker hides";

    // The running Orlim shows the next link the same way.
    EXPECT_EQ(run({u"https://example.com/next"_qs}), 0);
    ASSERT_TRUE(waitFor([&] { return window(u"Orlim"_qs).has_value(); }));
    ASSERT_TRUE(waitFor([&] { return xdotool({u"getactivewindow"_qs}) == window(u"Orlim"_qs); }));
    xdotool({u"key"_qs, u"Down"_qs, u"Down"_qs, u"Return"_qs});
    const QStringList expected{u"--profile-directory=Profile 2"_qs, u"https://example.com/next"_qs};
    EXPECT_EQ(waitForChrome(2).value(1), expected);
}

// Started by hand the settings open by themselves (that a launch for a link
// keeps them closed is shown with the fake clock); starting Orlim again shows them.
TEST_F(Desktop, SettingsOpenAfterAManualStartAndOnReopen)
{
    QProcess* orlim = start({});
    ASSERT_TRUE(waitFor([&] { return window(u"Orlim 設定"_qs).has_value(); }));
    const QString settings = *window(u"Orlim 設定"_qs);
    // The window manager's close (openbox binds Alt+F4), as the title bar's button would.
    ASSERT_TRUE(waitFor([&] { return xdotool({u"getactivewindow"_qs}) == settings; }));
    ASSERT_TRUE(xdotool({u"key"_qs, u"alt+F4"_qs}));
    ASSERT_TRUE(waitFor([&] { return !window(u"Orlim 設定"_qs).has_value(); }));
    EXPECT_EQ(run({}), 0);
    ASSERT_TRUE(waitFor([&] { return window(u"Orlim 設定"_qs).has_value(); }));

    // The tray menu's Ctrl+Q works from Orlim's windows.
    ASSERT_TRUE(
        waitFor([&] { return xdotool({u"getactivewindow"_qs}) == window(u"Orlim 設定"_qs); }));
    ASSERT_TRUE(xdotool({u"key"_qs, u"ctrl+q"_qs}));
    EXPECT_TRUE(orlim->waitForFinished(10000));
    EXPECT_EQ(orlim->exitCode(), 0);
}
