#include "formulario/core/cWindows.h"

#include "platform/hostwindows.h"

bool cWindows::CorreApp(const QString& sApp) const
{
    return platform::visibleTopLevelWindowTitles().contains(sApp, Qt::CaseSensitive);
}
