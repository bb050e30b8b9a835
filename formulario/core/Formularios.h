#pragma once

// Helpers every form uses: the program-wide mouse pointer, showing a fresh
// instance of a form modally, centring a form on the main window's size, the
// period written MM/YYYY, and the toolbar picture of printing.

#include "formulario/core/SharedForm.h"
#include "platform/dialogs.h"

#include <QIcon>
#include <QString>

// The program-wide mouse pointer: the hourglass, or back to normal.
void PunteroReloj();
void PunteroNormal();

// Places the form at half of what the main window's width and height exceed
// its own by (the main window is the program's top-level main window); a
// program without one leaves the form where it is.
void CentraFormulario(QWidget& oForm);

// The period YYYYMM written MM/YYYY.
QString PeriodoMMAAAA(const QString& sPeriodoAAAAMM);

// A small printer: the picture of every toolbar button that prints.
QIcon IconoImpresora();

// Shows a fresh instance of a form modally and releases it once it closes:
// any older instance is released first, and the form is loaded before it shows.
template <class Form>
int MuestraFormularioNuevo()
{
    SharedForm<Form>::release();
    Form& frm = SharedForm<Form>::instance();
    frm.Form_Load();
    const int nResultado = platform::showModal(frm);
    SharedForm<Form>::release();
    return nResultado;
}
