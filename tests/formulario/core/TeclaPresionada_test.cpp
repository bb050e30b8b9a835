#include "formulario/core/Registros.h"
#include "formulario/core/TeclaPresionada.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {

void Teclea(QWidget& control, int nTecla, const QString& sTexto)
{
    QKeyEvent evento(QEvent::KeyPress, nTecla, Qt::NoModifier, sTexto);
    QApplication::sendEvent(&control, &evento);
}

} // namespace

TEST(KeyPress, AFilterDropsTheKeysItSetsToZero)
{
    QLineEdit caja;
    AsignaKeyPress(caja, [](int& nKeyAscii) { SoloNumeros(nKeyAscii); });
    Teclea(caja, Qt::Key_1, QStringLiteral("1"));
    Teclea(caja, Qt::Key_A, QStringLiteral("a"));
    Teclea(caja, Qt::Key_Period, QStringLiteral("."));
    Teclea(caja, Qt::Key_2, QStringLiteral("2"));
    EXPECT_EQ(caja.text(), QStringLiteral("12"));
    Teclea(caja, Qt::Key_Backspace, QStringLiteral("\b"));
    EXPECT_EQ(caja.text(), QStringLiteral("1"));
}

TEST(KeyPress, TheHandlerGetsWindows1252CodesAndCanTypeAnotherCharacter)
{
    QLineEdit caja;
    QList<int> vistos;
    AsignaKeyPress(caja, [&vistos](int& nKeyAscii) {
        vistos.append(nKeyAscii);
        if (nKeyAscii >= 'a' && nKeyAscii <= 'z')
            nKeyAscii -= 32;
        if (nKeyAscii == 241) // ñ
            nKeyAscii = 209;  // Ñ
    });
    Teclea(caja, Qt::Key_A, QStringLiteral("a"));
    Teclea(caja, Qt::Key_Ntilde, QStringLiteral("ñ"));
    Teclea(caja, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(caja.text(), QStringLiteral("AÑ"));
    EXPECT_EQ(vistos, (QList<int>{'a', 241, 13}));
}

TEST(KeyPress, KeysThatTypeNothingAndTabPassUntouched)
{
    QLineEdit caja;
    int nLlamadas = 0;
    AsignaKeyPress(caja, [&nLlamadas](int& nKeyAscii) {
        ++nLlamadas;
        nKeyAscii = 0;
    });
    caja.setText(QStringLiteral("abc"));
    Teclea(caja, Qt::Key_Left, QString());
    Teclea(caja, Qt::Key_Tab, QStringLiteral("\t"));
    EXPECT_EQ(caja.cursorPosition(), 2);
    // Delete comes with the character 127 from the window system.
    Teclea(caja, Qt::Key_Delete, QString(QChar(127)));
    EXPECT_EQ(nLlamadas, 0);
    EXPECT_EQ(caja.text(), QStringLiteral("ab"));
}
