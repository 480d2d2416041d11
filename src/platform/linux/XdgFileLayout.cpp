// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/XdgFileLayout.h"

#include <QDir>
#include <QFileInfo>

QString XdgFileLayout::homeDirectory() const
{
    return QDir::homePath();
}

namespace {

/// An absolute folder named by `variable`, or nothing: the base directory
/// specification ignores relative values, and so does Chrome.
QString absoluteFolder(const char* variable)
{
    const QString fromEnvironment = qEnvironmentVariable(variable);
    if (!fromEnvironment.isEmpty() && QFileInfo(fromEnvironment).isAbsolute())
        return QDir::cleanPath(fromEnvironment);
    return {};
}

} // namespace

QString XdgFileLayout::configHome() const
{
    const QString fromEnvironment = absoluteFolder("XDG_CONFIG_HOME");
    return fromEnvironment.isEmpty() ? homeDirectory() + u"/.config" : fromEnvironment;
}

QString XdgFileLayout::chromeConfigHome() const
{
    const QString fromEnvironment = absoluteFolder("CHROME_CONFIG_HOME");
    return fromEnvironment.isEmpty() ? configHome() : fromEnvironment;
}
