#pragma once

// The ways the cursor leaves an entry box of a review dialog shown on the
// screen, for the tests that a box is entered and left only when the focus
// moves between the dialog's own controls.

#include "tests/support/EventosUsuario.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialog>
#include <QLineEdit>
#include <QWindow>
#include <array>

enum class Salida {
    Escape,       // the dialog closes with Escape
    BotonCerrar,  // or with its window's close button
    OtraVentana,  // another window of the program is activated, then the dialog again
    OtroPrograma, // another program's window, then the dialog again
    Tab,          // the next control of the dialog
};

inline const char* NombreSalida(Salida eSalida)
{
    static constexpr std::array kNombres = {"Escape", "BotonCerrar", "OtraVentana", "OtroPrograma", "Tab"};
    return kNombres.at(static_cast<std::size_t>(eSalida));
}

inline bool CierraElDialogo(Salida eSalida)
{
    return eSalida == Salida::Escape || eSalida == Salida::BotonCerrar;
}

// The dialog on the screen, its window active, and `sTexto` typed in `caja`;
// then the cursor leaves the box that way, and back from another window
// `sMas` is typed too.
inline void TecleaYSale(QDialog& dlg, QLineEdit& caja, const QString& sTexto, Salida eSalida, const QString& sMas)
{
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    caja.setFocus();
    QApplication::processEvents();
    Teclea(caja, sTexto);
    switch (eSalida) {
    case Salida::Escape: Pulsa(caja, Qt::Key_Escape); break;
    case Salida::BotonCerrar: {
        QCloseEvent cierre;
        QApplication::sendEvent(dlg.windowHandle(), &cierre);
        break;
    }
    case Salida::OtraVentana:
    case Salida::OtroPrograma: {
        QWidget otra;
        if (eSalida == Salida::OtraVentana)
            otra.show();
        QApplication::setActiveWindow(eSalida == Salida::OtraVentana ? &otra : nullptr);
        QApplication::processEvents();
        QApplication::setActiveWindow(&dlg);
        QApplication::processEvents();
        Teclea(caja, sMas);
        break;
    }
    case Salida::Tab: Pulsa(caja, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")); break;
    }
    QApplication::processEvents();
}
