// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/LinkClient.h"

#include "instance/LinkMessage.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace LinkClient {
namespace {

struct Socket
{
    int fd = -1;
    ~Socket()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

bool writeAll(int fd, const char* data, size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(fd, data, size, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

} // namespace

Result send(const std::string& socketPath, const std::string& message, int timeoutMs)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.size() >= sizeof(address.sun_path))
        return Result::NoListener;
    std::memcpy(address.sun_path, socketPath.data(), socketPath.size());

    Socket socket{::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)};
    if (socket.fd < 0)
        return Result::NoListener;
    if (::connect(socket.fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) != 0)
        return Result::NoListener;
    if (!writeAll(socket.fd, message.data(), message.size()))
        return Result::Failed;

    pollfd ready{socket.fd, POLLIN, 0};
    int polled;
    do {
        polled = ::poll(&ready, 1, timeoutMs);
    } while (polled < 0 && errno == EINTR);
    if (polled <= 0)
        return Result::Unconfirmed;
    char reply = 0;
    if (::recv(socket.fd, &reply, 1, 0) != 1 || reply != LinkMessage::ack)
        return Result::Refused;
    return Result::Delivered;
}

} // namespace LinkClient
