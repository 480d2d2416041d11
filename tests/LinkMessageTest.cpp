#include "app/LinkMessage.h"
#include "app/RuntimeDirectory.h"

#include "app/Forwarding.h"
#include <QFile>
#include <QTemporaryDir>
#include <unistd.h>

#include <gtest/gtest.h>

using State = LinkMessage::Reader::State;
using namespace std::string_literals;

// Messages survive being cut into pieces anywhere, links and all.
TEST(LinkMessage, RoundTripInAnyPieces)
{
    const std::vector<std::string> links{"https://a.example/?q=1", "", "日本語 -- \n", "--x",
                                         "nul\0inside"s};
    const std::string message = LinkMessage::encode(links);
    for (std::size_t piece : {1, 2, 3, 7, 1000}) {
        LinkMessage::Reader reader;
        State state = State::Incomplete;
        for (std::size_t at = 0; at < message.size(); at += piece) {
            EXPECT_EQ(state, State::Incomplete);
            state = reader.feed(message.substr(at, piece));
        }
        EXPECT_EQ(state, State::Complete) << piece;
        EXPECT_EQ(reader.links(), links) << piece;
    }
    LinkMessage::Reader reopen;
    EXPECT_EQ(reopen.feed(LinkMessage::encode({})), State::Complete);
    EXPECT_TRUE(reopen.links().empty());
}

TEST(LinkMessage, MalformedAndOversizedMessagesAreRefused)
{
    const std::string good = LinkMessage::encode({"https://a"});
    const std::string bad[] = {
        "GET / HTTP/1.1\r\n\r\n", "ORLIM/1\nX\0\0\0\0"s,         "ORLIM/1\nE\0\0\0\1"s,
        good + "trailing",        "ORLIM/1\nU\x7f\xff\xff\xff"s,
    };
    for (const std::string& bytes : bad) {
        LinkMessage::Reader reader;
        EXPECT_EQ(reader.feed(bytes), State::Malformed) << bytes;
    }

    LinkMessage::Reader endless;
    const std::string chunk(64 * 1024, 'a');
    State state = endless.feed("ORLIM/1\nU\x00\x0f\xff\xff"s);
    for (int i = 0; i < 20 && state == State::Incomplete; ++i)
        state = endless.feed(chunk);
    EXPECT_EQ(state, State::Malformed) << "more than the size limit";
}

// The small command hands over plain link lists only; any option goes to the
// full application.
TEST(Forwarding, LinksOnly)
{
    using Links = std::optional<std::vector<std::string>>;
    const auto parse = [](std::vector<const char*> argv) {
        argv.insert(argv.begin(), "orlim");
        return Forwarding::linksOnly(int(argv.size()), argv.data());
    };
    EXPECT_EQ(parse({}), Links(std::vector<std::string>{}));
    EXPECT_EQ(parse({"https://a", "b c"}), Links({"https://a", "b c"}));
    EXPECT_EQ(parse({"--", "--version", "--"}), Links({"--version", "--"}));
    EXPECT_EQ(parse({"--version"}), std::nullopt);
    EXPECT_EQ(parse({"https://a", "-x"}), std::nullopt);
}

// The runtime folder: under $XDG_RUNTIME_DIR, made private; a missing or
// relative one falls back to /tmp/orlim-<uid>.
TEST(RuntimeDirectory, PrivateAndWithAFallback)
{
    QTemporaryDir runtime;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const auto inRuntime = RuntimeDirectory::forCurrentUser();
    ASSERT_TRUE(inRuntime);
    EXPECT_EQ(inRuntime->path, runtime.path().toStdString() + "/orlim");
    EXPECT_EQ(QFile::permissions(QString::fromStdString(inRuntime->path)) & 0x0077, 0);

    const std::string fallback = "/tmp/orlim-" + std::to_string(getuid());
    for (const char* value : {"/nonexistent/run", "relative/run"}) {
        qputenv("XDG_RUNTIME_DIR", value);
        const auto directory = RuntimeDirectory::forCurrentUser();
        ASSERT_TRUE(directory) << value;
        EXPECT_EQ(directory->path, fallback) << value;
    }
    qputenv("XDG_RUNTIME_DIR", saved);
}
