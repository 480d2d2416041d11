#pragma once

#include <cstddef>
#include <string>
#include <vector>

/// The message a later `orlim LINK...` sends to the running Orlim: a magic
/// line, then one record per link ('U', a 32-bit big-endian length, the UTF-8
/// bytes), then an end record ('E' with length 0). No links means "reopen". The
/// running Orlim answers `ack` once it has routed them.
///
/// This part of Orlim uses no Qt, so the small forwarding client can use it
/// without loading any GUI library.
namespace LinkMessage {

inline constexpr char magic[] = "ORLIM/1\n";
inline constexpr char ack = 'K';
/// A larger message is dropped unread.
inline constexpr std::size_t maxSize = std::size_t(1) << 20;

std::string encode(const std::vector<std::string>& links);

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

private:
    State parse();

    std::string m_buffer;
    std::size_t m_total = 0;
    bool m_magicSeen = false;
    std::vector<std::string> m_links;
    State m_state = State::Incomplete;
};

} // namespace LinkMessage
