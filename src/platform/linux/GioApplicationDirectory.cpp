// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/GioApplicationDirectory.h"

#include "platform/linux/DesktopCommand.h"
#include "platform/linux/GObjectPtr.h"

#include <gio/gdesktopappinfo.h>

namespace {

QStringList commandLineOf(GAppInfo* info)
{
    const char* commandLine = g_app_info_get_commandline(info);
    int argc = 0;
    char** argv = nullptr;
    if (!commandLine || !g_shell_parse_argv(commandLine, &argc, &argv, nullptr))
        return {};
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromUtf8(argv[i]));
    g_strfreev(argv);
    return DesktopCommand::withoutFieldCodes(arguments);
}

} // namespace

std::optional<ApplicationDirectory::Entry>
GioApplicationDirectory::find(const QString& desktopId) const
{
    const GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new(desktopId.toUtf8().constData()));
    if (!info)
        return std::nullopt;
    GAppInfo* app = G_APP_INFO(info.get());
    const char* executable = g_app_info_get_executable(app);
    const char* windowClass = g_desktop_app_info_get_startup_wm_class(info.get());
    const char* name = g_app_info_get_name(app);
    return Entry{name ? QString::fromUtf8(name) : QString(),
                 executable ? QString::fromUtf8(executable) : QString(), commandLineOf(app),
                 windowClass ? QString::fromUtf8(windowClass) : QString()};
}
