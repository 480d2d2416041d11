// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"
#include "instance/Forwarding.h"

#include "QtPrinting.h"

#include <gtest/gtest.h>

// Links after "--" are links whatever they look like, a second "--" too; an
// option stands alone, though it may be repeated; misuse is refused with a
// reason, never guessed at.
TEST(CommandLine, LinksOptionsAndMisuse)
{
    using Action = CommandLine::Action;
    const struct
    {
        QStringList arguments;
        Action action;
        QStringList links;
    } cases[] = {
        {{u"https://a"_s, u"--"_s, u"-b"_s, u"--"_s},
         Action::Open,
         {u"https://a"_s, u"-b"_s, u"--"_s}},
        {{u"--"_s, u"--"_s, u"--help"_s}, Action::Open, {u"--"_s, u"--help"_s}},
        {{}, Action::Open, {}},
        {{u"https://a b"_s, u"mailto:x"_s}, Action::Open, {u"https://a b"_s, u"mailto:x"_s}},
        {{u"--help"_s, u"--help"_s}, Action::Help, {}},
        {{u"--list-browsers"_s}, Action::ListBrowsers, {}},
        {{u"--bogus"_s}, Action::Invalid, {}},
        {{u"-"_s}, Action::Invalid, {}},
        {{u"--version"_s, u"--help"_s}, Action::Invalid, {}},
        {{u"--list-profiles"_s, u"https://a"_s}, Action::Invalid, {}},
        {{u"https://a"_s, u"--renderer-cmd-prefix=x"_s}, Action::Invalid, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(u' ').toStdString());
        const CommandLine parsed = CommandLine::parse(c.arguments);
        EXPECT_EQ(parsed.action, c.action);
        EXPECT_EQ(parsed.links, c.links);
        EXPECT_EQ(parsed.error.isEmpty(), c.action != Action::Invalid);

        // The small `orlim` decides on its own which arguments are links: it
        // must hand over exactly what the application would open, and leave
        // everything else to the application.
        std::vector<QByteArray> bytes{"orlim"};
        for (const QString& argument : c.arguments)
            bytes.push_back(argument.toUtf8());
        std::vector<const char*> argv;
        for (const QByteArray& argument : bytes)
            argv.push_back(argument.constData());
        const auto handed = Forwarding::linksOnly(int(argv.size()), argv.data());
        EXPECT_EQ(handed.has_value(), c.action == Action::Open);
        QStringList links;
        for (const std::string& link : handed.value_or(std::vector<std::string>()))
            links.append(QString::fromStdString(link));
        EXPECT_EQ(links, c.links);
    }
}
