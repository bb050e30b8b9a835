#include "formulario/subsystems/review/EntradaSinPegar.h"
#include "tests/formulario/subsystems/review/Frm913Simulado.h"

#include <QClipboard>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <gtest/gtest.h>

namespace {

// Each way of pasting, tried on a field that refuses them.
TEST(EntradaSinPegar, NoWayOfPastingPutsTextIntoTheField)
{
    const struct {
        const char* sCamino;
        std::function<void(QLineEdit&)> pega;
    } caminos[] = {
        {"Ctrl+V", [](QLineEdit& campo) { Pega(campo); }},
        {"Shift+Insert", [](QLineEdit& campo) { Pulsa(campo, Qt::Key_Insert, Qt::ShiftModifier); }},
        {"middle button", [](QLineEdit& campo) { Clic(campo, Qt::MiddleButton); }},
        {"drop",
         [](QLineEdit& campo) {
             QMimeData datos;
             datos.setText(QStringLiteral("77"));
             QDropEvent suelta(QPointF(2, 2), Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
             QApplication::sendEvent(&campo, &suelta);
         }},
    };
    for (const auto& camino : caminos) {
        QLineEdit campo;
        ImpidePegar(campo);
        QApplication::clipboard()->setText(QStringLiteral("77"));
        QApplication::clipboard()->setText(QStringLiteral("77"), QClipboard::Selection);
        camino.pega(campo);
        EXPECT_EQ(campo.text(), QString()) << camino.sCamino;
    }
}

TEST(EntradaSinPegar, TheRightButtonEmptiesTheClipboardWhereAsked)
{
    for (bool bBotonDerecho : {true, false}) {
        QLineEdit campo;
        ImpidePegar(campo, bBotonDerecho);
        QApplication::clipboard()->setText(QStringLiteral("77"));
        Clic(campo, Qt::RightButton);
        EXPECT_EQ(QApplication::clipboard()->text(), bBotonDerecho ? QString() : QStringLiteral("77"));
        EXPECT_EQ(campo.contextMenuPolicy(), Qt::NoContextMenu);
    }
}

TEST(EntradaSinPegar, TypingStillWorks)
{
    QLineEdit campo;
    ImpidePegar(campo);
    Teclea(campo, QStringLiteral("12"));
    EXPECT_EQ(campo.text(), QStringLiteral("12"));
}

} // namespace
