#include "app/RuntimeDirectory.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {

/// Whether `path` is a real folder of ours that no one else can enter.
bool makePrivate(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat info
    {
    };
    if (::lstat(path.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != ::getuid())
        return false;
    if ((info.st_mode & 077) != 0 && ::chmod(path.c_str(), 0700) != 0)
        return false;
    return true;
}

} // namespace

std::optional<RuntimeDirectory> RuntimeDirectory::forCurrentUser()
{
    const char* base = std::getenv("XDG_RUNTIME_DIR");
    // The base directory specification ignores relative values.
    const std::string path = base && base[0] == '/' ? std::string(base) + "/orlim"
                                                    : "/tmp/orlim-" + std::to_string(::getuid());
    if (!makePrivate(path))
        return std::nullopt;
    return RuntimeDirectory{path};
}
