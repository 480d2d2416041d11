// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

/// The sending side of the link socket, used by a later `orlim LINK...`.
namespace LinkClient {

enum class Result {
    Delivered,  // the running Orlim routed the links and said so
    NoListener, // nobody listens on the socket (yet, or any more)
    Failed,     // connected, but the message could not be sent
    /// The whole message was sent and the connection closed without an
    /// answer: the running Orlim refused it, or ended after taking it.
    Refused,
    /// The whole message was sent but not answered in time: the running Orlim
    /// may still route it, so it must not be sent again.
    Unconfirmed,
};

/// Sends one encoded message to the socket at `socketPath` and waits up to
/// `timeoutMs` for the acknowledgement.
Result send(const std::string& socketPath, const std::string& message, int timeoutMs);

} // namespace LinkClient
