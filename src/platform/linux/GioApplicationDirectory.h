// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/ApplicationDirectory.h"

/// Desktop entries found the XDG way ($XDG_DATA_HOME/applications, then
/// $XDG_DATA_DIRS), through GIO.
class GioApplicationDirectory final : public ApplicationDirectory
{
public:
    std::optional<Entry> find(const QString& desktopId) const override;
    QStringList folders() const override;
};
