// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/GioApplicationDirectory.h"

#include "platform/linux/GObjectPtr.h"

#include <gio/gdesktopappinfo.h>

namespace {

QString text(const char* utf8)
{
    return utf8 ? QString::fromUtf8(utf8) : QString();
}

} // namespace

std::optional<ApplicationDirectory::Entry>
GioApplicationDirectory::find(const QString& desktopId) const
{
    const GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new(desktopId.toUtf8().constData()));
    if (!info)
        return std::nullopt;
    GAppInfo* app = G_APP_INFO(info.get());
    char* icon = g_desktop_app_info_get_string(info.get(), "Icon");
    Entry entry;
    entry.exec = text(g_app_info_get_commandline(app));
    entry.icon = text(icon);
    entry.name = text(g_app_info_get_name(app));
    entry.path = text(g_desktop_app_info_get_filename(info.get()));
    entry.windowClass = text(g_desktop_app_info_get_startup_wm_class(info.get()));
    g_free(icon);
    return entry;
}

QStringList GioApplicationDirectory::folders() const
{
    QStringList folders{text(g_get_user_data_dir()) + u"/applications"};
    for (const char* const* data = g_get_system_data_dirs(); *data; ++data)
        folders.append(text(*data) + u"/applications");
    return folders;
}
