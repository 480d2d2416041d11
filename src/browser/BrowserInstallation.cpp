// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/BrowserInstallation.h"

#include "browser/BrowserChoice.h"
#include "platform/ApplicationDirectory.h"
#include "platform/FileLayout.h"

#include <QFileInfo>

QString BrowserInstallations::dataDirectory(const Kind& kind) const
{
    // Firefox keeps using the folder of an older install while it exists.
    if (kind.legacyDirectory) {
        const QString legacy =
            m_files.homeDirectory() + u'/' + QString::fromUtf16(kind.legacyDirectory);
        if (QFileInfo(legacy).isDir())
            return legacy;
    }
    QString base;
    switch (kind.base) {
    case Home:
        base = m_files.homeDirectory();
        break;
    case ConfigHome:
        base = m_files.configHome();
        break;
    case ChromeConfigHome:
        base = m_files.chromeConfigHome();
        break;
    }
    return base + u'/' + QString::fromUtf16(kind.dataDirectory);
}

std::optional<BrowserInstallation> BrowserInstallations::lookUp(const Kind& kind) const
{
    const QString desktopId = QString::fromUtf16(kind.desktopId);
    auto entry = m_applications.find(desktopId);
    if (!entry)
        return std::nullopt;
    BrowserInstallation browser;
    browser.desktopId = desktopId;
    browser.name = entry->name.isEmpty() ? desktopId : entry->name;
    browser.shortName = QString::fromUtf16(kind.shortName);
    browser.family = kind.family;
    browser.dataDirectory = dataDirectory(kind);
    browser.windowClass =
        entry->windowClass.isEmpty() ? QString::fromUtf16(kind.windowClass) : entry->windowClass;
    browser.privateSwitch = QString::fromUtf16(kind.privateSwitch);
    browser.command = std::move(*entry);
    if (browser.command.exec.trimmed().isEmpty())
        browser.command.exec = QString::fromUtf16(kind.program) + u" %U";
    return browser;
}

std::optional<BrowserInstallation> BrowserInstallations::find() const
{
    QList<BrowserInstallation> shown = shownAmong(installed());
    if (shown.isEmpty())
        return std::nullopt;
    return std::move(shown.first());
}

QList<BrowserInstallation>
BrowserInstallations::shownAmong(const QList<BrowserInstallation>& browsers) const
{
    QList<BrowserInstallation> shown;
    for (const QString& id : m_choice.shown()) {
        for (const BrowserInstallation& browser : browsers) {
            if (browser.desktopId == id)
                shown.append(browser);
        }
    }
    // None listed is installed: the table's order decides.
    if (shown.isEmpty() && !browsers.isEmpty())
        shown.append(browsers.first());
    return shown;
}

QList<BrowserInstallation> BrowserInstallations::installed() const
{
    QList<BrowserInstallation> browsers;
    for (const Kind& kind : kinds) {
        if (auto browser = lookUp(kind))
            browsers.append(std::move(*browser));
    }
    return browsers;
}

bool BrowserInstallations::isInstalled(const BrowserInstallation& browser) const
{
    return m_applications.find(browser.desktopId).has_value();
}

std::optional<QStringList> BrowserInstallation::commandLine(const QStringList& arguments) const
{
    return DesktopCommand::expand(command, arguments);
}

QStringList BrowserInstallations::names()
{
    QStringList names;
    for (const Kind& kind : kinds) {
        const QString name = QString::fromUtf16(kind.shortName);
        if (!names.contains(name))
            names.append(name);
    }
    return names;
}

QString BrowserInstallations::noneInstalled()
{
    QStringList names = BrowserInstallations::names();
    const QString last = names.takeLast();
    return u"no supported browser is installed (" + names.join(u", ") + u" or " + last + u')';
}
