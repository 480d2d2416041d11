// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/ChromeInstallation.h"

#include "chrome/BrowserChoice.h"
#include "platform/ApplicationDirectory.h"
#include "platform/FileLayout.h"

#include <QFileInfo>

QString ChromeInstallations::dataDirectory(const Kind& kind) const
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

std::optional<ChromeInstallation> ChromeInstallations::lookUp(const Kind& kind) const
{
    const QString desktopId = QString::fromUtf16(kind.desktopId);
    auto entry = m_applications.find(desktopId);
    if (!entry)
        return std::nullopt;
    ChromeInstallation browser;
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

std::optional<ChromeInstallation>
ChromeInstallations::servedAmong(const QList<ChromeInstallation>& browsers) const
{
    if (browsers.isEmpty())
        return std::nullopt;
    // The one chosen while it is installed; else the table's order decides.
    if (const auto chosen = m_choice.chosen()) {
        for (const ChromeInstallation& browser : browsers) {
            if (browser.desktopId == *chosen)
                return browser;
        }
    }
    return browsers.first();
}

QList<ChromeInstallation>
ChromeInstallations::shownAmong(const QList<ChromeInstallation>& browsers) const
{
    QList<ChromeInstallation> shown;
    for (const QString& id : m_choice.shown()) {
        for (const ChromeInstallation& browser : browsers) {
            if (browser.desktopId == id)
                shown.append(browser);
        }
    }
    if (shown.isEmpty()) {
        if (auto served = servedAmong(browsers))
            shown.append(std::move(*served));
    }
    return shown;
}

QList<ChromeInstallation> ChromeInstallations::installed() const
{
    QList<ChromeInstallation> browsers;
    for (const Kind& kind : kinds) {
        if (auto browser = lookUp(kind))
            browsers.append(std::move(*browser));
    }
    return browsers;
}

bool ChromeInstallations::isInstalled(const ChromeInstallation& browser) const
{
    return m_applications.find(browser.desktopId).has_value();
}

std::optional<QStringList> ChromeInstallation::commandLine(const QStringList& arguments) const
{
    return DesktopCommand::expand(command, arguments);
}

QString ChromeInstallations::noneInstalled()
{
    // Each browser once, in the table's order.
    QStringList names;
    for (const Kind& kind : kinds) {
        const QString name = QString::fromUtf16(kind.shortName);
        if (!names.contains(name))
            names.append(name);
    }
    const QString last = names.takeLast();
    return u"no supported browser is installed (" + names.join(u", ") + u" or " + last + u')';
}
