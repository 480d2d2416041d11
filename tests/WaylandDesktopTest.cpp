// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests under Wayland compositors run headless: GNOME's mutter and
// KDE's KWin. Under mutter the picker takes the keyboard from the window a link
// was clicked in, and the Chrome that opens the link takes it from the picker;
// keys are typed through mutter's remote-desktop interface. Skipped where a
// compositor is not installed.
#include "ProcessFixture.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace {

/// A Wayland compositor run headless for one test, on a session bus of its
/// own; Orlim and the test's windows are its clients.
class Compositor : public ProcessFixture
{
protected:
    /// Starts `command` as the compositor, logging to compositor.log, and waits
    /// until its socket `display` appears.
    void startCompositor(const QStringList& command, const QString& display, int timeoutMs)
    {
        if (QStandardPaths::findExecutable(command.first()).isEmpty() ||
            QProcess::execute(u"/usr/bin/python3"_qs, {u"-c"_qs, u"import dbus"_qs}) != 0)
            GTEST_SKIP() << command.first().toStdString() << " or python3-dbus is not installed";
        startSessionBus();
        m_display = display;
        startHelper(command, desktopEnvironment(), u"compositor.log"_qs, false);
        ASSERT_TRUE(
            waitFor([&] { return QFile::exists(path(u"runtime/"_qs + display)); }, timeoutMs))
            << readLog(u"compositor.log"_qs).toStdString();
    }

    QProcessEnvironment environment() const override
    {
        QProcessEnvironment env = ProcessFixture::environment();
        env.insert(u"QT_QPA_PLATFORM"_qs, u"wayland"_qs);
        env.insert(u"WAYLAND_DISPLAY"_qs, m_display);
        return env;
    }

    /// How many lines of the log `name` are exactly `line`.
    int count(const QString& name, const QByteArray& line) const
    {
        return int(readLog(name).split('\n').count(line));
    }

    /// Starts the window the links are clicked in (see desktop-window).
    void startRecorder(const QStringList& arguments = {})
    {
        startHelper(QStringList{QStringLiteral(DESKTOP_WINDOW_EXECUTABLE), u"record"_qs,
                                path(u"recorder.log"_qs)} +
                        arguments,
                    environment());
    }

private:
    QString m_display;
};

class Mutter : public Compositor
{
protected:
    void SetUp() override
    {
        ProcessFixture::SetUp();
        startCompositor({u"mutter"_qs, u"--wayland"_qs, u"--headless"_qs, u"--no-x11"_qs,
                         u"--virtual-monitor"_qs, u"1280x800"_qs},
                        u"wayland-0"_qs, 10000);
        if (HasFatalFailure() || IsSkipped())
            return;
        m_keys = startHelper({QStringLiteral(MUTTER_KEYS_SCRIPT)}, desktopEnvironment());
        ASSERT_TRUE(nextLine(m_keys).startsWith("ready"));
        // The window the links are clicked in ("o" opens the next one); the
        // first keys after start-up may be swallowed, so keys are spent until
        // one arrives.
        startRecorder({QStringLiteral(ORLIM_EXECUTABLE), u"https://example.com/clicked"_qs});
        ASSERT_TRUE(waitFor([&] { return count(u"recorder.log"_qs, "focus-in") == 1; }));
        ASSERT_TRUE(typeUntil(u"z"_qs, 500, [&] { return count(u"recorder.log"_qs, "z") > 0; }));
        installEntry(u"google-chrome.desktop"_qs, DESKTOP_WINDOW_EXECUTABLE " %U");
    }

    /// Presses and releases `key` (an X keysym name, or a chord like "alt+F4").
    void type(const QString& key)
    {
        m_keys->write(key.toUtf8() + '\n');
        ASSERT_TRUE(nextLine(m_keys).startsWith("typed"));
    }

    /// Types `key` again until `done` holds, waiting `tryMs` after each, for
    /// keys the desktop may let pass.
    template <typename Condition> bool typeUntil(const QString& key, int tryMs, Condition done)
    {
        return waitFor([&] {
            type(key);
            return waitFor(done, tryMs);
        });
    }

private:
    QProcess* m_keys = nullptr;
};

} // namespace

// A link clicked in another window brings up a picker that takes the
// keyboard; "2" opens the link once in the second profile, and the running
// Chrome then has the keyboard. Three rounds: the first starts Orlim, the
// others reach the running one, and the last after the picker was closed by
// the compositor (Alt+F4). Between rounds Alt+Tab goes back to the window the
// links are clicked in.
TEST_F(Mutter, PickerTakesTheKeyboardAndChromeComesToTheFront)
{
    writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {},
                                                   "Profile 2": {}, "Profile 3": {}}}})");
    const QString recorder = u"recorder.log"_qs, chrome = u"chrome.log.focus"_qs;
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        const int chromeFocus = count(chrome, "focus-in");
        type(u"o"_qs);
        ASSERT_TRUE(waitFor([&] { return count(recorder, "focus-out") == round; }))
            << "the picker took the keyboard";
        if (round == 3) {
            type(u"alt+F4"_qs);
            ASSERT_TRUE(waitFor([&] { return count(recorder, "focus-in") == round + 1; }));
            type(u"o"_qs);
            ASSERT_TRUE(waitFor([&] { return count(recorder, "focus-out") == round + 1; }))
                << "a closed picker comes back with the keyboard";
        }
        type(u"2"_qs);
        EXPECT_EQ(
            waitForChrome(round).value(round - 1),
            (QStringList{u"--profile-directory=Profile 1"_qs,
                         u"https://example.com/clicked" + QString::number(round + (round == 3))}));
        ASSERT_TRUE(waitFor([&] { return count(chrome, "focus-in") > chromeFocus; }))
            << "Chrome took the keyboard\n"
            << readLog(u"compositor.log"_qs).toStdString() << readLog(chrome).toStdString();
        // The picker leaves once Chrome has the keyboard; until it has gone,
        // Alt+Tab may pick it and the keyboard falls back to Chrome.
        if (round < 3) {
            ASSERT_TRUE(typeUntil(u"alt+Tab"_qs, 2000,
                                  [&] { return count(recorder, "focus-in") == round + 1; }));
        }
    }
    EXPECT_EQ(waitForChrome(3).size(), 3) << "each link opened once";
    const QByteArray keys = readLog(recorder);
    EXPECT_EQ(keys.count("\n2"), 0) << keys.toStdString();
}

namespace {

/// KDE's compositor, headless. Debian's kwin_wayland carries file capabilities
/// that some sandboxes refuse to execute, so a copy runs; KWin's own Qt
/// platform plugin insists that the program is still called kwin_wayland.
class KWin : public Compositor
{
protected:
    void SetUp() override
    {
        ProcessFixture::SetUp();
        const QString kwin = QStandardPaths::findExecutable(u"kwin_wayland"_qs);
        if (kwin.isEmpty())
            GTEST_SKIP() << "kwin_wayland is not installed";
        QDir().mkpath(path(u"kwin"_qs));
        ASSERT_TRUE(QFile::copy(kwin, path(u"kwin/kwin_wayland"_qs)));
        startCompositor({path(u"kwin/kwin_wayland"_qs), u"--virtual"_qs, u"--no-lockscreen"_qs,
                         u"--socket"_qs, u"wayland-kw"_qs, u"--width"_qs, u"1280"_qs,
                         u"--height"_qs, u"800"_qs},
                        u"wayland-kw"_qs, 60000);
    }
};

} // namespace

// Under KWin the picker for a link takes the keyboard from the window that
// had it.
TEST_F(KWin, PickerTakesTheKeyboard)
{
    writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    startRecorder();
    ASSERT_TRUE(waitFor([&] { return count(u"recorder.log"_qs, "focus-in") == 1; }, 30000));
    start({u"https://example.com/kde"_qs});
    EXPECT_TRUE(waitFor([&] { return count(u"recorder.log"_qs, "focus-out") == 1; }, 30000))
        << readLog(u"compositor.log"_qs).toStdString();
}
