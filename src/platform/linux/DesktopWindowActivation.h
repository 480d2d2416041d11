// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/WindowActivation.h"

#include <memory>

class WaylandActivation;

/// Activation on the desktop Qt runs on: xdg-activation tokens on Wayland,
/// startup IDs on X11, and nothing elsewhere (offscreen, for instance).
class DesktopWindowActivation final : public WindowActivation
{
public:
    DesktopWindowActivation();
    ~DesktopWindowActivation() override;

    void start() override;
    QString tokenFor(QWidget* window) override;
    void present(QWidget* window, const QString& token) override;
    void finishStartup(const QString& token) override;
    bool tokenNeedsItsWindow() const override;
    bool holdsForStartedProgram() const override;

private:
    enum class Kind { Wayland, X11, Other };

    Kind m_kind = Kind::Other;
    std::unique_ptr<WaylandActivation> m_wayland;
};
