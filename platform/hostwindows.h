#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Titles of the visible top-level windows of the X11 display, in stacking
// order from the top, minimised (iconified) ones included; empty when there
// is no display. A window manager's
// frame stands for the client window inside it; windows without a title
// are left out.
QStringList visibleTopLevelWindowTitles();

} // namespace platform
