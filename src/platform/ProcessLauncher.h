// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

/// Starts other programs. Orlim only ever starts Chrome, detached, without a
/// shell, and never waits for it.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;

    /// Set in Orlim's own environment for Qt: Orlim draws its own title bar on
    /// Wayland, where Qt's offers to minimise, maximise and resize whatever
    /// the window allows. Never passed on.
    static constexpr char qtDecorationSwitch[] = "QT_WAYLAND_DISABLE_WINDOWDECORATION";

    /// Starts `program` (a path, or a name looked up on PATH) with exactly
    /// `arguments`, inheriting Orlim's environment but for the activation
    /// variables (XDG_ACTIVATION_TOKEN, DESKTOP_STARTUP_ID), which carry
    /// `activationToken` or are left out when it is empty, and for
    /// `qtDecorationSwitch`. Returns false when the process could not be started;
    /// `couldNotRun` is called later, on the main thread, when it ends the way
    /// `env` and shells end when the program they were to run is missing or
    /// not executable (status 126 or 127).
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& activationToken = {},
                               std::function<void()> couldNotRun = {}) = 0;
};
