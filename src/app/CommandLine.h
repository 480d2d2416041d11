// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

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
    QStringList links;
    QString error;

    /// Parses the arguments after the program name. Every argument that does
    /// not begin with "-", and every argument after "--", is a link.
    static CommandLine parse(const QStringList& arguments);

    /// The text printed by --help.
    static QString usage();
};
