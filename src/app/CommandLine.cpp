// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CommandLine.h"

#include "browser/BrowserInstallation.h"
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
    return u"Usage: orlim [LINK...]\n"
           u"       orlim [OPTION]\n"
           u"\n"
           u"Shows Orlim's picker for LINK and opens it in the profile chosen there, in\n"
           u"the browser chosen in Orlim's settings.\n"
           u"Browsers served: " +
           BrowserInstallations::names().join(u", ") +
           u".\n"
           u"The first Orlim stays in the tray; a later `orlim LINK` hands its links to it.\n"
           u"Links that come together wait their turn in the picker, in order. Without a\n"
           u"link, shows Orlim's settings.\n"
           u"\n"
           u"Options:\n"
           u"  -h, --help              show this help and exit\n"
           u"  --version               show Orlim's version and exit\n"
           u"  --list-profiles         print the served browser's profiles (directory, a tab,\n"
           u"                          name), one a line; exits 1 when no browser is installed\n"
           u"  --list-browsers         print the installed browsers (desktop-file ID, a tab,\n"
           u"                          name), the one served marked with a tab and \"served\"\n"
           u"  --make-default-browser  make Orlim the desktop's web browser; exits 0 when it is\n"
           u"  --                      every argument after this is a link\n";
}
