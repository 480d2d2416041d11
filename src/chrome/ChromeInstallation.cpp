// SPDX-License-Identifier: GPL-3.0-or-later
#include "chrome/ChromeInstallation.h"

#include "platform/ApplicationDirectory.h"
#include "platform/FileLayout.h"
#include "platform/Platform.h"

using ChromeInstallations::Kind;

std::optional<ChromeInstallation> ChromeInstallation::find()
{
    const Platform& platform = Platform::current();
    for (const Kind& kind : ChromeInstallations::kinds) {
        const QString desktopId = QString::fromUtf16(kind.desktopId);
        const auto entry = platform.applications->find(desktopId);
        if (!entry)
            continue;
        ChromeInstallation chrome;
        chrome.desktopId = desktopId;
        const QString base = kind.base == Kind::Base::Home ? platform.files->homeDirectory()
                                                           : platform.files->chromeConfigHome();
        chrome.dataDirectory = base + u'/' + QString::fromUtf16(kind.dataDirectory);
        if (kind.startThroughEntry && !entry->commandLine.isEmpty()) {
            chrome.program = entry->commandLine.first();
            chrome.leadingArguments = entry->commandLine.mid(1);
        } else {
            chrome.program = entry->executable.isEmpty()
                                 ? QString::fromUtf16(ChromeInstallations::fallbackExecutable)
                                 : entry->executable;
        }
        chrome.windowClass = entry->windowClass.isEmpty() ? QString::fromUtf16(kind.windowClass)
                                                          : entry->windowClass;
        return chrome;
    }
    return std::nullopt;
}
