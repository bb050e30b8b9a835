#pragma once

// The keyboard in every window of the program as the old platform had it:
// Return or Enter (the keypad's too) presses the push button that has the
// keyboard, and the control that has the keyboard shows it, however it got
// it. Qt leaves the first to auto-default buttons, which a dialog would also
// press for Enter in a field, and draws a focus frame only in a window whose
// focus was moved with Tab or a shortcut.

class QObject;

namespace platform {

// Watches every event of the application; installed once, with the
// application object.
void keepKeyboardConventions(QObject& application);

} // namespace platform
