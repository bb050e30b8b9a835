#pragma once

#include <functional>

class QWidget;

// Hands each character typed into the control to a KeyPress handler that
// takes the key code (Windows-1252: Backspace 8, Enter 13) by reference, as
// the forms' handlers do: a code set to 0 drops the key, another code types
// that character instead. Keys that type nothing (arrows, function keys,
// Delete) and Tab, which moves the focus, pass untouched.
void AsignaKeyPress(QWidget& oControl, std::function<void(int& KeyAscii)> evento);
