// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

/// The desktop's preference for light or dark windows
/// (freedesktop's `org.freedesktop.appearance color-scheme`).
class ColorScheme
{
public:
    enum class Preference { None, Dark, Light };

    virtual ~ColorScheme() = default;

    /// Starts reading the preference without waiting for it: `changed` gets
    /// it once it is read, then again whenever the user changes it, always on
    /// the main thread. Where nothing tells, `changed` is never called.
    virtual void follow(std::function<void(Preference)> changed) = 0;

    /// The preference for the setting's value (0 none, 1 dark, 2 light);
    /// anything else is none.
    static Preference fromSetting(unsigned value)
    {
        return value == 1 ? Preference::Dark : value == 2 ? Preference::Light : Preference::None;
    }
};
