// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/linux/GnomeInterfaceSettings.h"

#include <gio/gio.h>

#include <cstring>

namespace GnomeInterfaceSettings {
namespace {

constexpr const char* schemaId = "org.gnome.desktop.interface";
constexpr const char* key = "color-scheme";

unsigned valueOf(GSettings* settings)
{
    gchar* text = g_settings_get_string(settings, key);
    const unsigned value = std::strcmp(text, "prefer-dark") == 0    ? 1
                           : std::strcmp(text, "prefer-light") == 0 ? 2
                                                                    : 0;
    g_free(text);
    return value;
}

void onChanged(GSettings* settings, const gchar*, gpointer data)
{
    (*static_cast<std::function<void(unsigned)>*>(data))(valueOf(settings));
}

} // namespace

std::optional<unsigned> followColorScheme(std::function<void(unsigned)> changed)
{
    // GSettings aborts on a schema that is not installed: look first.
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    GSettingsSchema* schema =
        source ? g_settings_schema_source_lookup(source, schemaId, TRUE) : nullptr;
    if (!schema)
        return std::nullopt;
    const bool hasKey = g_settings_schema_has_key(schema, key);
    g_settings_schema_unref(schema);
    if (!hasKey)
        return std::nullopt;
    // Kept for the life of the application, as the signal's target.
    GSettings* settings = g_settings_new(schemaId);
    auto* target = new std::function<void(unsigned)>(std::move(changed));
    g_signal_connect(settings, "changed::color-scheme", G_CALLBACK(onChanged), target);
    return valueOf(settings);
}

} // namespace GnomeInterfaceSettings
