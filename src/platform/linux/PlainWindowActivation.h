// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WindowActivation.h"

/// Activation where the desktop asks for no proof (offscreen, a compositor
/// without xdg-activation): a window is shown, raised and activated; no token
/// is made, and none is waited for.
class PlainWindowActivation : public WindowActivation
{
public:
    QString tokenFor(QWidget*) override { return {}; }
    void present(QWidget* window, const QString& token) override;
    void finishStartup(const QString&) override {}
    bool tokenNeedsItsWindow() const override { return false; }
    bool holdsForStartedProgram() const override { return false; }

protected:
    /// Shows `window`, unminimised, raised and active, as far as the desktop lets it.
    static void bringToFront(QWidget* window);
};
