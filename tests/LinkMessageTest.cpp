#include "app/LinkMessage.h"

#include <gtest/gtest.h>

using State = LinkMessage::Reader::State;

// Messages survive being cut into pieces anywhere, links and all.
TEST(LinkMessage, RoundTripInAnyPieces)
{
    const QStringList links{u"https://a.example/?q=1"_qs, QString(), u"日本語 -- \n"_qs, u"--x"_qs};
    const QByteArray message = LinkMessage::encode(links);
    for (int piece : {1, 2, 3, 7, 1000}) {
        LinkMessage::Reader reader;
        State state = State::Incomplete;
        for (qsizetype at = 0; at < message.size(); at += piece) {
            EXPECT_EQ(state, State::Incomplete);
            state = reader.feed(message.mid(at, piece));
        }
        EXPECT_EQ(state, State::Complete) << piece;
        EXPECT_EQ(reader.links(), links) << piece;
    }
    LinkMessage::Reader reopen;
    EXPECT_EQ(reopen.feed(LinkMessage::encode({})), State::Complete);
    EXPECT_TRUE(reopen.links().isEmpty());
}

TEST(LinkMessage, MalformedAndOversizedMessagesAreRefused)
{
    const QByteArray good = LinkMessage::encode({u"https://a"_qs});
    const QByteArray bad[] = {
        "GET / HTTP/1.1\r\n\r\n",
        QByteArray("ORLIM/1\nX\0\0\0\0", 13),
        QByteArray("ORLIM/1\nE\0\0\0\1", 13),
        good + "trailing",
        QByteArray("ORLIM/1\nU\x7f\xff\xff\xff", 13),
    };
    for (const QByteArray& bytes : bad) {
        LinkMessage::Reader reader;
        EXPECT_EQ(reader.feed(bytes), State::Malformed) << bytes.toHex().toStdString();
    }

    LinkMessage::Reader endless;
    QByteArray chunk(64 * 1024, 'a');
    State state = endless.feed(QByteArray("ORLIM/1\nU\x00\x0f\xff\xff", 13));
    for (int i = 0; i < 20 && state == State::Incomplete; ++i)
        state = endless.feed(chunk);
    EXPECT_EQ(state, State::Malformed) << "more than the size limit";
}
