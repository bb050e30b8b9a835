#pragma once

// A control entered and left as the user sees it: the focus moving from one
// control of a window to another. The focus leaving with its window (a
// message box, another program) and coming back to the same control is no
// move; coming back to another control, which the program chose meanwhile,
// is a move from the control that had it to that one.

#include <functional>

class QWidget;

namespace platform {

// Runs `entered` when the focus moves to `control` from another control of
// its window, or is first given to it, and `left` when it moves from
// `control` to another control of its window; either may be empty.
// When `left` moves the focus itself, back to `control` or on to another
// control, with a message box on the screen meanwhile or not, the control
// where the focus then stands is entered once; back on `control`, nothing is.
// A line edit entered by a mouse click keeps the text `entered` selected:
// that click places no cursor.
void watchFocus(QWidget& control, std::function<void()> entered, std::function<void()> left);

} // namespace platform
