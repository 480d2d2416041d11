// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

namespace DesktopCommand {

/// A desktop entry's Exec arguments as a program to which more arguments can
/// be appended: field codes ("%U", "%f", ...) removed, "%%" made "%", and an
/// emptied file-forwarding block of flatpak ("@@u" ... "@@") dropped.
QStringList withoutFieldCodes(const QStringList& arguments);

} // namespace DesktopCommand
