// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "text/ArgumentText.h"
#include "text/ArgumentWalk.h"

#include <algorithm>
#include <string_view>

namespace {

struct Option
{
    std::string_view name;
    CommandLine::Action action;
};

constexpr Option options[] = {
    {"--help", CommandLine::Action::Help},
    {"-h", CommandLine::Action::Help},
    {"--version", CommandLine::Action::Version},
    {"--list-profiles", CommandLine::Action::ListProfiles},
    {"--list-browsers", CommandLine::Action::ListBrowsers},
    {"--make-default-browser", CommandLine::Action::MakeDefaultBrowser},
};

CommandLine invalid(const QString& message)
{
    CommandLine result;
    result.action = CommandLine::Action::Invalid;
    result.error = message;
    return result;
}

} // namespace

CommandLine CommandLine::parse(int argc, const char* const* argv)
{
    CommandLine result;
    ArgumentWalk walk;
    bool actionGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        const ArgumentWalk::Kind kind = walk.next(argument);
        if (kind == ArgumentWalk::Kind::Link)
            result.links.emplace_back(argument);
        if (kind != ArgumentWalk::Kind::Option)
            continue;
        const auto option = std::find_if(std::begin(options), std::end(options),
                                         [&](const Option& o) { return argument == o.name; });
        const QString shown = ArgumentText::fromBytes(QByteArray(argv[i]));
        if (option == std::end(options))
            return invalid(u"unknown option '" + shown + u"'");
        if (actionGiven && result.action != option->action)
            return invalid(u"option '" + shown + u"' cannot be combined with another option");
        result.action = option->action;
        actionGiven = true;
    }
    if (actionGiven && !result.links.empty())
        return invalid(QStringLiteral("links cannot be combined with an option"));
    return result;
}

QString CommandLine::usage()
{
    return QStringLiteral(
        "Usage: orlim [LINK...]\n"
        "       orlim [OPTION]\n"
        "\n"
        "Shows Orlim's picker for LINK and opens it in the profile chosen there, in\n"
        "Google Chrome or the Chromium-based browser chosen in Orlim's settings.\n"
        "The first Orlim stays in the tray; a later `orlim LINK` hands its links to it.\n"
        "Links that come together wait their turn in the picker, in order. Without a\n"
        "link, shows Orlim's settings.\n"
        "\n"
        "Options:\n"
        "  -h, --help              show this help and exit\n"
        "  --version               show Orlim's version and exit\n"
        "  --list-profiles         print the served browser's profiles (directory, a tab,\n"
        "                          name), one a line; exits 1 when no browser is installed\n"
        "  --list-browsers         print the installed browsers (desktop-file ID, a tab,\n"
        "                          name), the one served marked with a tab and \"served\"\n"
        "  --make-default-browser  make Orlim the desktop's web browser; exits 0 when it is\n"
        "  --                      every argument after this is a link\n");
}
