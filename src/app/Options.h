// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <cstdio>

class ApplicationDirectory;
class BrowserInstallations;
class DefaultBrowser;
struct CommandLine;

/// What `orlim-app` answers to a command line that asks for anything but
/// links: it prints on stdout and stderr and returns the exit code, without
/// becoming the running Orlim.
namespace Options {

/// Answers `commandLine`, whose action is not Open. `argc` and `argv` make the
/// event loop that --make-default-browser waits on.
int answer(const CommandLine& commandLine, int argc, char** argv);

/// --list-profiles: the served browser's profiles, one a line.
int listProfiles(const BrowserInstallations& browsers);
/// --list-browsers: the installed browsers, the one served marked.
int listBrowsers(const BrowserInstallations& browsers);
/// --make-default-browser: asks `browser` for Orlim, then says what came of it,
/// and, when Orlim's entry is not among `applications`, where it belongs and
/// how to put it there.
int makeDefaultBrowser(DefaultBrowser& browser, const ApplicationDirectory& applications, int argc,
                       char** argv);

/// `text` in the locale's encoding, as a terminal shows it.
void print(FILE* stream, const QString& text);

} // namespace Options
