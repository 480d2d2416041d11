#include "app/CommandLine.h"

#include <gtest/gtest.h>

// Links after "--" are links whatever they look like; options stand alone;
// misuse is refused with a reason, never guessed at.
TEST(CommandLine, LinksOptionsAndMisuse)
{
    using Action = CommandLine::Action;
    const struct
    {
        QStringList arguments;
        Action action;
        QStringList links;
    } cases[] = {
        {{u"https://a"_qs, u"--"_qs, u"-b"_qs, u"--"_qs},
         Action::Open,
         {u"https://a"_qs, u"-b"_qs, u"--"_qs}},
        {{u"--help"_qs, u"--help"_qs}, Action::Help, {}},
        {{u"--list-profiles"_qs}, Action::ListProfiles, {}},
        {{u"--bogus"_qs}, Action::Invalid, {}},
        {{u"-"_qs}, Action::Invalid, {}},
        {{u"--version"_qs, u"--help"_qs}, Action::Invalid, {}},
        {{u"--list-profiles"_qs, u"https://a"_qs}, Action::Invalid, {}},
        {{u"https://a"_qs, u"--renderer-cmd-prefix=x"_qs}, Action::Invalid, {}},
    };
    for (const auto& c : cases) {
        const CommandLine parsed = CommandLine::parse(c.arguments);
        EXPECT_EQ(parsed.action, c.action) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(parsed.links, c.links) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(parsed.error.isEmpty(), c.action != Action::Invalid);
    }
}
