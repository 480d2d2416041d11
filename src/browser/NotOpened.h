// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/ChromeLauncher.h"

#include <QString>

/// Where a link that could not be opened goes, so that none is lost in
/// silence: the application hands its notice to whoever opens links.
class NotOpened
{
public:
    virtual ~NotOpened() = default;
    /// Told, on the main thread, that `url` could not be opened, and why.
    virtual void notOpened(const QString& url, ChromeLauncher::Failure why) = 0;
};
