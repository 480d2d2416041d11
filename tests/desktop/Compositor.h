// SPDX-License-Identifier: GPL-3.0-or-later
// A desktop for one end-to-end test: a Wayland compositor run headless (keys
// typed through its own helper, `m_keys`), or Xvfb with a window manager (keys
// typed with xdotool), on a session bus of its own; Orlim and the test's
// windows are its clients. Skipped where the desktop is not installed.
#pragma once

#include "ProcessFixture.h"

#include <QFile>
#include <QStandardPaths>

#include <cstring>
#include <optional>

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
    /// Whether the active X11 window is among those `xdotool search` finds
    /// with `terms`.
    bool activeAmong(const QStringList& terms) const
    {
        QByteArray active;
        return xdotool({u"getactivewindow"_s}, &active) == 0 && windows(terms).contains(active);
    }
    /// Waits until the X11 window titled `title` is the active one.
    bool becomesActive(const QString& title, int timeoutMs = 10000) const
    {
        const QStringList terms{u"--onlyvisible"_s, u"--name"_s, u'^' + title + u'$'};
        return waitFor([&] { return activeAmong(terms); }, timeoutMs);
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
        QProcess* server = startHelper({QStringLiteral(PAGE_SERVER_SCRIPT), path(u"pages.log"_s)},
                                       desktopEnvironment(), u"page-server.log"_s);
        const QByteArray port = nextLine(server).trimmed().mid(int(strlen("port ")));
        const QString base = u"http://127.0.0.1:"_s + QString::fromLatin1(port);
        makeChromiumProfiles(profiles, base + u"/profile/");
        m_chromiumFlags = chromiumFlags() +
                          (onX11() ? u" --ozone-platform=x11"_s : u" --ozone-platform=wayland"_s);
        return base;
    }

    QProcess* m_keys = nullptr;
    bool m_accessibility = false;

private:
    QString m_display;
    QString m_x11Display;
    QString m_chromiumFlags;
    int m_clickingWindows = 0;
};
