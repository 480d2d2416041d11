// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/ArgumentText.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

// Any bytes come back as they were given, the invalid ones as well as
// characters beyond the Basic Multilingual Plane, whose low surrogate may
// fall among the ones that stand for single bytes (U+1F480 is D83D DC80).
TEST(ArgumentText, BytesRoundTrip)
{
    const QByteArray cases[] = {
        "https://x/\xe9",             // Latin-1, not UTF-8
        "https://x/\xf0\x9f\x92\x80", // U+1F480
        "\xf0\x9f\x92\x80\xff\xf0\x9f\x93\xbf",
        "\xed\xa0\x80\xef\xbb\xbf", // an encoded surrogate, then U+FEFF
        "\xc0\xaf\xf4\x90\x80\x80", // overlong, past U+10FFFF
    };
    for (const QByteArray& bytes : cases)
        EXPECT_EQ(ArgumentText::toBytes(ArgumentText::fromBytes(bytes)), bytes)
            << bytes.toHex().toStdString();
    EXPECT_EQ(ArgumentText::fromBytes("\xf0\x9f\x92\x80"), QString::fromUcs4(U"\U0001F480", 1));
}
