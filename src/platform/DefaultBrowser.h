// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <functional>
#include <optional>

/// The desktop's record of which application opens which URL scheme or file type.
class DefaultBrowser
{
public:
    virtual ~DefaultBrowser() = default;

    /// Asks the desktop to open what has the content type `type` (a scheme's
    /// links are "x-scheme-handler/" and the scheme) with the application
    /// `desktopId`. `done` runs once on the main loop when the request has
    /// completed, whether it succeeded or not.
    virtual void setHandler(const QString& type, const QString& desktopId,
                            std::function<void()> done) = 0;
    /// The desktop-file ID of the application that opens `scheme` links now, or
    /// nothing when there is none or it has no ID.
    virtual std::optional<QString> handler(const QString& scheme) const = 0;
};
