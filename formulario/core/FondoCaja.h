#pragma once

// The backgrounds of the dialogs' boxes: white where the user types, grey
// where he only reads. Either way the text is drawn dark, also in a box
// that is disabled, so that what the user may not change is still read.

#include <QColor>

class QWidget;

inline const QColor kGris(0xC0, 0xC0, 0xC0);
inline const QColor kBlanco(0xFF, 0xFF, 0xFF);

void PintaFondo(QWidget& oControl, const QColor& color);
