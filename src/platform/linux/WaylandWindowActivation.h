// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/linux/PlainWindowActivation.h"
#include "platform/linux/WaylandActivation.h"

#include <memory>

/// Activation on a Wayland compositor with xdg-activation: a token is made
/// for the user's last input in a window, and is good only while that window
/// has the keyboard; a token spent on activation needs no ending.
class WaylandWindowActivation final : public PlainWindowActivation
{
public:
    explicit WaylandWindowActivation(std::unique_ptr<WaylandActivation> activation)
        : m_activation(std::move(activation))
    {
    }

    QString tokenFor(QWidget* window) override;
    void present(QWidget* window, const QString& token) override;
    bool tokenNeedsItsWindow() const override { return true; }
    bool holdsForStartedProgram() const override { return true; }

private:
    std::unique_ptr<WaylandActivation> m_activation;
};
