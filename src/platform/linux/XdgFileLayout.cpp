#include "platform/linux/XdgFileLayout.h"

#include <QDir>
#include <QFileInfo>

QString XdgFileLayout::homeDirectory() const
{
    return QDir::homePath();
}

QString XdgFileLayout::configHome() const
{
    // The base directory specification ignores relative values.
    const QString fromEnvironment = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!fromEnvironment.isEmpty() && QFileInfo(fromEnvironment).isAbsolute())
        return QDir::cleanPath(fromEnvironment);
    return homeDirectory() + u"/.config";
}
