// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstring>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

/// A socket connected to (`listen` false) or listening on the socket at
/// `path`; -1 when that failed.
inline int unixSocket(const std::string& path, bool listen)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const auto* at = reinterpret_cast<sockaddr*>(&address);
    const bool ok = listen ? ::bind(fd, at, sizeof(address)) == 0 && ::listen(fd, 4) == 0
                           : ::connect(fd, at, sizeof(address)) == 0;
    return ok ? fd : (::close(fd), -1);
}
