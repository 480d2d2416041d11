// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/LinkMessage.h"

#include <algorithm>
#include <cstdint>

namespace LinkMessage {
namespace {

constexpr std::size_t magicSize = sizeof(magic) - 1;
static_assert(sizeof(magicWithToken) == sizeof(magic));
constexpr std::size_t headerSize = 5; // kind + length

void appendRecord(std::string& out, char kind, const std::string& payload)
{
    const auto length = static_cast<std::uint32_t>(payload.size());
    out += kind;
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((length >> shift) & 0xff);
    out += payload;
}

std::uint32_t readLength(const char* bytes)
{
    std::uint32_t length = 0;
    for (int i = 0; i < 4; ++i)
        length = (length << 8) | static_cast<unsigned char>(bytes[i]);
    return length;
}

} // namespace

std::string encode(const std::vector<std::string>& links, const std::string& token)
{
    std::string out(token.empty() ? magic : magicWithToken, magicSize);
    if (!token.empty())
        appendRecord(out, 'T', token);
    for (const std::string& link : links)
        appendRecord(out, 'U', link);
    appendRecord(out, 'E', {});
    return out;
}

Reader::State Reader::feed(const char* data, std::size_t size)
{
    if (m_state != State::Incomplete)
        return m_state;
    m_total += size;
    if (m_total > maxSize)
        return m_state = State::Malformed;
    m_buffer.append(data, size);
    return m_state = parse();
}

Reader::State Reader::parse()
{
    if (!m_magicSeen) {
        const std::size_t n = std::min(m_buffer.size(), magicSize);
        m_tokenAllowed = m_buffer.compare(0, n, magicWithToken, n) == 0;
        if (!m_tokenAllowed && m_buffer.compare(0, n, magic, n) != 0)
            return State::Malformed;
        if (m_buffer.size() < magicSize)
            return State::Incomplete;
        m_buffer.erase(0, magicSize);
        m_magicSeen = true;
    }
    std::size_t at = 0;
    State state = State::Incomplete;
    while (m_buffer.size() - at >= headerSize) {
        const char kind = m_buffer[at];
        const std::uint32_t length = readLength(m_buffer.data() + at + 1);
        if (kind == 'E') {
            const bool last = length == 0 && m_buffer.size() - at == headerSize && !m_tokenAllowed;
            state = last ? State::Complete : State::Malformed;
            break;
        }
        // Version 2 begins with its token, which is never empty; it comes once.
        const bool token = kind == 'T' && m_tokenAllowed;
        const bool misplaced = m_tokenAllowed && (!token || length == 0);
        if ((kind != 'U' && !token) || misplaced || length > maxSize) {
            state = State::Malformed;
            break;
        }
        if (m_buffer.size() - at - headerSize < length)
            break;
        if (token)
            m_token.assign(m_buffer, at + headerSize, length);
        else
            m_links.emplace_back(m_buffer, at + headerSize, length);
        m_tokenAllowed = false;
        at += headerSize + length;
    }
    m_buffer.erase(0, at);
    return state;
}

} // namespace LinkMessage
