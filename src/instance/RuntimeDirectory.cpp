// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/RuntimeDirectory.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/un.h>
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
    // The base directory specification ignores relative values; a runtime
    // directory that is missing (as in some cron jobs or su sessions) falls back
    // to /tmp like an unset one.
    // A folder whose socket path the kernel cannot take falls back too.
    const char* base = std::getenv("XDG_RUNTIME_DIR");
    if (base && base[0] == '/') {
        const RuntimeDirectory candidate{std::string(base) + "/orlim"};
        if (candidate.socketPath().size() < sizeof(sockaddr_un::sun_path) &&
            makePrivate(candidate.path))
            return candidate;
    }
    const std::string fallback = "/tmp/orlim-" + std::to_string(::getuid());
    if (makePrivate(fallback))
        return RuntimeDirectory{fallback};
    return std::nullopt;
}
