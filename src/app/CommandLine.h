// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <string>
#include <vector>

/// What `orlim` was asked to do on its command line.
struct CommandLine
{
    enum class Action {
        Open, // route `links`; with none, show the settings ("reopen")
        Help,
        Version,
        ListProfiles,
        ListBrowsers,
        MakeDefaultBrowser,
        Invalid, // `error` says why
    };

    Action action = Action::Open;
    /// The links as the command line's bytes: they are handed over as they
    /// are, and read as text only by the Orlim that shows them.
    std::vector<std::string> links;
    QString error;

    /// Parses the arguments after the program name. Every argument that does
    /// not begin with "-", and every argument after "--", is a link.
    static CommandLine parse(int argc, const char* const* argv);

    /// The text printed by --help.
    static QString usage();
};
