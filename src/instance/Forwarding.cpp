// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/Forwarding.h"

#include "instance/LinkClient.h"
#include "instance/LinkMessage.h"
#include "instance/RuntimeDirectory.h"
#include "platform/ActivationVariables.h"
#include "text/ArgumentWalk.h"

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace Forwarding {
namespace {

/// The running Orlim routes before it answers; this is generous.
constexpr int acknowledgementTimeoutMs = 10000;

std::string ownDirectory()
{
    char path[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (length <= 0)
        return ".";
    const std::string self(path, std::size_t(length));
    return self.substr(0, self.find_last_of('/'));
}

} // namespace

std::optional<std::vector<std::string>> linksOnly(int argc, const char* const* argv)
{
    std::vector<std::string> links;
    ArgumentWalk walk;
    for (int i = 1; i < argc; ++i) {
        switch (walk.next(argv[i])) {
        case ArgumentWalk::Kind::Link:
            links.emplace_back(argv[i]);
            break;
        case ArgumentWalk::Kind::Option:
            return std::nullopt;
        case ArgumentWalk::Kind::EndOfOptions:
            break;
        }
    }
    return links;
}

LinkClient::Result handOver(const std::vector<std::string>& links)
{
    const auto runtime = RuntimeDirectory::forCurrentUser();
    return runtime ? handOver(*runtime, links, activationToken()) : LinkClient::Result::NoListener;
}

LinkClient::Result handOver(const RuntimeDirectory& runtime, const std::vector<std::string>& links,
                            const std::string& activationToken)
{
    const auto send = [&](const std::string& token) {
        return LinkClient::send(runtime.socketPath(), LinkMessage::encode(links, token),
                                acknowledgementTimeoutMs);
    };
    if (!activationToken.empty()) {
        const LinkClient::Result result = send(activationToken);
        // An Orlim of the first version refuses the token's message at once,
        // unrouted (it may close before the whole message is even sent): it
        // gets the links without it.
        if (result != LinkClient::Result::Refused && result != LinkClient::Result::Failed)
            return result;
    }
    const LinkClient::Result result = send({});
    // Refused after the whole message: it may have been routed before the
    // connection closed.
    return result == LinkClient::Result::Refused ? LinkClient::Result::Unconfirmed : result;
}

std::optional<int> exitCodeAfter(LinkClient::Result handOver)
{
    switch (handOver) {
    case LinkClient::Result::Delivered:
        return 0;
    case LinkClient::Result::Unconfirmed:
        std::fputs("orlim: the running Orlim took the links but did not confirm them in time; "
                   "they are not sent again\n",
                   stderr);
        return 1;
    case LinkClient::Result::NoListener:
    case LinkClient::Result::Failed:
    case LinkClient::Result::Refused:
        break;
    }
    return std::nullopt;
}

std::string activationToken()
{
    for (const char* name : ActivationVariables::all) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return {};
}

std::string applicationPath()
{
    const std::string directory = ownDirectory();
    // Beside `orlim` in a build folder; where the installation puts it otherwise.
    for (const char* relative : {"/orlim-app", "/" ORLIM_APP_FROM_BINDIR}) {
        const std::string candidate = directory + relative;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return directory + "/orlim-app";
}

} // namespace Forwarding
