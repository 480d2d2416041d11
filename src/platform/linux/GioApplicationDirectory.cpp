#include "platform/linux/GioApplicationDirectory.h"

#include "platform/linux/GObjectPtr.h"

#include <gio/gdesktopappinfo.h>

std::optional<ApplicationDirectory::Entry>
GioApplicationDirectory::find(const QString& desktopId) const
{
    const GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new(desktopId.toUtf8().constData()));
    if (!info)
        return std::nullopt;
    const char* executable = g_app_info_get_executable(G_APP_INFO(info.get()));
    return Entry{executable ? QString::fromUtf8(executable) : QString()};
}
