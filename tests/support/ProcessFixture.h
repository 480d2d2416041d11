// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "QtPrinting.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <sys/types.h>
#include <vector>

/// Runs the real `orlim` with HOME and every XDG folder in a temporary
/// directory, and a stand-in Chrome, found through a google-chrome.desktop in
/// XDG_DATA_HOME, that records every start.
class ProcessFixture : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString path(const QString& relative) const { return m_dir.path() + u'/' + relative; }
    virtual QProcessEnvironment environment() const;
    /// The environment of the desktop's own programs (bus, display server,
    /// compositor): the system's data and plugins, the test's home, runtime
    /// folder and session bus.
    QProcessEnvironment desktopEnvironment() const;

    /// Starts `program` (`orlim` unless given) with `arguments`.
    QProcess* start(const QStringList& arguments,
                    const QString& program = QStringLiteral(ORLIM_EXECUTABLE))
    {
        return startHelper(QStringList{program} + arguments, environment());
    }
    /// Runs `orlim` to its end; returns the exit code (-1 when it did not end).
    int run(const QStringList& arguments, QString* out = nullptr, QString* err = nullptr);
    /// Waits until the stand-in Chrome was started `count` times; returns the
    /// argument lists of every start so far, sorted: like a browser's
    /// processes, they log themselves in whatever order the machine runs them.
    QList<QStringList> waitForChrome(int count, int timeoutMs = 10000) const;
    /// Polls `condition` until it holds; false when it still does not after
    /// `timeoutMs`. For events in other processes, never for timing.
    template <typename Condition> static bool waitFor(Condition condition, int timeoutMs = 10000)
    {
        const QDeadlineTimer deadline(timeoutMs);
        while (!condition()) {
            if (deadline.hasExpired())
                return false;
            QThread::msleep(20);
        }
        return true;
    }
    /// The running Orlims of this test, each in a session of its own: the
    /// `orlim-app` processes started with its runtime folder.
    QList<pid_t> orlims() const;
    /// Ends them with `signal` and waits until they have gone; false when one stays.
    bool stopOrlims(int signal = SIGTERM) const;
    /// Waits until a running Orlim listens on its socket.
    bool waitUntilListening() const;
    QString socketPath() const { return path(u"runtime/orlim/links.socket"_s); }

    /// Writes `bytes` to the file `relative` in the temporary folder, making its
    /// folders, executable by its owner where asked; returns its path.
    QString putFile(const QString& relative, const QByteArray& bytes,
                    bool executable = false) const;
    /// Writes Chrome's "Local State".
    void writeLocalState(const QByteArray& json) const
    {
        putFile(u"config/google-chrome/Local State"_s, json);
    }
    /// Installs a desktop entry `desktopId` in XDG_DATA_HOME whose Exec is `exec`;
    /// an empty `exec` removes it.
    void installEntry(const QString& desktopId, const QByteArray& exec) const;
    /// Puts Debian's own `desktopId` where the test's desktop finds it; false
    /// when it or its `program` is not installed.
    bool installSystemEntry(const QString& desktopId, const QString& program) const;
    /// What Chromium needs here, for CHROMIUM_FLAGS or its command line.
    QString chromiumFlags() const;
    /// Has Chromium make `count` profiles in the test's $XDG_CONFIG_HOME/chromium;
    /// each visits `visit` followed by its directory name, where given.
    void makeChromiumProfiles(int count, const QString& visit = {});
    /// Starts a private D-Bus session bus, which Orlim and the desktop's
    /// programs then use; the services it starts see `display` as DISPLAY.
    void startSessionBus(const QString& display = {});
    /// Starts a helper (a display server, a screen reader...) with `env`; its
    /// errors, and unless `readOutput` its output, go to the file `logName`.
    /// The fixture stops every process it started at the end, the newest first.
    QProcess* startHelper(const QStringList& command, const QProcessEnvironment& env,
                          const QString& logName = {}, bool readOutput = true);
    /// The next line `process` prints, or nothing after `timeoutMs`.
    static QByteArray nextLine(QProcess* process, int timeoutMs = 30000);
    /// The file `name` in the temporary folder.
    QByteArray readLog(const QString& name) const;

    /// The locks of the browsers to stop at the end, which name their process.
    QStringList m_browserLocks;

private:
    QTemporaryDir m_dir;
    QString m_bus;
    std::vector<std::unique_ptr<QProcess>> m_processes;
};
