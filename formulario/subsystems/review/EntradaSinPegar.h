#pragma once

// Entry fields that take nothing from the clipboard: amounts, numbers and
// dates are typed, key by key, through their filters.

class QWidget;

// Refuses every paste into the field: Shift+Insert and Ctrl+V empty the
// clipboard and insert nothing, the context menu, the middle-button paste
// and dropping text are off. With `bBotonDerecho` a press of the right
// button also empties the clipboard.
void ImpidePegar(QWidget& oCampo, bool bBotonDerecho = true);
