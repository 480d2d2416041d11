// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/AppInfo.h"

QString AppInfo::version()
{
#ifdef ORLIM_VERSION
    return QStringLiteral(ORLIM_VERSION);
#else
    return QStringLiteral("?");
#endif
}
