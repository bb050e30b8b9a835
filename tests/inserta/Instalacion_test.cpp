// The installer's steps run in this process, where their message boxes are
// scripted.

#include "tests/inserta/RavisolHost.h"

#include "inserta/CargaDatos.h"
#include "inserta/Instalacion.h"
#include "inserta/TablasFormulario.h"
#include "platform/databasetesting.h"
#include "platform/database.h"
#include "platform/textfile.h"

#include <QDir>

using namespace inserta;
namespace mb = platform::mb;

namespace {

class InstalacionTest : public RavisolHost {
protected:
    void SetUp() override
    {
        RavisolHost::SetUp();
        if (HasFatalFailure())
            return;
        bHuboFalla = false;
        ASSERT_TRUE(AbreBaseInstalacion(paths().sysPath));
    }
    void TearDown() override
    {
        oBaseInstalacion.reset();
        RavisolHost::TearDown();
    }
};

TEST_F(InstalacionTest, ExistingTableAsksAndIsLeftAsItIs)
{
    const QList<platform::ColumnDef> definicion{{"doc_id_d", platform::FieldType::Text, 15}};
    ASSERT_TRUE(EjecutaSentencia([&] { oBaseInstalacion->createTable("F0913DEUDAS", definicion); }));
    oBaseInstalacion->execute("INSERT INTO F0913DEUDAS VALUES ('20100070970')");

    for (int nRespuesta : {mb::Yes, mb::No}) {
        script.clear();
        script.answer(nRespuesta);
        EXPECT_TRUE(EjecutaSentencia([&] { oBaseInstalacion->createTable("F0913DEUDAS", definicion); }));
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.shown()[0].title, QStringLiteral("Mensaje"));
        EXPECT_EQ(script.shown()[0].text,
                  QStringLiteral("\nSe  detectado que ya existen las tablas del VRD  Desea Sobreescribirlas?"));
        EXPECT_EQ(script.shown()[0].style, mb::Question | mb::YesNo | mb::DefaultButton2);
        EXPECT_EQ(oBaseInstalacion->scalar("SELECT count(*) FROM F0913DEUDAS").toInt(), 1);
    }
    EXPECT_FALSE(bHuboFalla);
}

TEST_F(InstalacionTest, ExistingPrimaryKeyIsSkippedSilently)
{
    oBaseInstalacion->createTable("F0913MOTIVO", {{"doc_id_d", platform::FieldType::Text, 15}});
    const auto clave = [] { oBaseInstalacion->createPrimaryKey("F0913MOTIVO", "PK_F0913MOTIVO", {"doc_id_d"}); };
    ASSERT_TRUE(EjecutaSentencia(clave));

    EXPECT_TRUE(EjecutaSentencia(clave));

    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_FALSE(bHuboFalla);
}

TEST_F(InstalacionTest, OtherFailureIsShownAndRemembered)
{
    script.answer(mb::Ok);

    EXPECT_FALSE(EjecutaSentencia("DELETE FROM NoExiste WHERE a = ?", {"x"}));

    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Error al Ejecutar Sentencia SQL"));
    EXPECT_TRUE(script.shown()[0].text.startsWith(QStringLiteral("Error Número : 3078\n")));
    EXPECT_EQ(script.shown()[0].style, mb::Critical | mb::OkOnly);
    EXPECT_TRUE(bHuboFalla);
}

TEST_F(InstalacionTest, FailedUnitOfWorkLeavesNothingBehind)
{
    script.answer(mb::Ok);
    const int nAntes = oBaseInstalacion->scalar("SELECT count(*) FROM Param").toInt();

    EXPECT_FALSE(EjecutaTransaccion([] {
        return GrabaParam("990", "0913", "NUEVO", "001") && GrabaParam("990", "0914", QString(61, u'X'), "0001");
    }));

    EXPECT_EQ(script.shown().size(), 1);
    EXPECT_EQ(oBaseInstalacion->scalar("SELECT count(*) FROM Param").toInt(), nAntes);
    EXPECT_EQ(oBaseInstalacion->transactionLevel(), 0);
}

TEST_F(InstalacionTest, ValueWithAQuoteIsStoredAsItStands)
{
    EXPECT_TRUE(GrabaParam("990", "O'HARA", "D'ARCY ' OR '1'='1", "001"));
    EXPECT_TRUE(GrabaParam("990", "O'HARA", "D'ARCY", "002"));

    EXPECT_TRUE(ExisteParam("990", "O'HARA"));
    EXPECT_EQ(oBaseInstalacion->scalar("SELECT Funcion || '/' || Correl_Param FROM Param WHERE Argumento = ?",
                                       {"O'HARA"}),
              QVariant(QStringLiteral("D'ARCY/002")));
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(InstalacionTest, FileCheckNeedsTheFolderAndTheFile)
{
    const QString sCarpeta = paths().sysPath + "tmp/";
    ASSERT_TRUE(platform::writeTextLines(sCarpeta + "a.txt", {"x"}));

    EXPECT_TRUE(VerificaArchivo(sCarpeta + "a.txt"));
    EXPECT_TRUE(VerificaArchivo("  " + sCarpeta + "a.txt  "));
    EXPECT_FALSE(VerificaArchivo(sCarpeta + "b.txt"));
    EXPECT_FALSE(VerificaArchivo(paths().sysPath + "nada/a.txt"));
    EXPECT_FALSE(VerificaArchivo(sCarpeta));
    EXPECT_FALSE(VerificaArchivo("a.txt"));
    QDir::setCurrent(sCarpeta);
    EXPECT_TRUE(VerificaArchivo("a.txt"));
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST(SecuenciaParametro, TakesThreeDigitsAtLeast)
{
    EXPECT_EQ(FormatoCorrelativo("7"), QStringLiteral("007"));
    EXPECT_EQ(FormatoCorrelativo("13"), QStringLiteral("013"));
    EXPECT_EQ(FormatoCorrelativo(" 5 "), QStringLiteral("005"));
    EXPECT_EQ(FormatoCorrelativo("1234"), QStringLiteral("1234"));
    EXPECT_EQ(FormatoCorrelativo("1e300"), std::nullopt);
    EXPECT_EQ(FormatoCorrelativo("-1e15"), std::nullopt);
    EXPECT_EQ(FormatoCorrelativo("2.5"), QStringLiteral("003"));
    EXPECT_EQ(FormatoCorrelativo(""), QString());
    EXPECT_EQ(FormatoCorrelativo("A1"), QStringLiteral("A1"));
}

// Other tests get the form's tables and rows from the host fixture.
TEST_F(InstalacionTest, AFailingFixedParameterRowShowsItsBoxAndTheOthersAreWritten)
{
    script.answer(mb::Ok);
    {
        platform::testing::FailWriteNumber falla(2); // the second fixed row, UIT 2010
        CargaDatos();
        EXPECT_TRUE(falla.failed());
    }
    ASSERT_GE(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Error al Ejecutar Sentencia SQL"));
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("Error Número : 3043\nError de disco o de red."));
    EXPECT_EQ(oBaseInstalacion->scalar("SELECT count(*) FROM Param WHERE Numero = '404' AND Argumento = '20100101'").toInt(), 0);
    EXPECT_EQ(oBaseInstalacion->scalar("SELECT count(*) FROM Param WHERE Numero = '404'").toInt(), 7);
    EXPECT_EQ(oBaseInstalacion->scalar("SELECT Funcion FROM Param WHERE Numero = '880'").toString(),
              QStringLiteral("1 20070601 20991231 20070301"));
    EXPECT_TRUE(bHuboFalla);
}

TEST_F(InstalacionTest, AFailedEmptyTextRebuildOfATableIsReported)
{
    CreaTablas();
    oBaseInstalacion->setAllowZeroLength("F0913DEUDAS", "Num_ord_dj", false);
    // The rebuild makes the table anew under this name first.
    oBaseInstalacion->createTable("F0913DEUDAS$rebuilt", {{"a", platform::FieldType::Text, 5}});
    script.answer(mb::Ok);

    PermiteLongitudCero("F0913DEUDAS");

    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Error al Ejecutar Sentencia SQL"));
    EXPECT_TRUE(script.shown()[0].text.startsWith(QStringLiteral("Error Número : 3010\n")));
    EXPECT_TRUE(bHuboFalla);
}

TEST_F(InstalacionTest, AParameterFileNumberOutOfRangeIsRefused)
{
    const QString sArchivo = paths().sysPath + QStringLiteral("Par913.txt");
    ASSERT_TRUE(platform::writeTextLines(sArchivo, {QStringLiteral("990|0913|UNO|1|"), QStringLiteral("990|0914|DOS|1e300|")}));
    QList<LineaParametro> parametros;
    QString sError;
    EXPECT_FALSE(LeeParametros(sArchivo, &parametros, &sError));
    EXPECT_EQ(sError, QStringLiteral("el campo 4 de la línea 2 está fuera de rango"));

    const QString sEnvios = paths().sysPath + QStringLiteral("env913.txt");
    ASSERT_TRUE(platform::writeTextLines(sEnvios, {QStringLiteral("0913|CAB|HCAB|CAB|1|1|1|1e300|3|6|0|5|1|")}));
    QList<DefinicionEnvio> definiciones;
    EXPECT_FALSE(LeeDefinicionesEnvio(sEnvios, &definiciones, &sError));
    EXPECT_EQ(sError, QStringLiteral("el campo 8 de la línea 1 está fuera de rango"));
}

class FixtureConTablas : public HostTest {};

TEST_F(FixtureConTablas, HostFixtureInstallsTheFormTablesAndRows)
{
    for (const QString& tabla : tablasDelFormulario()) {
        ASSERT_TRUE(db().tableExists(tabla)) << tabla.toStdString();
        EXPECT_EQ(db().primaryKeyColumns(tabla).size(), claveEsperada(tabla).size()) << tabla.toStdString();
    }
    EXPECT_EQ(db().scalar("SELECT count(*) FROM Param WHERE Numero = '404'").toInt(), 8);
    EXPECT_EQ(db().scalar("SELECT count(*) FROM reportes").toInt(), 4);
    EXPECT_GT(db().scalar("SELECT count(*) FROM envio_t WHERE formulario = '0913'").toInt(), 0);
    EXPECT_TRUE(script.shown().isEmpty());
}

} // namespace
