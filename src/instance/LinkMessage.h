// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <string>
#include <vector>

/// The message a later `orlim LINK...` sends to the running Orlim: a magic
/// line, then one record per link ('U', a 32-bit big-endian length, the bytes),
/// then an end record ('E' with length 0). No links means "reopen". The
/// running Orlim answers `ack` once it has routed them.
///
/// Version 2 adds one record before the links: 'T', the activation token of
/// the program the link was clicked in. It is sent only when there is a token,
/// so an Orlim of version 1 still understands every message without one; one
/// that refuses a version 2 message gets the links again as version 1.
///
/// This part of Orlim uses no Qt, so the small forwarding client can use it
/// without loading any GUI library.
namespace LinkMessage {

inline constexpr char magic[] = "ORLIM/1\n";
inline constexpr char magicWithToken[] = "ORLIM/2\n";
inline constexpr char ack = 'K';
/// A larger message is dropped unread.
inline constexpr std::size_t maxSize = std::size_t(1) << 20;

/// Version 1 without a token, else version 2.
std::string encode(const std::vector<std::string>& links, const std::string& token = {});

/// Reads one message from bytes that arrive in pieces.
class Reader
{
public:
    enum class State { Incomplete, Complete, Malformed };

    /// Takes the next bytes; returns what is known of the message so far.
    State feed(const char* data, std::size_t size);
    State feed(const std::string& bytes) { return feed(bytes.data(), bytes.size()); }
    State state() const { return m_state; }
    /// The links, in order, once the message is complete.
    const std::vector<std::string>& links() const { return m_links; }
    /// The activation token, empty when none came.
    const std::string& token() const { return m_token; }

private:
    State parse();

    std::string m_buffer;
    std::size_t m_total = 0;
    bool m_magicSeen = false;
    bool m_tokenAllowed = false;
    std::vector<std::string> m_links;
    std::string m_token;
    State m_state = State::Incomplete;
};

} // namespace LinkMessage
