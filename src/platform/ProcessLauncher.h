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
    /// `arguments`, inheriting Orlim's environment. Returns false when the
    /// process could not be started.
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
};
