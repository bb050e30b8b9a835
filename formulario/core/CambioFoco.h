#pragma once

#include <functional>

class QWidget;

// Hands the control's GotFocus and LostFocus to the handlers (either may be
// empty) only when the focus moves between the controls of its window: a
// Tab, a click on another control or on a button, the program giving
// another control the focus. Another window activated (a message box,
// another program) and the window closing run neither, so nothing is
// checked or reformatted while the user is elsewhere or leaving.
void AsignaFoco(QWidget& oControl, std::function<void()> GotFocus, std::function<void()> LostFocus);
