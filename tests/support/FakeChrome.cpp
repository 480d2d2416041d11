// SPDX-License-Identifier: GPL-3.0-or-later
// Stands in for Chrome in tests and benchmarks: appends one line per start to
// the file named by ORLIM_FAKE_CHROME_LOG: the moment it started
// (CLOCK_MONOTONIC, nanoseconds), its process id, then its arguments, each
// field followed by a unit separator, and then "fd N" for every descriptor it
// inherited beyond 0-2 (Orlim's lock or sockets must never leak into Chrome).
// Process ids rise in the order Orlim started the processes.
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::string line = std::to_string(now.tv_sec * 1000000000LL + now.tv_nsec) + '\x1f' +
                       std::to_string(getpid()) + '\x1f';
    for (int i = 1; i < argc; ++i)
        line += std::string(argv[i]) + '\x1f';
    for (int fd = 3; fd < 1024; ++fd)
        if (::fcntl(fd, F_GETFD) != -1)
            line += "fd " + std::to_string(fd) + '\x1f';
    line += '\n';
    const char* log = std::getenv("ORLIM_FAKE_CHROME_LOG");
    const int fd = log ? ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600) : -1;
    const bool written = fd >= 0 && ::write(fd, line.data(), line.size()) == ssize_t(line.size());
    ::close(fd);
    return written ? 0 : 1;
}
