#include "platform/linux/DetachedProcessLauncher.h"

#include <QProcess>

bool DetachedProcessLauncher::startDetached(const QString& program, const QStringList& arguments)
{
    // QProcess runs the program directly (no shell) and looks bare names up on PATH.
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    return process.startDetached();
}
