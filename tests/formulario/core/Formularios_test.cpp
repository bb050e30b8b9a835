#include "formulario/core/Formularios.h"

#include <QDialog>
#include <QMainWindow>
#include <gtest/gtest.h>

TEST(CentraFormulario, PlacesTheFormAtHalfOfWhatTheMainWindowExceedsItBy)
{
    QMainWindow principal;
    principal.resize(800, 600);
    QDialog forma;
    forma.resize(201, 100);
    CentraFormulario(forma);
    // (800 - 201) / 2 = 299 (the whole part), (600 - 100) / 2 = 250.
    EXPECT_EQ(forma.pos(), QPoint(299, 250));
}

TEST(CentraFormulario, WithoutAMainWindowTheFormStaysWhereItIs)
{
    QDialog forma;
    forma.move(10, 20);
    CentraFormulario(forma);
    EXPECT_EQ(forma.pos(), QPoint(10, 20));
}
