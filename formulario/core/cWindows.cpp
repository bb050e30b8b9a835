#include "formulario/core/cWindows.h"

#include "platform/hostwindows.h"

bool cWindows::CorreApp(const QString& sApp) const
{
    const QStringList titles = platform::visibleTopLevelWindowTitles();
    for (const QString& title : titles) {
        if (!title.isEmpty() && title == sApp)
            return true;
    }
    return false;
}
