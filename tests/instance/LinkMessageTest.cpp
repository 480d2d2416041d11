// SPDX-License-Identifier: GPL-3.0-or-later
#include "instance/LinkMessage.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

using State = LinkMessage::Reader::State;
using namespace std::string_literals;

// The first version's bytes exactly, read in pieces cut anywhere; anything
// else than a whole message of the format, or more than the size limit, is
// refused.
TEST(LinkMessage, FirstVersionBytesAndRefusals)
{
    EXPECT_EQ(LinkMessage::encode({"a"}), "ORLIM/1\nU\0\0\0\1aE\0\0\0\0"s);
    const std::string bad[] = {
        "GET / HTTP/1.1\r\n\r\n",
        "ORLIM/1\nX\0\0\0\0"s,
        "ORLIM/1\nE\0\0\0\1"s,
        "ORLIM/1\nT\0\0\0\1t"s,
        "ORLIM/2\nE\0\0\0\0"s,
        "ORLIM/2\nT\0\0\0\0"s,
        LinkMessage::encode({"a"}) + "trailing",
        "ORLIM/1\nU\x7f\xff\xff\xff"s,
    };
    for (const std::string& bytes : bad) {
        LinkMessage::Reader reader;
        EXPECT_EQ(reader.feed(bytes), State::Malformed) << bytes;
    }
    // A stream socket may cut a message anywhere, inside the magic line too.
    const std::string whole = LinkMessage::encode({"https://a", ""}, "token");
    for (std::size_t cut = 0; cut < whole.size(); ++cut) {
        LinkMessage::Reader reader;
        EXPECT_EQ(reader.feed(whole.substr(0, cut)), State::Incomplete) << cut;
        ASSERT_EQ(reader.feed(whole.substr(cut)), State::Complete) << cut;
        EXPECT_EQ(reader.links(), (std::vector<std::string>{"https://a", ""}));
        EXPECT_EQ(reader.token(), "token");
    }
    LinkMessage::Reader endless;
    State state = endless.feed("ORLIM/1\nU\x00\x0f\xff\xff"s);
    for (int i = 0; i < 20 && state == State::Incomplete; ++i)
        state = endless.feed(std::string(64 * 1024, 'a'));
    EXPECT_EQ(state, State::Malformed) << "more than the size limit";
}
