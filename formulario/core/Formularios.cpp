#include "formulario/core/Formularios.h"

#include <QApplication>
#include <QMainWindow>

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

void CentraFormulario(QWidget& oForm)
{
    for (const QWidget* ventana : QApplication::topLevelWidgets()) {
        if (qobject_cast<const QMainWindow*>(ventana)) {
            const QSize principal = ventana->frameGeometry().size();
            const QSize propio = oForm.frameGeometry().size();
            oForm.move((principal.width() - propio.width()) / 2, (principal.height() - propio.height()) / 2);
            return;
        }
    }
}
