// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DetachedProcessLauncher.h"

#include "platform/ActivationVariables.h"
#include "text/ArgumentText.h"

#include <QCoreApplication>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <map>
#include <mutex>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/epoll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

/// Orlim's environment for a child: the activation variables Orlim was started
/// with belong to Orlim's own start and never pass on; `token` replaces them.
std::vector<std::string> childEnvironment(const QString& token)
{
    using ActivationVariables::all;
    const auto withheld = [](std::string_view name) {
        return std::find(std::begin(all), std::end(all), name) != std::end(all);
    };
    std::vector<std::string> variables;
    for (char** entry = environ; *entry; ++entry) {
        const std::string_view variable(*entry);
        if (!withheld(variable.substr(0, variable.find('='))))
            variables.emplace_back(variable);
    }
    if (!token.isEmpty()) {
        for (const char* name : all)
            variables.push_back(std::string(name) + '=' + token.toStdString());
    }
    return variables;
}

/// Runs `failed` on the main thread when a process that ended with `status`
/// `lived` failed to start.
void tell(int status, std::chrono::steady_clock::duration lived,
          const std::function<void()>& failed)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!failed || !app ||
        !DetachedProcessLauncher::failedToStart(
            status, std::chrono::duration_cast<std::chrono::milliseconds>(lived)))
        return;
    QMetaObject::invokeMethod(app, failed, Qt::QueuedConnection);
}

} // namespace

/// Waits on the started processes' pidfds on a thread of its own; reads the
/// clock as each ends, collects its status (no zombie is left) and tells.
class ExitWatcher
{
public:
    explicit ExitWatcher(DetachedProcessLauncher::Clock clock)
        : m_clock(std::move(clock)), m_epoll(::epoll_create1(EPOLL_CLOEXEC)),
          m_stop(::eventfd(0, EFD_CLOEXEC))
    {
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = m_stop;
        ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, m_stop, &event);
        m_thread = std::thread([this] { run(); });
    }
    ~ExitWatcher()
    {
        const uint64_t one = 1;
        [[maybe_unused]] const auto written = ::write(m_stop, &one, sizeof one);
        m_thread.join();
        for (const auto& [fd, watched] : m_watched)
            ::close(fd);
        ::close(m_stop);
        ::close(m_epoll);
    }

    /// Watches `pid` through `pidfd` (which it then owns), started at `started`.
    void watch(pid_t pid, int pidfd, std::chrono::steady_clock::time_point started,
               std::function<void()> failed)
    {
        std::lock_guard lock(m_mutex);
        m_watched[pidfd] = {pid, started, std::move(failed)};
        epoll_event event{};
        event.events = EPOLLIN;
        event.data.fd = pidfd;
        ::epoll_ctl(m_epoll, EPOLL_CTL_ADD, pidfd, &event);
    }

private:
    struct Watched
    {
        pid_t pid;
        std::chrono::steady_clock::time_point started;
        std::function<void()> failed;
    };

    void run()
    {
        epoll_event events[16];
        for (;;) {
            const int ready = ::epoll_wait(m_epoll, events, 16, -1);
            // The end is when the pidfd became readable: read the clock first.
            const auto ended = m_clock();
            for (int i = 0; i < ready; ++i) {
                const int fd = events[i].data.fd;
                if (fd == m_stop)
                    return;
                Watched watched;
                {
                    std::lock_guard lock(m_mutex);
                    watched = std::move(m_watched[fd]);
                    m_watched.erase(fd);
                }
                ::epoll_ctl(m_epoll, EPOLL_CTL_DEL, fd, nullptr);
                ::close(fd);
                int status = 0;
                if (::waitpid(watched.pid, &status, 0) == watched.pid)
                    tell(status, ended - watched.started, watched.failed);
            }
        }
    }

    DetachedProcessLauncher::Clock m_clock;
    int m_epoll;
    int m_stop;
    std::mutex m_mutex;
    std::map<int, Watched> m_watched; // by pidfd
    std::thread m_thread;
};

DetachedProcessLauncher::DetachedProcessLauncher(Clock clock) : m_clock(std::move(clock)) {}

DetachedProcessLauncher::~DetachedProcessLauncher() = default;

bool DetachedProcessLauncher::failedToStart(int status, std::chrono::milliseconds lived)
{
    if (lived.count() >= failedStartMs)
        return false;
    return WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) != 0);
}

bool DetachedProcessLauncher::startDetached(const QString& program, const QStringList& arguments,
                                            const QString& activationToken,
                                            std::function<void()> failed)
{
    // Run the program directly (no shell), looking a bare name up on PATH.
    const QString path = program.contains(u'/') ? program : QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return false;
    std::vector<QByteArray> storage{QFile::encodeName(path)};
    for (const QString& argument : arguments)
        storage.push_back(ArgumentText::toBytes(argument));
    std::vector<char*> argv;
    for (QByteArray& bytes : storage)
        argv.push_back(bytes.data());
    argv.push_back(nullptr);

    // posix_spawn does not copy Orlim's address space the way fork() does, so
    // Chrome starts sooner. A new session detaches it from Orlim; every signal
    // is unblocked and has its default action, as for a program the desktop
    // starts, whatever Orlim ignores or was started ignoring (naming them all
    // also spares the child a look at each one before it resets it).
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigfillset(&defaults);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes,
                             POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    std::vector<std::string> environment = childEnvironment(activationToken);
    std::vector<char*> envp;
    for (std::string& variable : environment)
        envp.push_back(variable.data());
    envp.push_back(nullptr);

    // Chrome gets standard input, output and error, and nothing else: not
    // Orlim's descriptors, nor any that whoever started Orlim left open.
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclosefrom_np(&actions, STDERR_FILENO + 1);

    pid_t pid = 0;
    const auto started = m_clock();
    const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return false;
    // The child is Orlim's until collected: its pidfd is good even once it ended.
    const int pidfd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (pidfd >= 0) {
        if (!m_watcher)
            m_watcher = std::make_unique<ExitWatcher>(m_clock);
        m_watcher->watch(pid, pidfd, started, std::move(failed));
        return true;
    }
    // Kernels before pidfds: look now and then; the end is known to a second.
    if (QCoreApplication* app = QCoreApplication::instance()) {
        auto* poll = new QTimer(app);
        QObject::connect(poll, &QTimer::timeout, poll,
                         [clock = m_clock, poll, pid, started, failed = std::move(failed)] {
                             int status = 0;
                             if (::waitpid(pid, &status, WNOHANG) == 0)
                                 return;
                             tell(status, clock() - started, failed);
                             poll->deleteLater();
                         });
        poll->start(1000);
    }
    return true;
}
