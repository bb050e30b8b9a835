#include "formulario/core/Formularios.h"

#include <QApplication>
#include <QMainWindow>
#include <QPainter>

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

// Drawn: the style offers no printer.
QIcon IconoImpresora()
{
    QPixmap dibujo(24, 24);
    dibujo.fill(Qt::transparent);
    QPainter p(&dibujo);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawRect(7, 2, 10, 8);                   // sheet going in
    p.setBrush(QColor(0xA0, 0xA0, 0xA0));
    p.drawRoundedRect(2, 9, 20, 9, 2, 2);      // body
    p.setBrush(Qt::white);
    p.drawRect(6, 15, 12, 7);                  // sheet coming out
    p.drawLine(8, 18, 16, 18);
    p.setBrush(QColor(0x20, 0xC0, 0x20));
    p.drawEllipse(17, 11, 3, 3);               // pilot light
    return QIcon(dibujo);
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
