#include "formulario/core/Formularios.h"

#include <QApplication>

void PunteroReloj()
{
    if (QApplication::overrideCursor())
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    else
        QApplication::setOverrideCursor(Qt::WaitCursor);
}

void PunteroNormal()
{
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

QString PeriodoMMAAAA(const QString& sPeriodoAAAAMM)
{
    return sPeriodoAAAAMM.right(2) + QLatin1Char('/') + sPeriodoAAAAMM.left(4);
}
