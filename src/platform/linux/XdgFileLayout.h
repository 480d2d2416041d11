// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/FileLayout.h"

/// Reads HOME and XDG_CONFIG_HOME on every call, so a change of environment
/// (as in tests) takes effect at once.
class XdgFileLayout final : public FileLayout
{
public:
    QString homeDirectory() const override;
    QString configHome() const override;
    QString chromeConfigHome() const override;
};
