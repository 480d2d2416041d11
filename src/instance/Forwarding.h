// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "instance/LinkClient.h"
#include "instance/RuntimeDirectory.h"

#include <optional>
#include <string>
#include <vector>

/// What the small `orlim` command does before anything heavy is loaded: hand
/// the links of its command line to the running Orlim, or else start the full
/// application (`orlim-app`) with the same arguments. It uses no Qt.
namespace Forwarding {

/// The links of a command line that asks only to open links (or, with none, to
/// show the settings); nothing when it asks for anything else, such as an
/// option, which the full application answers.
std::optional<std::vector<std::string>> linksOnly(int argc, const char* const* argv);

/// Hands `links` to the running Orlim. Delivered once it has routed them;
/// Unconfirmed when it took them without answering in time, and a link must
/// be routed at most once, so they are not to be sent again.
LinkClient::Result handOver(const std::vector<std::string>& links);
/// The same, through the socket in `runtime`, with `activationToken` (may be
/// empty).
LinkClient::Result handOver(const RuntimeDirectory& runtime, const std::vector<std::string>& links,
                            const std::string& activationToken);

/// The activation token this process was started with: XDG_ACTIVATION_TOKEN,
/// else DESKTOP_STARTUP_ID; empty when there is neither.
std::string activationToken();

/// How a process that handed links over ends: 0 once they were delivered, 1
/// (saying why on stderr) when they were taken unconfirmed and so must not be
/// sent again; nothing when no running Orlim has them and the caller carries on.
std::optional<int> exitCodeAfter(LinkClient::Result handOver);

/// The full application beside this executable, in the build tree or installed.
std::string applicationPath();

} // namespace Forwarding
