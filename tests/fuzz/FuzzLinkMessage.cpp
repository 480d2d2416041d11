// SPDX-License-Identifier: GPL-3.0-or-later
// Bytes from any local process on the link socket, arriving in pieces. A
// complete message must be exactly what its links and token encode to.
#include "instance/LinkMessage.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    // The first byte picks the piece size, as the network would.
    const std::size_t piece = std::size_t(data[0] % 31) + 1;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    LinkMessage::Reader reader;
    LinkMessage::Reader::State state = LinkMessage::Reader::State::Incomplete;
    std::size_t fed = 0;
    while (fed < bytes.size() && state == LinkMessage::Reader::State::Incomplete) {
        const std::size_t n = std::min(piece, bytes.size() - fed);
        state = reader.feed(bytes.data() + fed, n);
        fed += n;
    }
    if (state == LinkMessage::Reader::State::Complete &&
        LinkMessage::encode(reader.links(), reader.token()) != bytes.substr(0, fed))
        __builtin_trap();
    return 0;
}
