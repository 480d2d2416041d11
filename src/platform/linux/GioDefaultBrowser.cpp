// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/GioDefaultBrowser.h"

#include "platform/Scheduler.h"
#include "platform/linux/GObjectPtr.h"

#include <gio/gdesktopappinfo.h>

void GioDefaultBrowser::setHandler(const QString& type, const QString& desktopId,
                                   std::function<void()> done)
{
    // An entry that is not installed cannot be made the default: the request is
    // refused, and only the completion runs.
    const GObjectPtr<GDesktopAppInfo> info(g_desktop_app_info_new(desktopId.toUtf8().constData()));
    if (info) {
        GError* error = nullptr;
        g_app_info_set_as_default_for_type(G_APP_INFO(info.get()), type.toUtf8().constData(),
                                           &error);
        g_clear_error(&error);
    }
    // GIO writes synchronously; the completion still arrives through the main
    // loop, never from inside this call.
    if (done)
        m_scheduler.schedule(std::chrono::milliseconds(0), nullptr, std::move(done));
}

std::optional<QString> GioDefaultBrowser::handler(const QString& scheme) const
{
    const GObjectPtr<GAppInfo> info(
        g_app_info_get_default_for_uri_scheme(scheme.toUtf8().constData()));
    if (!info)
        return std::nullopt;
    const char* id = g_app_info_get_id(info.get());
    if (!id)
        return std::nullopt;
    return QString::fromUtf8(id);
}
