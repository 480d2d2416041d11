// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop for one end-to-end test: a Wayland compositor run headless (keys
// typed through its own helper, `m_keys`), or Xvfb with a window manager (keys
// typed with xdotool), on a session bus of its own; Orlim and the test's
// windows are its clients. Skipped where the desktop is not installed.
#pragma once

#include "ProcessFixture.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

#include <cstring>
#include <optional>

class Compositor : public ProcessFixture
{
public:
    /// GNOME's compositor, headless, on a monitor of `monitor` pixels, with
    /// keys typed through its remote-desktop interface.
    void mutter(const QString& monitor)
    {
        startCompositor({u"mutter"_s, u"--wayland"_s, u"--headless"_s, u"--no-x11"_s,
                         u"--virtual-monitor"_s, monitor},
                        u"wayland-0"_s, 10000, QStringLiteral(MUTTER_KEYS_SCRIPT));
    }

    /// KDE's compositor, headless, with keys typed through its fake-input
    /// interface. Debian's kwin_wayland carries file capabilities that some
    /// sandboxes refuse to execute, so a copy runs; KWin's own Qt platform
    /// plugin insists that the program is still called kwin_wayland.
    void kwin()
    {
        const QString kwin = QStandardPaths::findExecutable(u"kwin_wayland"_s);
        if (kwin.isEmpty() || QByteArray(KWIN_KEYS_EXECUTABLE).isEmpty())
            GTEST_SKIP() << "kwin_wayland or plasma-wayland-protocols is not installed";
        ASSERT_TRUE(QDir().mkpath(path(u"kwin"_s)) &&
                    QFile::copy(kwin, path(u"kwin/kwin_wayland"_s)));
        // KWin grants fake input to the program its desktop entry names.
        putFile(u"home/.local/share/applications/orlim-test-keys.desktop"_s,
                "[Desktop Entry]\nType=Application\nName=Orlim test keys\nNoDisplay=true\n"
                "Exec=" KWIN_KEYS_EXECUTABLE
                "\nX-KDE-Wayland-Interfaces=org_kde_kwin_fake_input\n");
        // KWin 6 no longer grants it by the entry alone; its own switch for
        // tests does. KWin 5 is left as users have it.
        QByteArray version;
        tool(path(u"kwin/kwin_wayland"_s), {u"--version"_s}, &version);
        QList<std::pair<QString, QString>> variables;
        if (!version.contains("kwin 5."))
            variables.append({u"KWIN_WAYLAND_NO_PERMISSION_CHECKS"_s, u"1"_s});
        startCompositor({path(u"kwin/kwin_wayland"_s), u"--virtual"_s, u"--no-lockscreen"_s,
                         u"--socket"_s, u"wayland-kw"_s, u"--width"_s, u"1280"_s, u"--height"_s,
                         u"800"_s},
                        u"wayland-kw"_s, 60000, QStringLiteral(KWIN_KEYS_EXECUTABLE), variables);
    }
    void mutter() { mutter(u"1280x800"_s); }
    void mutterX11() { startX11({u"mutter"_s, u"--x11"_s, u"--replace"_s, u"--sm-disable"_s}); }
    void kwinX11() { startX11({u"kwin_x11"_s, u"--replace"_s}); }
    void openbox() { startX11({u"openbox"_s}); }

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

    /// Starts `command` as the compositor, logging to compositor.log, waits
    /// until its socket `display` appears, then starts `keys` (see `type`).
    void startCompositor(const QStringList& command, const QString& display, int timeoutMs,
                         const QString& keys,
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
        m_keys = startHelper({keys}, environment(), u"keys.log"_s);
        ASSERT_TRUE(nextLine(m_keys).startsWith("ready")) << readLog(u"keys.log"_s).toStdString();
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
        // Empty, the launcher's hook adds nothing.
        env.insert(u"ORLIM_TEST_CHROMIUM_FLAGS"_s, m_chromiumFlags);
        if (m_accessibility)
            env.insert(u"QT_LINUX_ACCESSIBILITY_ALWAYS_ON"_s, u"1"_s);
        return env;
    }
    bool onX11() const { return !m_x11Display.isEmpty(); }

    /// Runs a desktop tool to its end; its exit code (-1 when it did not end),
    /// and its output into `output` where given.
    int tool(const QString& program, const QStringList& arguments,
             QByteArray* output = nullptr) const
    {
        QProcess process;
        process.setProcessEnvironment(environment());
        process.start(program, arguments);
        if (!process.waitForFinished(5000))
            return -1;
        if (output)
            *output = process.readAllStandardOutput().trimmed();
        return process.exitCode();
    }
    int xdotool(const QStringList& arguments, QByteArray* output = nullptr) const
    {
        return tool(u"xdotool"_s, arguments, output);
    }

    /// The X11 windows that `xdotool search` finds with `terms`.
    QList<QByteArray> windows(const QStringList& terms) const
    {
        QByteArray ids;
        xdotool(QStringList{u"search"_s} + terms, &ids);
        return ids.isEmpty() ? QList<QByteArray>() : ids.split('\n');
    }
    /// The visible X11 windows titled exactly `title`.
    QList<QByteArray> titled(const QString& title) const
    {
        return windows({u"--onlyvisible"_s, u"--name"_s, u'^' + title + u'$'});
    }
    /// The active X11 window.
    QByteArray active() const
    {
        QByteArray id;
        xdotool({u"getactivewindow"_s}, &id);
        return id;
    }

    /// How many lines of the log `name` are exactly `line`.
    int count(const QString& name, const QByteArray& line) const
    {
        return int(readLog(name).split('\n').count(line));
    }

    /// Presses and releases `key` (an X keysym name, or a chord like "alt+F4").
    void type(const QString& key)
    {
        if (onX11()) {
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

    /// Opens a fresh window that stands for the program a link is clicked in
    /// (see desktop-window): it takes the keyboard when it maps, and "o" or
    /// "n" open `link` with `program`, Orlim unless given (numbered: link1,
    /// link2...). Returns its log's name.
    QString openClickingWindow(const QString& link,
                               const QString& program = QStringLiteral(ORLIM_EXECUTABLE))
    {
        const QString log = u"clicking-"_s + QString::number(++m_clickingWindows) + u".log";
        startHelper(
            {QStringLiteral(DESKTOP_WINDOW_EXECUTABLE), u"record"_s, path(log), program, link},
            environment());
        EXPECT_TRUE(waitFor([&] { return count(log, "focus-in") == 1; }, 30000));
        // The first keys after a window maps may be swallowed.
        EXPECT_TRUE(typeUntil(u"z"_s, 500, [&] { return count(log, "z") > 0; }));
        return log;
    }

    /// Debian's Chromium, as installed, serves the links from now on, running
    /// natively on the desktop; Chromium itself makes `profiles` profiles,
    /// each with a cookie that names it for the page server. Returns the page
    /// server's address, or nothing when Chromium is not installed.
    std::optional<QString> useRealChromium(int profiles)
    {
        if (!installSystemEntry(u"chromium.desktop"_s, u"/usr/bin/chromium"_s))
            return std::nullopt;
        // Debian's launcher takes switches only from /etc/chromium.d, where
        // scripts/install-deps.sh puts a hook that reads ours.
        EXPECT_TRUE(QFile::exists(u"/etc/chromium.d/orlim-tests"_s))
            << "run scripts/install-deps.sh test";
        installEntry(u"google-chrome.desktop"_s, {});
        const QString base = pageServer();
        makeChromiumProfiles(profiles, base + u"/profile/");
        m_chromiumFlags = chromiumFlags() +
                          (onX11() ? u" --ozone-platform=x11"_s : u" --ozone-platform=wayland"_s);
        return base;
    }

    /// Starts the page server, logging to pages.log, with `options`; its address.
    QString pageServer(const QStringList& options = {})
    {
        QProcess* server = startHelper(
            QStringList{QStringLiteral(PAGE_SERVER_SCRIPT), path(u"pages.log"_s)} + options,
            desktopEnvironment(), u"page-server.log"_s);
        const QByteArray port = nextLine(server).trimmed().mid(int(strlen("port ")));
        return u"http://127.0.0.1:"_s + QString::fromLatin1(port);
    }

    /// Once the window that logs to `clicking` has the keyboard the `times`th
    /// time, types `key` there (no key: only waits); whether the picker then
    /// takes the keyboard from it.
    bool pickerTakesTheKeyboard(const QString& clicking, const QString& key, int times)
    {
        if (!waitFor([&] { return count(clicking, "focus-in") == times; }, 30000))
            return false;
        if (!key.isEmpty())
            type(key);
        return waitFor([&] { return count(clicking, "focus-out") == times; }, 30000);
    }

    /// A page of the page server at `site` clicked in a fresh window and
    /// opened with its key `open`, the browser's profile chosen in the picker
    /// with `choice`; what the page server logs after the page's and the key's
    /// path (its cookie; with Firefox, then the page's language).
    struct Click
    {
        QString site;
        const char *page, *open, *choice;
        QByteArray opened;
        const char* key;
        QByteArray typed;
        /// On X11, the browser's window class where the choice opens a window
        /// of its own: those open before it are other profiles'.
        const char* windowClass = nullptr;
    };
    /// The page opens; `check` (given the clicking window's log) holds; the
    /// key then typed reaches the page, and none goes back to the window. No
    /// window of `windowClass` open before the choice ever has the keyboard.
    template <typename Check> void click(const Click& c, Check check)
    {
        const QString clicking = openClickingWindow(c.site + QString::fromLatin1(c.page));
        ASSERT_TRUE(pickerTakesTheKeyboard(clicking, QString::fromLatin1(c.open), 1));
        QList<QByteArray> others;
        const QString spy = u"active-"_s + QString::number(m_clickingWindows) + u".log";
        if (onX11() && c.windowClass) {
            others = windows({u"--class"_s, QString::fromLatin1(c.windowClass)});
            // Every window the window manager hands the keyboard to, as it tells.
            startHelper(
                {u"stdbuf"_s, u"-oL"_s, u"xprop"_s, u"-root"_s, u"-spy"_s, u"_NET_ACTIVE_WINDOW"_s},
                environment(), spy, false);
            ASSERT_TRUE(waitFor([&] { return !readLog(spy).isEmpty(); }));
        }
        type(QString::fromLatin1(c.choice));
        const QByteArray opened = c.page + QByteArray("1\t") + c.opened;
        ASSERT_TRUE(waitFor([&] { return count(u"pages.log"_s, opened) == 1; }, 60000))
            << readLog(u"pages.log"_s).toStdString();
        check(clicking);
        const QByteArray typed = "/key/" + QByteArray(c.key) + '\t' + c.typed;
        EXPECT_TRUE(typeUntil(QString::fromLatin1(c.key), 500,
                              [&] { return count(u"pages.log"_s, typed) > 0; }))
            << "the browser took the keyboard\n"
            << readLog(u"pages.log"_s).toStdString();
        EXPECT_EQ(count(clicking, c.key), 0) << "no key went back to the clicking window";
        // xprop tells "… window id # 0xa00002" a line; xdotool counts in decimal.
        for (const QByteArray& window : others)
            EXPECT_FALSE(readLog(spy).contains(
                QByteArray("# 0x" + QByteArray::number(window.toULong(), 16) + '\n')))
                << "another profile's window took the keyboard: " << window.toStdString();
    }

    QProcess* m_keys = nullptr;
    bool m_accessibility = false;

private:
    QString m_display;
    QString m_x11Display;
    QString m_chromiumFlags;
    int m_clickingWindows = 0;
};
