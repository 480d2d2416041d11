// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/DetachedProcessLauncher.h"

#include "platform/ActivationVariables.h"
#include "platform/ArgumentText.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include <algorithm>
#include <csignal>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

/// Collects the exit status of `pid` once it ends, so no zombie is left behind,
/// and tells `failed` when the status says it failed to start. Orlim itself
/// never waits for it.
void reapWhenDone(pid_t pid, std::function<void()> failed)
{
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return;
    const auto reaped = [pid, failed = std::move(failed),
                         started = std::chrono::steady_clock::now()] {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == 0)
            return false;
        const auto lived = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - started);
        if (failed && DetachedProcessLauncher::failedToStart(status, lived))
            failed();
        return true;
    };
    const int fd = int(::syscall(SYS_pidfd_open, pid, 0));
    if (fd >= 0) {
        auto* exited = new QSocketNotifier(fd, QSocketNotifier::Read, app);
        QObject::connect(exited, &QSocketNotifier::activated, exited, [exited, fd, reaped] {
            reaped();
            exited->setEnabled(false);
            exited->deleteLater();
            ::close(fd);
        });
        return;
    }
    // Kernels before pidfds: look now and then.
    auto* poll = new QTimer(app);
    QObject::connect(poll, &QTimer::timeout, poll, [poll, reaped] {
        if (reaped())
            poll->deleteLater();
    });
    poll->start(1000);
}

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

} // namespace

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
    const int error = ::posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (error != 0)
        return false;
    reapWhenDone(pid, std::move(failed));
    return true;
}
