#pragma once

#include <QString>

// Finds the host suite's main window among the top-level windows on screen.
class cWindows {
public:
    // True when a visible top-level window has exactly the title sApp.
    bool CorreApp(const QString& sApp) const;
};
