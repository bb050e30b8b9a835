#include "formulario/reports/Repo04.h"

#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/reports/ImpLinea.h"
#include "platform/dberror.h"
#include "platform/textfile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ImprimeDeclaracionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        sArchivo = dir.filePath(QStringLiteral("00000003.PRN"));
        sSalida = kSalidaArchivo;
        nDestino = 1;
        nUltPagina = 0;
    }
    void TearDown() override { sArchivo.clear(); }

    QStringList Lineas()
    {
        QStringList lineas;
        EXPECT_TRUE(platform::readTextLines(sArchivo, &lineas));
        return lineas;
    }

    QTemporaryDir dir;
};

TEST_F(ImprimeDeclaracionTest, TheFormSheetAloneEndsWithAPageCountOfOne)
{
    nUltPagina = 4; // left by an earlier report
    ImprimeDeclaracion(EleccionReporte{});
    EXPECT_EQ(Lineas(), QStringList{QStringLiteral("<!nHojas!>1<!/nHojas!>")});
    EXPECT_EQ(nPagina, 0);
    EXPECT_EQ(AbreNumero(nArchivo, sArchivo, modoArchivo::Salida), 0); // it was closed
    CierraArchivo(nArchivo);
}

TEST_F(ImprimeDeclaracionTest, WithAnnexesThePageCountFollowsTheLastAnnexPage)
{
    struct Caso { bool bDeclaracion; int nUltima; const char* sCuenta; int nPagina; };
    for (const Caso caso : {Caso{false, 2, "<!nHojas!>3<!/nHojas!>", -1}, Caso{true, 5, "<!nHojas!>6<!/nHojas!>", 0}}) {
        nUltPagina = caso.nUltima;
        EleccionReporte eleccion;
        eleccion.bDeclaracion = caso.bDeclaracion;
        eleccion.bOtras = true;
        ImprimeDeclaracion(eleccion);
        EXPECT_EQ(Lineas().last(), QString::fromLatin1(caso.sCuenta));
        EXPECT_EQ(nPagina, caso.nPagina);
    }
}

TEST_F(ImprimeDeclaracionTest, AFileThatCannotBeCreatedRaisesItsFileError)
{
    sArchivo = dir.filePath(QStringLiteral("no/existe/00000003.PRN"));
    try {
        ImprimeDeclaracion(EleccionReporte{});
        FAIL() << "the report was written";
    } catch (const platform::DbError& err) {
        EXPECT_EQ(err.number(), errorArchivo::RutaNoExiste);
    }
}

} // namespace
