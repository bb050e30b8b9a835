#pragma once

// The keys and clicks a user gives a widget, delivered as the window system
// would deliver them: through the application object.

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QString>
#include <QWidget>

// A key pressed and released in the widget, as the user types it.
inline void Pulsa(QWidget& w, int nTecla, Qt::KeyboardModifiers modificadores = Qt::NoModifier,
                  const QString& sTexto = {})
{
    QKeyEvent presion(QEvent::KeyPress, nTecla, modificadores, sTexto);
    QApplication::sendEvent(&w, &presion);
    QKeyEvent suelta(QEvent::KeyRelease, nTecla, modificadores, sTexto);
    QApplication::sendEvent(&w, &suelta);
}

inline void Teclea(QWidget& w, const QString& sTexto)
{
    for (QChar c : sTexto)
        Pulsa(w, c.toUpper().unicode(), Qt::NoModifier, QString(c));
}

inline void Pega(QWidget& w)
{
    QKeyEvent atajo(QEvent::ShortcutOverride, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    QApplication::sendEvent(&w, &atajo);
    Pulsa(w, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
}

// The mouse event of kind `tipo` with `boton` at `punto` of the widget.
inline void Raton(QWidget& w, QEvent::Type tipo, Qt::MouseButton boton, QPoint punto)
{
    const Qt::MouseButtons pulsados = tipo == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(boton);
    QMouseEvent evento(tipo, punto, w.mapToGlobal(punto), boton, pulsados, Qt::NoModifier);
    QApplication::sendEvent(&w, &evento);
}

inline void Clic(QWidget& w, Qt::MouseButton boton = Qt::LeftButton, QPoint punto = QPoint(2, 2))
{
    Raton(w, QEvent::MouseButtonPress, boton, punto);
    Raton(w, QEvent::MouseButtonRelease, boton, punto);
}

// Two clicks at the same point, the second a double click.
inline void DobleClic(QWidget& w, QPoint punto)
{
    Clic(w, Qt::LeftButton, punto);
    Raton(w, QEvent::MouseButtonDblClick, Qt::LeftButton, punto);
    Raton(w, QEvent::MouseButtonRelease, Qt::LeftButton, punto);
}
