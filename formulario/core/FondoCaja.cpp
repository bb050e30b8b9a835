#include "formulario/core/FondoCaja.h"

#include <QPalette>
#include <QWidget>

void PintaFondo(QWidget& oControl, const QColor& color)
{
    QPalette paleta = oControl.palette();
    paleta.setColor(QPalette::All, QPalette::Base, color);
    paleta.setColor(QPalette::All, QPalette::Text, Qt::black);
    paleta.setColor(QPalette::All, QPalette::ButtonText, Qt::black);
    oControl.setPalette(paleta);
}
