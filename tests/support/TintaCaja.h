#pragma once

// How dark a box draws its text, read from the box as it is painted.

#include <QImage>
#include <QWidget>

#include <algorithm>

// The darkest grey level inside the box's frame: its text's ink.
inline int TintaMasOscura(QWidget& oCaja)
{
    const QImage imagen = oCaja.grab().toImage();
    int nMinimo = 0xFF;
    for (int y = 3; y < imagen.height() - 3; ++y) {
        for (int x = 3; x < imagen.width() - 3; ++x)
            nMinimo = std::min(nMinimo, qGray(imagen.pixel(x, y)));
    }
    return nMinimo;
}
