#include "app/Forwarding.h"

#include "app/LinkClient.h"
#include "app/LinkMessage.h"
#include "app/RuntimeDirectory.h"

#include <climits>
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
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && !argument.empty() && argument[0] == '-') {
            return std::nullopt;
        } else {
            links.push_back(argument);
        }
    }
    return links;
}

LinkClient::Result handOver(const std::vector<std::string>& links)
{
    const auto runtime = RuntimeDirectory::forCurrentUser();
    return runtime ? handOver(*runtime, links) : LinkClient::Result::NoListener;
}

LinkClient::Result handOver(const RuntimeDirectory& runtime, const std::vector<std::string>& links)
{
    return LinkClient::send(runtime.socketPath(), LinkMessage::encode(links),
                            acknowledgementTimeoutMs);
}

std::string applicationPath()
{
    const std::string directory = ownDirectory();
    for (const char* relative : {"/orlim-app", "/../libexec/orlim/orlim-app"}) {
        const std::string candidate = directory + relative;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return directory + "/orlim-app";
}

} // namespace Forwarding
