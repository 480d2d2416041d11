// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Options.h"

#include "actions/AppActions.h"
#include "app/CommandLine.h"
#include "browser/BrowserInstallation.h"
#include "browser/ChromeProfiles.h"
#include "platform/AppInfo.h"
#include "platform/ApplicationDirectory.h"
#include "platform/DefaultBrowser.h"
#include "platform/Platform.h"

#include <QCoreApplication>

namespace Options {
namespace {

/// The browsers as the user's desktop and settings have them.
BrowserInstallations browsersOf(const Platform& platform)
{
    return {*platform.applications, *platform.files};
}

void printNoneInstalled()
{
    print(stderr, u"orlim: " + BrowserInstallations::noneInstalled() + u'\n');
}

} // namespace

void print(FILE* stream, const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), stream);
}

int answer(const CommandLine& commandLine, int argc, char** argv)
{
    switch (commandLine.action) {
    case CommandLine::Action::Invalid:
        print(stderr, u"orlim: " + commandLine.error + u"\nTry 'orlim --help'.\n");
        return 2;
    case CommandLine::Action::Help:
        print(stdout, CommandLine::usage());
        return 0;
    case CommandLine::Action::Version:
        print(stdout, QString::fromUtf16(AppInfo::name) + u' ' + AppInfo::version() + u'\n');
        return 0;
    case CommandLine::Action::ListProfiles:
        return listProfiles(browsersOf(Platform::forThisSystem()));
    case CommandLine::Action::ListBrowsers:
        return listBrowsers(browsersOf(Platform::forThisSystem()));
    case CommandLine::Action::MakeDefaultBrowser: {
        const Platform platform = Platform::forThisSystem();
        return makeDefaultBrowser(*platform.defaultBrowser, *platform.applications, argc, argv);
    }
    case CommandLine::Action::Open:
        break;
    }
    return 2;
}

int listProfiles(const BrowserInstallations& browsers)
{
    const auto served = browsers.find();
    if (!served) {
        printNoneInstalled();
        return 1;
    }
    for (const ChromeProfile& profile : ChromeProfiles::load(*served).profiles)
        print(stdout, profile.directoryName + u'\t' + profile.displayName + u'\n');
    return 0;
}

int listBrowsers(const BrowserInstallations& browsers)
{
    const QList<BrowserInstallation> installed = browsers.installed();
    const QList<BrowserInstallation> shown = browsers.shownAmong(installed);
    if (shown.isEmpty()) {
        printNoneInstalled();
        return 1;
    }
    for (const BrowserInstallation& browser : installed) {
        print(stdout, browser.desktopId + u'\t' + browser.name +
                          (browser.desktopId == shown.first().desktopId ? u"\tserved\n" : u"\n"));
    }
    return 0;
}

int makeDefaultBrowser(DefaultBrowser& browser, const ApplicationDirectory& applications, int argc,
                       char** argv)
{
    QCoreApplication app(argc, argv);
    AppActions::setAsDefaultBrowser(browser, [] { QCoreApplication::quit(); });
    app.exec();
    if (AppActions::isDefaultBrowser(browser)) {
        print(stdout, QStringLiteral("Orlim is the default web browser.\n"));
        return 0;
    }
    const auto handler = browser.handler(QStringLiteral("https"));
    print(stdout, u"Orlim is not the default web browser; https links open with " +
                      handler.value_or(QStringLiteral("no application")) + u".\n");
    const QString entry = QString::fromUtf16(AppInfo::desktopId);
    if (!applications.find(entry)) {
        const QStringList folders = applications.folders();
        print(stderr, u"orlim: no desktop entry named " + entry +
                          u" is installed, so the desktop cannot open links with Orlim.\n"
                          u"It belongs in one of these folders:\n  " +
                          folders.join(QStringLiteral("\n  ")) +
                          u"\nInstall it with `make install` or Orlim's package, or run "
                          u"`make run` once, which writes one in " +
                          folders.value(0) + u".\n");
    }
    return 1;
}

} // namespace Options
