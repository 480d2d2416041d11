// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end tests of the keyboard's way from the window a link was clicked
// in, to the picker, to the Chrome that opens the link: under Wayland
// compositors run headless (GNOME's mutter, KDE's KWin; keys typed through
// mutter's remote-desktop interface and KWin's fake input) and under X11 window
// managers on Xvfb (mutter, KWin, openbox; keys typed with xdotool). Skipped
// where a desktop is not installed.
#include "ProcessFixture.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <algorithm>
#include <cstring>
#include <optional>

namespace {

/// A Wayland compositor run headless, or an X server with a window manager,
/// for one test, on a session bus of its own; Orlim and the test's windows are
/// its clients.
class Compositor : public ProcessFixture
{
protected:
    /// Starts Xvfb and `windowManager` on it, and waits until the window
    /// manager runs.
    void startX11(const QStringList& windowManager)
    {
        for (const QString& tool : {u"Xvfb"_s, u"xdotool"_s, windowManager.first()}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool.toStdString() << " is not installed";
        }
        // Xvfb picks a free display itself and tells which on its output.
        QProcess* xvfb = startHelper({u"Xvfb"_s, u"-displayfd"_s, u"1"_s, u"-screen"_s, u"0"_s,
                                      u"1280x800x24"_s, u"-nolisten"_s, u"tcp"_s, u"-noreset"_s},
                                     QProcessEnvironment::systemEnvironment());
        m_x11Display = u':' + QString::fromLatin1(nextLine(xvfb, 10000).trimmed());
        // KWin's services, started by the bus, need the display too.
        startSessionBus(m_x11Display);
        QProcessEnvironment env = desktopEnvironment();
        env.insert(u"DISPLAY"_s, m_x11Display);
        startHelper(windowManager, env, u"compositor.log"_s, false);
        // Ready once it publishes the current desktop.
        ASSERT_TRUE(waitFor([&] { return xdotool({u"get_desktop"_s}) == 0; }, 30000))
            << readLog(u"compositor.log"_s).toStdString();
    }

    int xdotool(const QStringList& arguments, QByteArray* output = nullptr) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(u"xdotool"_s, arguments);
        if (!process.waitForFinished(5000))
            return -1;
        if (output)
            *output = process.readAllStandardOutput().trimmed();
        return process.exitCode();
    }

    /// The X11 windows of class `windowClass`.
    QList<QByteArray> windowsOf(const QString& windowClass) const
    {
        QByteArray ids;
        xdotool({u"search"_s, u"--class"_s, windowClass}, &ids);
        return ids.isEmpty() ? QList<QByteArray>() : ids.split('\n');
    }

    /// Whether the active X11 window is among those `xdotool search` finds
    /// with `terms`.
    bool activeAmong(const QStringList& terms) const
    {
        QByteArray active, found;
        return xdotool({u"getactivewindow"_s}, &active) == 0 &&
               xdotool(QStringList{u"search"_s} + terms, &found) == 0 &&
               found.split('\n').contains(active);
    }
    bool chromiumIsActive() const { return activeAmong({u"--class"_s, u"Chromium"_s}); }

    /// Starts `command` as the compositor, logging to compositor.log, and waits
    /// until its socket `display` appears.
    void startCompositor(const QStringList& command, const QString& display, int timeoutMs,
                         const QList<std::pair<QString, QString>>& variables = {})
    {
        if (QStandardPaths::findExecutable(command.first()).isEmpty() ||
            QProcess::execute(u"/usr/bin/python3"_s, {u"-c"_s, u"import dbus"_s}) != 0)
            GTEST_SKIP() << command.first().toStdString() << " or python3-dbus is not installed";
        startSessionBus();
        m_display = display;
        QProcessEnvironment env = desktopEnvironment();
        for (const auto& [name, value] : variables)
            env.insert(name, value);
        startHelper(command, env, u"compositor.log"_s, false);
        ASSERT_TRUE(
            waitFor([&] { return QFile::exists(path(u"runtime/"_s + display)); }, timeoutMs))
            << readLog(u"compositor.log"_s).toStdString();
    }

    QProcessEnvironment environment() const override
    {
        QProcessEnvironment env = ProcessFixture::environment();
        if (m_x11Display.isEmpty()) {
            env.insert(u"QT_QPA_PLATFORM"_s, u"wayland"_s);
            env.insert(u"WAYLAND_DISPLAY"_s, m_display);
        } else {
            env.remove(u"QT_QPA_PLATFORM"_s);
            env.insert(u"DISPLAY"_s, m_x11Display);
        }
        if (!m_chromiumFlags.isEmpty())
            env.insert(u"ORLIM_TEST_CHROMIUM_FLAGS"_s, m_chromiumFlags);
        return env;
    }

    /// How many lines of the log `name` are exactly `line`.
    int count(const QString& name, const QByteArray& line) const
    {
        return int(readLog(name).split('\n').count(line));
    }

    /// Starts the window the links are clicked in (see desktop-window).
    void startRecorder(const QStringList& arguments = {},
                       const QString& log = QStringLiteral("recorder.log"))
    {
        startHelper(QStringList{QStringLiteral(DESKTOP_WINDOW_EXECUTABLE), u"record"_s, path(log)} +
                        arguments,
                    environment());
    }

    /// Presses and releases `key` (an X keysym name, or a chord like "alt+F4")
    /// through the compositor's key helper (`m_keys`).
    void type(const QString& key)
    {
        if (!m_x11Display.isEmpty()) {
            ASSERT_EQ(xdotool({u"key"_s, key}), 0);
            return;
        }
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

    /// Opens a fresh window that stands for the program a link is clicked in:
    /// it takes the keyboard when it maps, and "o" or "n" open `link` with
    /// `program`, Orlim unless given (numbered: link1, link2...). Returns its
    /// log's name.
    QString openClickingWindow(const QString& link,
                               const QString& program = QStringLiteral(ORLIM_EXECUTABLE))
    {
        const QString log = u"clicking-"_s + QString::number(++m_clickingWindows) + u".log";
        startRecorder({program, link}, log);
        EXPECT_TRUE(waitFor([&] { return count(log, "focus-in") == 1; }, 30000));
        // The first keys after a window maps may be swallowed.
        EXPECT_TRUE(typeUntil(u"z"_s, 500, [&] { return count(log, "z") > 0; }));
        return log;
    }

    /// Debian's Chromium, as installed, serves the links from now on, running
    /// natively on the compositor; Chromium itself makes `profiles` profiles,
    /// each with a cookie that names it for the page server. Returns the page
    /// server's address, or nothing when Chromium is not installed.
    std::optional<QString> useRealChromium(int profiles)
    {
        if (!installSystemChromium())
            return std::nullopt;
        // Debian's launcher takes switches only from /etc/chromium.d, where
        // scripts/install-deps.sh puts a hook that reads ours.
        EXPECT_TRUE(QFile::exists(u"/etc/chromium.d/orlim-tests"_s))
            << "run scripts/install-deps.sh test";
        installEntry(u"google-chrome.desktop"_s, {});
        QProcess* server = startHelper({QStringLiteral(PAGE_SERVER_SCRIPT), path(u"pages.log"_s)},
                                       desktopEnvironment(), u"page-server.log"_s);
        const QByteArray port = nextLine(server).trimmed().mid(int(strlen("port ")));
        const QString base = u"http://127.0.0.1:"_s + QString::fromLatin1(port);
        makeChromiumProfiles(profiles, base + u"/profile/");
        m_chromiumFlags = chromiumFlags() + (m_x11Display.isEmpty() ? u" --ozone-platform=wayland"_s
                                                                    : u" --ozone-platform=x11"_s);
        return base;
    }

    /// Debian's real Chromium, running natively on the compositor, comes to
    /// the front with the link in the chosen profile: started by the choice,
    /// with Orlim started by a link without a token; then running, for a link
    /// without a token and for one with a token, each clicked in a fresh
    /// window. The keys typed after the choice (on X11, once the browser's
    /// window is active) reach the page in the chosen profile, and none goes
    /// back to the window the link was clicked in.
    void realChromiumComesToTheFront()
    {
        const auto pages = useRealChromium(3);
        if (!pages)
            GTEST_SKIP() << "Debian's chromium is not installed";
        const struct
        {
            const char* open; // the key the clicking window opens the link with
            const char* choice;
            QString profile;
        } rounds[] = {
            {"n", "2", u"Profile 1"_s}, {"n", "3", u"Profile 2"_s}, {"o", "1", u"Default"_s}};
        int round = 0;
        for (const auto& r : rounds) {
            SCOPED_TRACE(++round);
            const QString clicking =
                openClickingWindow(*pages + u"/clicked-"_s + QString::number(round) + u'-');
            type(QString::fromLatin1(r.open));
            ASSERT_TRUE(waitFor([&] { return count(clicking, "focus-out") == 1; }, 30000))
                << "the picker took the keyboard";
            type(QString::fromLatin1(r.choice));
            const QByteArray opened =
                "/clicked-" + QByteArray::number(round) + "-1\t" + r.profile.toUtf8();
            ASSERT_TRUE(waitFor([&] { return count(u"pages.log"_s, opened) == 1; }, 30000))
                << readLog(u"pages.log"_s).toStdString();
            // X11 keeps no picker up for the browser: the window the link came
            // from has the keyboard until the browser's window is raised.
            if (!m_x11Display.isEmpty()) {
                EXPECT_TRUE(waitFor([&] { return chromiumIsActive(); })) << "Chromium is in front";
            }
            const QByteArray key = QByteArray("xyk").mid(round - 1, 1);
            const QByteArray typed = "/key/" + key + "\t" + r.profile.toUtf8();
            EXPECT_TRUE(typeUntil(QString::fromLatin1(key), 500,
                                  [&] { return count(u"pages.log"_s, typed) > 0; }))
                << "Chromium took the keyboard\n"
                << readLog(u"pages.log"_s).toStdString();
            EXPECT_EQ(count(clicking, key), 0) << "no key went back to the clicking window";
        }
    }

    /// Three links in a burst, chosen with keys: the picker keeps the
    /// keyboard from the first choice to the last, each link starts once in
    /// its profile, and the browser (a stand-in) has the keyboard after the
    /// last choice.
    void aBurstChosenWithKeys()
    {
        installEntry(u"google-chrome.desktop"_s, DESKTOP_WINDOW_EXECUTABLE " %U");
        writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {},
                                                       "Profile 2": {}}}})");
        const QString clicking = openClickingWindow(u"https://burst.example/"_s);
        type(u"o"_s);
        ASSERT_TRUE(waitFor([&] { return count(clicking, "focus-out") == 1; }, 30000))
            << "the picker took the keyboard";
        EXPECT_EQ(run({u"https://burst.example/2"_s, u"https://burst.example/3"_s}), 0);
        for (const QString& key : {u"2"_s, u"3"_s, u"1"_s})
            type(key);
        const QString profile = u"--profile-directory="_s;
        // Started in order; the stand-ins, like a browser's processes, log
        // themselves in whatever order the machine runs them.
        QList<QStringList> started = waitForChrome(3);
        std::sort(started.begin(), started.end(),
                  [](const QStringList& a, const QStringList& b) { return a.last() < b.last(); });
        EXPECT_EQ(started,
                  (QList<QStringList>{{profile + u"Profile 1", u"https://burst.example/1"_s},
                                      {profile + u"Profile 2", u"https://burst.example/2"_s},
                                      {profile + u"Default", u"https://burst.example/3"_s}}));
        EXPECT_TRUE(waitFor([&] { return count(u"chrome.log.focus"_s, "focus-in") > 0; }))
            << "the browser took the keyboard";
        EXPECT_EQ(count(clicking, "focus-in"), 1) << "the keyboard never went back";
        const QByteArray keys = readLog(clicking);
        EXPECT_FALSE(keys.contains("\n2") || keys.contains("\n3") || keys.contains("\n1"))
            << keys.toStdString();
    }

    QProcess* m_keys = nullptr;

private:
    QString m_display;
    QString m_x11Display;
    QString m_chromiumFlags;
    int m_clickingWindows = 0;
};

class Mutter : public Compositor
{
protected:
    void SetUp() override
    {
        ProcessFixture::SetUp();
        startCompositor({u"mutter"_s, u"--wayland"_s, u"--headless"_s, u"--no-x11"_s,
                         u"--virtual-monitor"_s, u"1280x800"_s},
                        u"wayland-0"_s, 10000);
        if (HasFatalFailure() || IsSkipped())
            return;
        m_keys = startHelper({QStringLiteral(MUTTER_KEYS_SCRIPT)}, desktopEnvironment());
        ASSERT_TRUE(nextLine(m_keys).startsWith("ready"));
        installEntry(u"google-chrome.desktop"_s, DESKTOP_WINDOW_EXECUTABLE " %U");
    }
};

} // namespace

TEST_F(Mutter, RealChromiumComesToTheFront)
{
    realChromiumComesToTheFront();
}

TEST_F(Mutter, ABurstChosenWithKeys)
{
    aBurstChosenWithKeys();
}

// On Wayland only a window with the keyboard may set the clipboard: a link
// whose browser fails at once is shown in a notification while another
// program has the keyboard, and its action brings up Orlim's window, which
// copies the link (read back with wl-paste) and lists the links not opened.
TEST_F(Mutter, ALinkNotOpenedIsCopiedFromTheNotification)
{
    if (QStandardPaths::findExecutable(u"wl-paste"_s).isEmpty())
        GTEST_SKIP() << "wl-clipboard is not installed";
    installEntry(u"google-chrome.desktop"_s, "/bin/false %U");
    QProcess* server =
        startHelper({QStringLiteral(NOTIFICATION_SERVER_SCRIPT)}, environment(), u"server.log"_s);
    ASSERT_EQ(nextLine(server).trimmed(), "ready");
    // The shell makes a token for the action from the user's last input; the
    // clicking window's "o" stands for that click, its token kept in a file.
    QFile script(path(u"keep-token"_s));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write(
        "#!/bin/sh\nprintf %s \"$XDG_ACTIVATION_TOKEN\" > \"$1.part\" && mv \"$1.part\" \"$1\"\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    const QString clicking = openClickingWindow(path(u"token"_s), script.fileName());
    const QString link = u"https://shop.example/?a=1&b=2"_s;
    startHelper({QStringLiteral(ORLIM_EXECUTABLE), link}, environment(), u"orlim.log"_s);
    const QByteArray shown = nextLine(server);
    ASSERT_TRUE(shown.contains("\"copy\"")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("?a=1&b=2")) << "not escaped: no body-markup";
    // The click on the action, as late as a user's: a token is good only for
    // a while after the input it was made for.
    type(u"o"_s);
    ASSERT_TRUE(waitFor([&] { return !readLog(u"token1"_s).isEmpty(); }));
    server->write("invoke 1 " + readLog(u"token1"_s) + '\n');
    server->waitForBytesWritten(5000);
    // wl-paste takes the keyboard for a moment itself: it reads only once
    // Orlim's window has had it.
    ASSERT_TRUE(waitFor([&] { return count(clicking, "focus-out") == 1; }, 30000))
        << "Orlim's window took the keyboard";
    const auto clipboard = [&] {
        QProcess paste;
        paste.setProcessEnvironment(environment());
        paste.start(u"wl-paste"_s, {u"--no-newline"_s});
        return paste.waitForFinished(5000) ? QString::fromUtf8(paste.readAllStandardOutput())
                                           : QString();
    };
    EXPECT_TRUE(waitFor([&] { return clipboard() == link; }, 30000))
        << clipboard().toStdString() << readLog(u"orlim.log"_s).toStdString();
}

// A link clicked in another window brings up a picker that takes the
// keyboard; "2" opens the link once in the second profile, and the running
// Chrome (a stand-in) then has the keyboard. Three rounds: the first starts
// Orlim with a token from the clicking window, the others reach the running
// one with none, as from a terminal, and the last after the picker was closed
// by the compositor (Alt+F4). Between rounds Alt+Tab goes back to the window
// the links are clicked in.
TEST_F(Mutter, PickerTakesTheKeyboardAndChromeComesToTheFront)
{
    writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {},
                                                   "Profile 2": {}, "Profile 3": {}}}})");
    const QString recorder = openClickingWindow(u"https://example.com/clicked"_s);
    const QString chrome = u"chrome.log.focus"_s;
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE(round);
        const int chromeFocus = count(chrome, "focus-in");
        const QString open = round == 1 ? u"o"_s : u"n"_s;
        type(open);
        ASSERT_TRUE(waitFor([&] { return count(recorder, "focus-out") == round; }))
            << "the picker took the keyboard";
        if (round == 3) {
            type(u"alt+F4"_s);
            ASSERT_TRUE(waitFor([&] { return count(recorder, "focus-in") == round + 1; }));
            type(open);
            ASSERT_TRUE(waitFor([&] { return count(recorder, "focus-out") == round + 1; }))
                << "a closed picker comes back with the keyboard";
        }
        type(u"2"_s);
        EXPECT_EQ(
            waitForChrome(round).value(round - 1),
            (QStringList{u"--profile-directory=Profile 1"_s,
                         u"https://example.com/clicked" + QString::number(round + (round == 3))}));
        ASSERT_TRUE(waitFor([&] { return count(chrome, "focus-in") > chromeFocus; }))
            << "Chrome took the keyboard\n"
            << readLog(u"compositor.log"_s).toStdString() << readLog(chrome).toStdString();
        // The picker leaves once Chrome has the keyboard; until it has gone,
        // Alt+Tab may pick it and the keyboard falls back to Chrome.
        if (round < 3) {
            ASSERT_TRUE(typeUntil(u"alt+Tab"_s, 2000,
                                  [&] { return count(recorder, "focus-in") == round + 1; }));
        }
    }
    EXPECT_EQ(waitForChrome(3).size(), 3) << "each link opened once";
    const QByteArray keys = readLog(recorder);
    EXPECT_EQ(keys.count("\n2"), 0) << keys.toStdString();
}

namespace {

/// KDE's compositor, headless, with keys typed through its fake-input
/// interface. Debian's kwin_wayland carries file capabilities that some
/// sandboxes refuse to execute, so a copy runs; KWin's own Qt platform plugin
/// insists that the program is still called kwin_wayland.
class KWin : public Compositor
{
protected:
    void SetUp() override
    {
        ProcessFixture::SetUp();
        const QString kwin = QStandardPaths::findExecutable(u"kwin_wayland"_s);
        if (kwin.isEmpty() || QByteArray(KWIN_KEYS_EXECUTABLE).isEmpty())
            GTEST_SKIP() << "kwin_wayland or plasma-wayland-protocols is not installed";
        QDir().mkpath(path(u"kwin"_s));
        ASSERT_TRUE(QFile::copy(kwin, path(u"kwin/kwin_wayland"_s)));
        // KWin grants fake input to the program its desktop entry names.
        QDir().mkpath(path(u"home/.local/share/applications"_s));
        QFile entry(path(u"home/.local/share/applications/orlim-test-keys.desktop"_s));
        ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
        entry.write("[Desktop Entry]\nType=Application\nName=Orlim test keys\nNoDisplay=true\n"
                    "Exec=" KWIN_KEYS_EXECUTABLE "\n"
                    "X-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n");
        entry.close();
        // KWin 6 no longer grants it by the entry alone; its own switch for
        // tests does. KWin 5 is left as users have it.
        QProcess version;
        version.setProcessEnvironment(desktopEnvironment());
        version.start(path(u"kwin/kwin_wayland"_s), {u"--version"_s});
        version.waitForFinished(10000);
        QList<std::pair<QString, QString>> variables;
        if (!version.readAllStandardOutput().contains("kwin 5."))
            variables.append({u"KWIN_WAYLAND_NO_PERMISSION_CHECKS"_s, u"1"_s});
        startCompositor({path(u"kwin/kwin_wayland"_s), u"--virtual"_s, u"--no-lockscreen"_s,
                         u"--socket"_s, u"wayland-kw"_s, u"--width"_s, u"1280"_s, u"--height"_s,
                         u"800"_s},
                        u"wayland-kw"_s, 60000, variables);
        if (HasFatalFailure() || IsSkipped())
            return;
        QProcessEnvironment env = desktopEnvironment();
        env.insert(u"WAYLAND_DISPLAY"_s, u"wayland-kw"_s);
        m_keys = startHelper({QStringLiteral(KWIN_KEYS_EXECUTABLE)}, env, u"kwin-keys.log"_s);
        ASSERT_TRUE(nextLine(m_keys).startsWith("ready"))
            << readLog(u"kwin-keys.log"_s).toStdString();
    }
};

} // namespace

TEST_F(KWin, RealChromiumComesToTheFront)
{
    realChromiumComesToTheFront();
}

namespace {

using X11 = Compositor;

} // namespace

TEST_F(X11, RealChromiumComesToTheFrontUnderMutter)
{
    startX11({u"mutter"_s, u"--x11"_s, u"--replace"_s, u"--sm-disable"_s});
    if (!HasFatalFailure() && !IsSkipped())
        realChromiumComesToTheFront();
}

TEST_F(X11, RealChromiumComesToTheFrontUnderKWin)
{
    startX11({u"kwin_x11"_s, u"--replace"_s});
    if (!HasFatalFailure() && !IsSkipped())
        realChromiumComesToTheFront();
}

TEST_F(X11, RealChromiumComesToTheFrontUnderOpenbox)
{
    startX11({u"openbox"_s});
    if (!HasFatalFailure() && !IsSkipped())
        realChromiumComesToTheFront();
}

TEST_F(X11, ABurstChosenWithKeysUnderOpenbox)
{
    startX11({u"openbox"_s});
    if (!HasFatalFailure() && !IsSkipped())
        aBurstChosenWithKeys();
}

// Real keys and Debian's real Chromium: Shift+2 opens the link once, in a
// private window of the second profile (Chromium starts with the switches, and
// the page gets none of the profile's cookies), while 2 alone then opens the
// next link in that profile itself.
TEST_F(X11, ShiftOpensAPrivateWindowUnderOpenbox)
{
    startX11({u"openbox"_s});
    if (HasFatalFailure() || IsSkipped())
        return;
    const auto pages = useRealChromium(3);
    if (!pages)
        GTEST_SKIP() << "Debian's chromium is not installed";
    const QString clicking = openClickingWindow(*pages + u"/private-"_s);
    // Chromium's own processes, by their command lines (which Chromium
    // rewrites as one line).
    const auto chromiumStartedWith = [](const QByteArray& words) {
        for (const QString& pid : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
            QFile file(u"/proc/"_s + pid + u"/cmdline"_s);
            if (file.open(QIODevice::ReadOnly) && file.readAll().replace('\0', ' ').contains(words))
                return true;
        }
        return false;
    };
    // The window a title names is the active one.
    const auto active = [&](const char* title) {
        return activeAmong({u"--onlyvisible"_s, u"--name"_s, QString::fromLatin1(title)});
    };
    int round = 0;
    for (const char* key : {"shift+2", "2"}) {
        SCOPED_TRACE(key);
        ++round;
        // Chromium's windows may still be coming up: the clicking window is
        // brought back until it stays in front.
        ASSERT_TRUE(waitFor([&] {
            xdotool({u"windowactivate"_s, u"--sync"_s,
                     QString::fromLatin1(windowsOf(u"desktop-window"_s).value(0))});
            return waitFor([&] { return active("^record$"); }, 500);
        }));
        type(u"n"_s);
        ASSERT_TRUE(waitFor([&] { return active("^Orlim$"); }, 30000)) << "the picker came";
        type(QString::fromLatin1(key));
        const QByteArray link = "/private-" + QByteArray::number(round);
        const QByteArray opened = link + "\t" + (round == 1 ? "-" : "Profile 1");
        ASSERT_TRUE(waitFor([&] { return count(u"pages.log"_s, opened) == 1; }, 30000))
            << readLog(u"pages.log"_s).toStdString();
        if (round == 1) {
            EXPECT_TRUE(chromiumStartedWith("--profile-directory=Profile 1 --incognito " +
                                            pages->toUtf8() + link + ' '));
        }
    }
    EXPECT_EQ(readLog(u"pages.log"_s).count("/private-"), 2) << "each link opened once";
}

// GNOME's window manager, the desktop switched between light and dark through
// the portal while the picker is open: the picker turns, without a restart.
TEST_F(X11, ThePickerFollowsTheDesktopsStyleUnderMutter)
{
    if (QStandardPaths::findExecutable(u"import"_s).isEmpty())
        GTEST_SKIP() << "imagemagick is not installed";
    startX11({u"mutter"_s, u"--x11"_s, u"--replace"_s, u"--sm-disable"_s});
    if (HasFatalFailure() || IsSkipped())
        return;
    QProcess* portal = startHelper({QStringLiteral(PORTAL_SCRIPT), u"readone"_s, u"2"_s},
                                   environment(), u"portal.log"_s);
    ASSERT_EQ(nextLine(portal).trimmed(), "ready");
    writeLocalState(R"({"profile": {"info_cache": {"Default": {}, "Profile 1": {}}}})");
    start({u"https://style.example/"_s});
    // The picker's mean brightness, 0 (black) to 1 (white), as the X server
    // shows it; nothing while it is not shown.
    const auto brightness = [&]() -> std::optional<double> {
        QByteArray id;
        if (xdotool({u"search"_s, u"--onlyvisible"_s, u"--name"_s, u"^Orlim$"_s}, &id) != 0)
            return std::nullopt;
        QProcess shot;
        shot.setProcessEnvironment(environment());
        shot.start(u"/bin/sh"_s, {u"-c"_s,
                                  u"import -window \"$0\" png:- | convert png:- "
                                  u"-colorspace gray -format '%[fx:mean]' info:"_s,
                                  QString::fromLatin1(id.split('\n').first())});
        bool ok = false;
        const double mean =
            shot.waitForFinished(10000) ? shot.readAllStandardOutput().toDouble(&ok) : 0;
        return ok ? std::optional(mean) : std::nullopt;
    };
    const auto becomes = [&](bool dark) {
        return waitFor([&] {
            const auto mean = brightness();
            return mean && (dark ? *mean < 0.35 : *mean > 0.65);
        });
    };
    ASSERT_TRUE(becomes(false)) << readLog(u"compositor.log"_s).toStdString();
    portal->write("set 1\n");
    portal->waitForBytesWritten(5000);
    EXPECT_TRUE(becomes(true)) << "dark";
    portal->write("set 2\n");
    portal->waitForBytesWritten(5000);
    EXPECT_TRUE(becomes(false)) << "light again";
}
