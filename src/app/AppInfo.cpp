#include "app/AppInfo.h"

QString AppInfo::version()
{
#ifdef ORLIM_VERSION
    return QStringLiteral(ORLIM_VERSION);
#else
    return QStringLiteral("?");
#endif
}
