// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "instance/Forwarding.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

// Links after "--" are links whatever they look like, a second "--" too; an
// option stands alone, though it may be repeated; misuse is refused with a
// reason, never guessed at. Links keep their bytes, UTF-8 or not.
TEST(CommandLine, LinksOptionsAndMisuse)
{
    using Action = CommandLine::Action;
    using Bytes = std::vector<std::string>;
    const struct
    {
        Bytes arguments;
        Action action;
        Bytes links;
    } cases[] = {
        {{"https://a", "--", "-b", "--"}, Action::Open, {"https://a", "-b", "--"}},
        {{}, Action::Open, {}},
        {{"https://a b", "mailto:x"}, Action::Open, {"https://a b", "mailto:x"}},
        {{"https://\xff\xfe/\xe3\x81\x82"}, Action::Open, {"https://\xff\xfe/\xe3\x81\x82"}},
        {{"--help", "--help"}, Action::Help, {}},
        {{"--list-browsers"}, Action::ListBrowsers, {}},
        {{"--bogus"}, Action::Invalid, {}},
        {{"--help\xff"}, Action::Invalid, {}},
        {{"-"}, Action::Invalid, {}},
        {{"--version", "--help"}, Action::Invalid, {}},
        {{"--list-profiles", "https://a"}, Action::Invalid, {}},
        {{"https://a", "--renderer-cmd-prefix=x"}, Action::Invalid, {}},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv{"orlim"};
        for (const std::string& argument : c.arguments)
            argv.push_back(argument.c_str());
        SCOPED_TRACE(::testing::PrintToString(c.arguments));
        const CommandLine parsed = CommandLine::parse(int(argv.size()), argv.data());
        EXPECT_EQ(parsed.action, c.action);
        EXPECT_EQ(parsed.links, c.links);
        EXPECT_EQ(parsed.error.isEmpty(), c.action != Action::Invalid);

        // The small `orlim` decides on its own which arguments are links: it
        // must hand over exactly what the application would open, and leave
        // everything else to the application.
        const auto handed = Forwarding::linksOnly(int(argv.size()), argv.data());
        EXPECT_EQ(handed.has_value(), c.action == Action::Open);
        EXPECT_EQ(handed.value_or(Bytes()), c.links);
    }
}
