#pragma once

#include <QString>
#include <QStringList>

namespace platform {

// Titles of the visible top-level windows of the X11 display, in stacking
// order from the top; empty when there is no display.
QStringList visibleTopLevelWindowTitles();

} // namespace platform
