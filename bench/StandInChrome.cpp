// A stand-in for Chrome in benchmarks: appends the moment it started
// (CLOCK_MONOTONIC, nanoseconds) to the file named by ORLIM_BENCH_CHROME_LOG.
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <string>
#include <unistd.h>

int main()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const char* log = std::getenv("ORLIM_BENCH_CHROME_LOG");
    if (!log)
        return 1;
    const std::string line =
        std::to_string(static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec) + "\n";
    const int fd = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return 1;
    const bool written = ::write(fd, line.data(), line.size()) == ssize_t(line.size());
    ::close(fd);
    return written ? 0 : 1;
}
