// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalSocket>
#include <QRegularExpression>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <unistd.h>

void ProcessFixture::SetUp()
{
    ASSERT_TRUE(m_dir.isValid());
    for (const char* folder :
         {"home", "config", "data/applications", "data-dirs/applications", "cache", "runtime"})
        QDir().mkpath(path(QString::fromLatin1(folder)));
    QFile::setPermissions(path(u"runtime"_s), QFile::Permissions(0x7700));
    m_browserLocks = {path(u"config/chromium/SingletonLock"_s)};
    installEntry(u"google-chrome.desktop"_s, FAKE_CHROME_EXECUTABLE " %U");
}

void ProcessFixture::TearDown()
{
    // A real browser started through Orlim is no child of ours: its lock names
    // it (Chromium's "host-pid", Firefox's "host:+pid").
    for (const QString& lock : m_browserLocks) {
        const QString target = QFile::symLinkTarget(lock);
        if (const pid_t browser = target.section(QRegularExpression(u"[-+]"_s), -1).toInt();
            browser > 0) {
            ::kill(browser, SIGTERM);
            waitFor([&] { return ::kill(browser, 0) != 0; }, 5000);
        }
    }
    stopOrlims();
    for (auto process = m_processes.rbegin(); process != m_processes.rend(); ++process) {
        (*process)->terminate();
        if (!(*process)->waitForFinished(5000))
            (*process)->kill();
    }
}

QProcessEnvironment ProcessFixture::desktopEnvironment() const
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_DATA_HOME",
                             "XDG_CONFIG_HOME", "DESKTOP_STARTUP_ID", "XDG_ACTIVATION_TOKEN"})
        env.remove(QString::fromLatin1(name));
    env.insert(u"HOME"_s, path(u"home"_s));
    env.insert(u"XDG_RUNTIME_DIR"_s, path(u"runtime"_s));
    if (!m_bus.isEmpty())
        env.insert(u"DBUS_SESSION_BUS_ADDRESS"_s, m_bus);
    return env;
}

QProcessEnvironment ProcessFixture::environment() const
{
    QProcessEnvironment env = desktopEnvironment();
    env.insert(u"XDG_CONFIG_HOME"_s, path(u"config"_s));
    env.insert(u"XDG_DATA_HOME"_s, path(u"data"_s));
    env.insert(u"XDG_DATA_DIRS"_s, path(u"data-dirs"_s));
    env.insert(u"XDG_CACHE_HOME"_s, path(u"cache"_s));
    env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"ORLIM_FAKE_CHROME_LOG"_s, path(u"chrome.log"_s));
    return env;
}

int ProcessFixture::run(const QStringList& arguments, QString* out, QString* err)
{
    QProcess* process = start(arguments);
    if (!process->waitForFinished(10000) || process->exitStatus() != QProcess::NormalExit)
        return -1;
    if (out)
        *out = QString::fromUtf8(process->readAllStandardOutput());
    if (err)
        *err = QString::fromUtf8(process->readAllStandardError());
    return process->exitCode();
}

QList<QStringList> ProcessFixture::waitForChrome(int count, int timeoutMs) const
{
    QList<QStringList> starts;
    waitFor(
        [&] {
            starts.clear();
            for (const QByteArray& line : readLog(u"chrome.log"_s).split('\n')) {
                // The start time and the process id, then each argument, each
                // field followed by a separator.
                const QStringList fields = QString::fromUtf8(line).split(QChar(0x1f));
                if (fields.size() > 2)
                    starts.append(fields.mid(2, fields.size() - 3));
            }
            return starts.size() >= count;
        },
        timeoutMs);
    std::sort(starts.begin(), starts.end());
    return starts;
}

QList<pid_t> ProcessFixture::orlims() const
{
    const QByteArray runtime = "XDG_RUNTIME_DIR=" + QFile::encodeName(path(u"runtime"_s));
    QList<pid_t> found;
    for (const QString& entry : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        const pid_t pid = entry.toInt();
        QFile environ(u"/proc/"_s + entry + u"/environ"_s);
        // A process that ended has no program left to name; one whose program
        // was rebuilt since names it "… (deleted)".
        if (pid > 0 &&
            QFileInfo(u"/proc/"_s + entry + u"/exe"_s).symLinkTarget().contains(u"/orlim-app"_s) &&
            environ.open(QIODevice::ReadOnly) && environ.readAll().split('\0').contains(runtime))
            found.append(pid);
    }
    return found;
}

bool ProcessFixture::stopOrlims(int signal) const
{
    const QList<pid_t> running = orlims();
    for (const pid_t pid : running)
        ::kill(pid, signal);
    // Ended once every thread is a zombie or reaped: its socket is closed
    // only by then, later than its program stops being named or its first
    // thread ends.
    const auto ended = [](pid_t pid) {
        const QString tasks = u"/proc/%1/task/"_s.arg(pid);
        const QStringList threads = QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
        return std::all_of(threads.begin(), threads.end(), [&](const QString& thread) {
            QFile stat(tasks + thread + u"/stat"_s);
            if (!stat.open(QIODevice::ReadOnly))
                return true;
            const QByteArray fields = stat.readAll();
            const QByteArray state = fields.mid(fields.lastIndexOf(')') + 2, 1);
            return state == "Z" || state == "X";
        });
    };
    return waitFor([&] { return std::all_of(running.begin(), running.end(), ended); }, 5000);
}

bool ProcessFixture::waitUntilListening() const
{
    return waitFor([this] {
        QLocalSocket probe;
        probe.connectToServer(socketPath());
        return probe.waitForConnected(100);
    });
}

QString ProcessFixture::putFile(const QString& relative, const QByteArray& bytes,
                                bool executable) const
{
    QDir().mkpath(path(relative.section(u'/', 0, -2)));
    QFile file(path(relative));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate)) << relative.toStdString();
    file.write(bytes);
    if (executable)
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return file.fileName();
}

void ProcessFixture::installEntry(const QString& desktopId, const QByteArray& exec) const
{
    QFile::remove(path(u"data/applications/" + desktopId));
    if (!exec.isEmpty())
        putFile(u"data/applications/" + desktopId,
                "[Desktop Entry]\nType=Application\nName=" +
                    desktopId.chopped(int(strlen(".desktop"))).toUtf8() + "\nExec=" + exec + '\n');
}

bool ProcessFixture::installSystemEntry(const QString& desktopId, const QString& program) const
{
    return QFile::exists(program) && QFile::copy(u"/usr/share/applications/"_s + desktopId,
                                                 path(u"data-dirs/applications/"_s + desktopId));
}

QString ProcessFixture::chromiumFlags() const
{
    // Root (CI) has no sandbox; nothing asks a question on the first start.
    QString flags = u"--no-first-run --no-default-browser-check --password-store=basic "
                    u"--disable-gpu"_s;
    if (::geteuid() == 0)
        flags += u" --no-sandbox"_s;
    return flags;
}

void ProcessFixture::makeChromiumProfiles(int count, const QString& visit)
{
    // Chromium itself makes them, headless, in its data directory of the
    // test's XDG_CONFIG_HOME ("Default", "Profile 1", ...).
    for (int i = 0; i < count; ++i) {
        const QString directory = i == 0 ? u"Default"_s : u"Profile "_s + QString::number(i);
        ASSERT_TRUE(start(chromiumFlags().split(u' ') +
                              QStringList{u"--headless=new"_s,
                                          u"--user-data-dir="_s + path(u"config/chromium"_s),
                                          u"--profile-directory="_s + directory, u"--dump-dom"_s,
                                          visit.isEmpty() ? u"about:blank"_s : visit + directory},
                          u"/usr/bin/chromium"_s)
                        ->waitForFinished(60000))
            << "Chromium did not make profile " << i;
    }
}

void ProcessFixture::startSessionBus(const QString& display)
{
    QProcessEnvironment env = desktopEnvironment();
    if (!display.isEmpty())
        env.insert(u"DISPLAY"_s, display);
    // The services the bus starts live in the test's folders too: the
    // accessibility bus would otherwise put its socket where every test's
    // (and the user's) goes, ~/.cache/at-spi/bus when XDG_RUNTIME_DIR is unset.
    QProcess* bus = startHelper(
        {u"dbus-daemon"_s, u"--session"_s, u"--nofork"_s, u"--nosyslog"_s, u"--print-address=1"_s},
        env);
    m_bus = QString::fromUtf8(nextLine(bus, 10000).trimmed());
    ASSERT_FALSE(m_bus.isEmpty()) << "dbus-daemon did not start";
}

QProcess* ProcessFixture::startHelper(const QStringList& command, const QProcessEnvironment& env,
                                      const QString& logName, bool readOutput)
{
    QProcess& helper = *m_processes.emplace_back(std::make_unique<QProcess>());
    helper.setProcessEnvironment(env);
    if (!logName.isEmpty()) {
        if (!readOutput)
            helper.setStandardOutputFile(path(logName), QIODevice::Append);
        helper.setStandardErrorFile(path(logName), QIODevice::Append);
    }
    helper.start(command.first(), command.mid(1));
    helper.waitForStarted(5000);
    return &helper;
}

QByteArray ProcessFixture::nextLine(QProcess* process, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!process->canReadLine() && !deadline.hasExpired()) {
        if (!process->waitForReadyRead(100) && process->state() == QProcess::NotRunning)
            break; // ended without the line
    }
    return process->readLine();
}

QByteArray ProcessFixture::readLog(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
