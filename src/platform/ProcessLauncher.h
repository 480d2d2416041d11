// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// Starts other programs. Orlim only ever starts Chrome, detached, without a
/// shell, and never waits for it.
class ProcessLauncher
{
public:
    virtual ~ProcessLauncher() = default;

    /// Starts `program` (a path, or a name looked up on PATH) with exactly
    /// `arguments`, inheriting Orlim's environment but for the activation
    /// variables (XDG_ACTIVATION_TOKEN, DESKTOP_STARTUP_ID): those carry
    /// `activationToken`, or are left out when it is empty. Returns false when
    /// the process could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments,
                               const QString& activationToken = {}) = 0;
};
