// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/PlainWindowActivation.h"

/// Activation on X11: startup IDs, which window managers with focus-stealing
/// prevention (mutter, KWin) judge a new window by, and the startup
/// notification's end when no window comes for one.
class X11WindowActivation final : public PlainWindowActivation
{
public:
    QString tokenFor(QWidget* window) override;
    void present(QWidget* window, const QString& token) override;
    void finishStartup(const QString& token) override;
    bool holdsForStartedProgram() const override { return true; }
};
