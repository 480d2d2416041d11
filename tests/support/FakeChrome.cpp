// Stands in for Chrome in tests: appends one line per start to the file named
// by ORLIM_FAKE_CHROME_LOG: its process id, then the arguments, each followed by
// a unit separator. Process ids rise in the order Orlim started the processes.
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv)
{
    const char* log = std::getenv("ORLIM_FAKE_CHROME_LOG");
    if (!log)
        return 1;
    std::string line = std::to_string(getpid()) + '\x1f';
    for (int i = 1; i < argc; ++i) {
        line += argv[i];
        line += '\x1f';
    }
    line += '\n';
    const int fd = ::open(log, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    if (fd < 0)
        return 1;
    const bool written = ::write(fd, line.data(), line.size()) == ssize_t(line.size());
    ::close(fd);
    return written ? 0 : 1;
}
