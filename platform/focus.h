#pragma once

// Telling a move of the keyboard focus between the controls of one window
// from the focus leaving or coming back with the window itself.

class QFocusEvent;
class QWidget;

namespace platform {

// True when `event`, received by `widget`, moves the focus between two
// widgets of the same window: for a focus-out, the widget that now holds the
// focus lies in the widget's window; for a focus-in, the focus does not come
// back with the window's activation or the closing of a popup. Another
// window activated (a message box, another program) and a window closing
// or hiding are no such move.
bool focusMovesWithinWindow(const QWidget& widget, const QFocusEvent& event);

} // namespace platform
