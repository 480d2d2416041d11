// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>
#include <functional>

/// Starts other programs. Orlim only ever starts the browsers it serves,
/// detached, without a shell, and never waits for them.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;

    /// Starts `program` (a path, or a name looked up on PATH) with exactly
    /// `arguments`, inheriting Orlim's environment but for the activation
    /// variables (XDG_ACTIVATION_TOKEN, DESKTOP_STARTUP_ID), which carry
    /// `activationToken` or are left out when it is empty. Returns false when
    /// the process could not be started; `failed` is called later, on the main
    /// thread, when it ends soon after its start (within `failedStartMs`) with
    /// a failure status or by a signal: the way `env`, shells and `flatpak run`
    /// end when what they were to run is missing. A browser that hands the link
    /// to its running instance and exits 0 has not failed.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& activationToken = {},
                               std::function<void()> failed = {}) = 0;

    /// How long after its start a process's end still tells of its start.
    static constexpr int failedStartMs = 5000;
};
