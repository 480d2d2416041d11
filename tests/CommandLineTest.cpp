#include "app/CommandLine.h"

#include <gtest/gtest.h>

using Action = CommandLine::Action;

TEST(CommandLine, LinksAndOptions)
{
    struct Case
    {
        QStringList arguments;
        Action action;
        QStringList links;
    } cases[] = {
        {{}, Action::Open, {}},
        {{u"https://a"_qs, u"https://b"_qs}, Action::Open, {u"https://a"_qs, u"https://b"_qs}},
        {{u"--"_qs, u"--version"_qs, u"-x"_qs, u"--"_qs},
         Action::Open,
         {u"--version"_qs, u"-x"_qs, u"--"_qs}},
        {{u"https://a"_qs, u"--"_qs, u"-b"_qs}, Action::Open, {u"https://a"_qs, u"-b"_qs}},
        {{u"--version"_qs}, Action::Version, {}},
        {{u"-h"_qs}, Action::Help, {}},
        {{u"--help"_qs, u"--help"_qs}, Action::Help, {}},
        {{u"--list-profiles"_qs}, Action::ListProfiles, {}},
        {{u"--make-default-browser"_qs}, Action::MakeDefaultBrowser, {}},
    };
    for (const Case& c : cases) {
        const CommandLine parsed = CommandLine::parse(c.arguments);
        EXPECT_EQ(parsed.action, c.action) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(parsed.links, c.links) << c.arguments.join(u' ').toStdString();
    }
}

// Misuse is refused with a reason, never guessed at.
TEST(CommandLine, Misuse)
{
    const QStringList misuse[] = {
        {u"--bogus"_qs},
        {u"-"_qs},
        {u"--version"_qs, u"--help"_qs},
        {u"--list-profiles"_qs, u"https://a"_qs},
        {u"https://a"_qs, u"--renderer-cmd-prefix=x"_qs},
    };
    for (const QStringList& arguments : misuse) {
        const CommandLine parsed = CommandLine::parse(arguments);
        EXPECT_EQ(parsed.action, Action::Invalid) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(parsed.error.isEmpty());
    }
}
