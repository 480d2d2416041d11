// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/DetachedStart.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

namespace DetachedStart {
namespace {

/// Names the application's end of the socket pair.
constexpr const char* variable = "ORLIM_STARTER_FD";
constexpr char taken = 'K';

bool isPipe(int fd)
{
    struct stat status;
    return ::fstat(fd, &status) == 0 && S_ISFIFO(status.st_mode);
}

bool isSocket(int fd)
{
    struct stat status;
    return ::fstat(fd, &status) == 0 && S_ISSOCK(status.st_mode);
}

} // namespace

int run(const std::string& application, char** argv)
{
    // A socket, not a pipe: a starter gone by then costs the running Orlim no
    // SIGPIPE.
    int ready[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ready) != 0) {
        std::fprintf(stderr, "orlim: cannot start %s: %s\n", application.c_str(),
                     std::strerror(errno));
        return 1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        // A session of its own: the terminal or the desktop's launcher that
        // started us may end without taking the running Orlim with it.
        ::setsid();
        const int writing = ::fcntl(ready[1], F_DUPFD, 3); // kept across exec
        const std::string number = std::to_string(writing);
        if (writing < 0 || ::setenv(variable, number.c_str(), 1) != 0)
            ::_exit(1);
        ::execv(application.c_str(), argv);
        std::fprintf(stderr, "orlim: cannot start %s: %s\n", application.c_str(),
                     std::strerror(errno));
        ::_exit(1);
    }
    ::close(ready[1]);
    if (child < 0) {
        std::fprintf(stderr, "orlim: cannot start %s: %s\n", application.c_str(),
                     std::strerror(errno));
        ::close(ready[0]);
        return 1;
    }
    char answer = 0;
    ssize_t got;
    do
        got = ::read(ready[0], &answer, 1);
    while (got < 0 && errno == EINTR);
    ::close(ready[0]);
    if (got == 1 && answer == taken)
        return 0;
    // It ended, or is ending, without taking the links: its exit code says how.
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFEXITED(status))
        return WEXITSTATUS(status);
    std::fputs("orlim: Orlim ended before it took the links\n", stderr);
    return 1;
}

Starter Starter::fromEnvironment()
{
    const char* value = std::getenv(variable);
    int fd = -1;
    if (value) {
        const char* end = value + std::strlen(value);
        if (std::from_chars(value, end, fd).ptr != end)
            fd = -1;
        ::unsetenv(variable);
    }
    // Only a socket past the standard streams is ours to write to and close.
    if (fd <= 2 || !isSocket(fd))
        return {};
    ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    return Starter(fd);
}

Starter::Starter(Starter&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

Starter::~Starter()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void Starter::linksTaken()
{
    if (m_fd < 0)
        return;
    // Terminals, files and the journal's sockets hold no one up, and keep
    // what Orlim says later.
    const int nowhere = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    for (int stream = 0; stream <= 2; ++stream) {
        if (nowhere >= 0 && isPipe(stream))
            ::dup2(nowhere, stream);
    }
    if (nowhere >= 0)
        ::close(nowhere);
    ssize_t sent;
    do
        sent = ::send(m_fd, &taken, 1, MSG_NOSIGNAL);
    while (sent < 0 && errno == EINTR);
    ::close(std::exchange(m_fd, -1));
}

} // namespace DetachedStart
