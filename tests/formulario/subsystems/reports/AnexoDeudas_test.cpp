#include "formulario/subsystems/reports/AnexoDeudas.h"

#include "formulario/core/ModGen00.h"
#include "formulario/subsystems/reports/DeclaracionImpresa.h"
#include "formulario/markup/ImpLinea.h"
#include "formulario/subsystems/reports/Repo04.h"
#include "platform/database.h"
#include "tests/support/ReporteTest.h"

#include <gtest/gtest.h>

namespace {

class AnexoDeudasTest : public ReporteTest {
protected:
    void SetUp() override
    {
        ReporteTest::SetUp();
        aCasilla[28] = QStringLiteral("4445555");
        aCasilla[541] = QStringLiteral("15/03/2010");
    }

    // A report of the annexes alone, as the driver writes it.
    QStringList SoloAnexos(void (*marca)(EleccionReporte&))
    {
        EleccionReporte eleccion;
        eleccion.bDeclaracion = false;
        marca(eleccion);
        ImprimeDeclaracion(eleccion, 6);
        return LineasReporte();
    }

    static DeudaReporte Deuda(const char* sNumDoc)
    {
        DeudaReporte deuda;
        deuda.sNumDoc = QString::fromLatin1(sNumDoc);
        deuda.vActS = QStringLiteral("1500.5");
        deuda.vActC = QStringLiteral("1234567.891");
        deuda.vConf = 2;
        return deuda;
    }

    // The lines from the annex's framed title on.
    static QStringList DesdeElTitulo(const QStringList& lineas, const QString& sTitulo)
    {
        for (int i = 0; i < lineas.size(); ++i) {
            if (lineas[i].contains(QLatin1Char('|') + sTitulo + QLatin1String("|True|14|")))
                return lineas.mid(i - 1);
        }
        ADD_FAILURE() << "no title " << sTitulo.toStdString();
        return {};
    }

    // The num_doc of every row the annex selection of that kind gives.
    QStringList Seleccion(const QString& sTipo, bool bAcogido)
    {
        const QVariantList valores = ArmaSqlAnexo(TablaAnexo(QStringLiteral("F0913DEUDAS")), sTipo, bAcogido);
        QStringList documentos;
        for (auto rs = db().openRecordset(sSQL, valores); !rs->eof(); rs->moveNext())
            documentos << rs->field(QStringLiteral("num_doc")).text();
        documentos.sort();
        return documentos;
    }
};

TEST_F(AnexoDeudasTest, AnEmptyAcceptedAnnexAloneSaysThereIsNothingToDeclare)
{
    const QStringList esperadas{
        "<!font!>Courier New<!/font!>",
        "<!Orientacion!>H<!/Orientacion!>",
        "<!Color!>&H00FFFFC0&<!/Color!>",
        "pPos|440|350|ALCOR|True|16|0|",
        "pPos|690|1330|0913|True|12|0|",
        "pPos|4240|400|REGIMEN DE REPROGRAMACION DE DEUDAS|True|9|0|",
        "pPos|14140|400|Pag. 1|False|8|0|",
        "pPos|1990|1170|RUC|False|8|0|",
        "pPos|4840|1170|20100070970|True|8|0|",
        "pPos|1990|1450|RAZÓN SOCIAL|False|8|0|",
        "pPos|4840|1450|COMERCIAL PEÑA HERMANOS S.A.C.|True|8|0|",
        "pPos|14170|1170|TELEFONO|False|8|0|",
        "pPos|14170|1440|4445555|False|8|0|",
        "pPos|14140|670|Copia para el|False|8|0|",
        "pPos|14140|900|Contribuyente|False|8|0|",
        "pCuadro|290|300|1840|1640|0|",
        "pCuadro|1840|300|13500|1100|0|",
        "pCuadro|13500|300|16000|1370|0|",
        "pCuadro|13500|650|16000|1100|0|",
        "pCuadro|13500|1370|16000|1640|0|",
        "pCuadro|1840|1100|13500|1370|0|",
        "pCuadro|1840|1100|4390|1640|0|",
        "pCuadro|290|1640|16000|2010|0|",
        "pPos|6248|1680|RESOLUCIONES - ACOGIDOS|True|14|0|",
        "pCuadro|290|2010|16000|2280|0|",
        "pPos|300|2010|Cantidad total de registros  : 0|False|8|0|",
        "pCuadro|290|2550|16000|2820|0|",
        "pPos|300|2550|RESOLUCIONES - ACOGIDOS|True|8|0|",
        "pPos|300|2820|NO EXISTE INFORMACIÓN A DECLARAR|False|8|0|",
        "<!nHojas!>1<!/nHojas!>",
    };
    EXPECT_EQ(SoloAnexos([](EleccionReporte& e) { e.bAcogidos = true; }), esperadas);
}

TEST_F(AnexoDeudasTest, AnAcceptedDebtIsOneLineUnderTheHeadingsWithTheTotals)
{
    InsertaDeuda(Deuda("0230010012345"));
    const QStringList esperadas{
        "pCuadro|290|1640|16000|2010|0|",
        "pPos|6248|1680|RESOLUCIONES - ACOGIDOS|True|14|0|",
        "pCuadro|290|2010|16000|2550|0|",
        "pPos|300|2010|PERIODO COD.   DESCRIPCIÓN DE TRIBUTO          TIPO  DE     Nº DE  RESOL    FECHA DE      DEUDA "
        "SEGÚN    IN  IN     DEUDA ACOGIDA|True|8|0|",
        "pPos|300|2280|        TRIB                                  RESOLUCIÖN                   PRESENTAC.        "
        "ALCOR       AC  CO   SEGÚN CONTRIBUYENTE|True|8|0|",
        "pPos|300|2550|12/2009 1011   IGV - CUENTA PROPIA            ORDEN DE P 0230010012345     15/03/2010 "
            + Blancos(10) + "1,500.50 SI  NO  " + Blancos(6) + "1,234,567.89|False|8|0|",
        "pCuadro|290|2820|16000|3090|0|",
        "pPos|300|2850|Cantidad total de registros  : 1|False|8|0|",
        "pPos|7800|2850|Totales :|False|8|0|",
        "pPos|90|2850|" + Blancos(88) + Blancos(10) + "1,500.50" + Blancos(9) + Blancos(6) + "1,234,567.89|False|8|0|",
        "<!nHojas!>1<!/nHojas!>",
    };
    EXPECT_EQ(DesdeElTitulo(SoloAnexos([](EleccionReporte& e) { e.bAcogidos = true; }),
                            QStringLiteral("RESOLUCIONES - ACOGIDOS")),
              esperadas);
}

TEST_F(AnexoDeudasTest, ADebtNotDecidedIsListedAmongTheNotIncludedWithADash)
{
    DeudaReporte deuda = Deuda("0230010012345");
    deuda.vAcog = QVariant();
    deuda.vConf = QVariant();
    InsertaDeuda(deuda);
    const QStringList lineas = SoloAnexos([](EleccionReporte& e) { e.bNoAcogidos = true; });
    const QStringList desde = DesdeElTitulo(lineas, QStringLiteral("RESOLUCIONES - NO ACOGIDOS"));
    ASSERT_GE(desde.size(), 6);
    EXPECT_TRUE(desde[5].contains(QStringLiteral("1,500.50 -   -   ")));
    EXPECT_EQ(desde[2 + 5], QStringLiteral("pPos|300|2850|Cantidad total de registros  : 1|False|8|0|"));
}

TEST_F(AnexoDeudasTest, OtherResolutionsArePortraitWithTheirOwnColumnsAndAZeroSumIsAPoint)
{
    DeudaReporte deuda = Deuda("0230010012345");
    deuda.sTipDeu = QStringLiteral("05");
    deuda.vActC = QStringLiteral("0");
    InsertaDeuda(deuda);
    const QStringList lineas = SoloAnexos([](EleccionReporte& e) { e.bOtras = true; });
    EXPECT_EQ(lineas[1], QStringLiteral("<!Orientacion!>V<!/Orientacion!>"));
    EXPECT_TRUE(lineas.contains(QStringLiteral("pPos|1750|1450|Apellidos y nombres|False|8|0|")));
    const QStringList esperadas{
        "pCuadro|290|1640|11000|2010|0|",
        "pPos|2924|1680|OTRAS RESOLUCIONES - RESOLUCIONES|True|14|0|",
        "pCuadro|290|2010|11000|2550|0|",
        "pPos|300|2010|PERIODO COD. DESCRIPCIÓN DE  TIPO  DE     Nº DE  RESOL    FECHA DE  TRIBUTO INSOLUTO   DEUDA "
        "ACOGIDA|True|8|0|",
        "pPos|300|2280|        TRIB    TRIBUTO     RESOLUCIÓN                   PRESENTAC. SEGÚN CONTRIBUY.  SEGÚN "
        "CONTRIBUY.|True|8|0|",
        "pPos|300|2550|12/2009 1011 IGV - CUENTA P ORDEN DE P 0230010012345     15/03/2010 " + Blancos(16) + " "
            + Blancos(12) + "0.00|False|8|0|",
        "pCuadro|290|2820|11000|3090|0|",
        "pPos|300|2850|Cantidad total de registros  : 1|False|8|0|",
        "pPos|6320|2850|Totales :|False|8|0|",
        "pPos|90|2850|" + Blancos(70) + Blancos(15) + "." + " " + Blancos(15) + ".|False|8|0|",
        "<!nHojas!>1<!/nHojas!>",
    };
    EXPECT_EQ(DesdeElTitulo(lineas, QStringLiteral("OTRAS RESOLUCIONES - RESOLUCIONES")), esperadas);
}

TEST_F(AnexoDeudasTest, ALongAnnexRunsOverPagesWithItsHeaderAndHeadingsOnEach)
{
    for (int i = 0; i < 80; ++i)
        InsertaDeuda(Deuda(QStringLiteral("02300100%1").arg(i, 5, 10, QLatin1Char('0')).toLatin1().constData()));
    const QStringList lineas = SoloAnexos([](EleccionReporte& e) { e.bAcogidos = true; });

    QList<int> detallesPorHoja(3, 0);
    QList<int> titulosPorHoja(3, 0);
    int nHojaAnterior = 0;
    for (int i = 0; i < lineas.size(); ++i) {
        const QString& sLinea = lineas[i];
        if (sLinea == QLatin1String("pNuevaHoja")) {
            ASSERT_LT(i + 1, lineas.size());
            EXPECT_EQ(lineas[i + 1], QStringLiteral("<!Orientacion!>H<!/Orientacion!>"));
            continue;
        }
        if (!sLinea.startsWith(QLatin1String("pPos|")) && !sLinea.startsWith(QLatin1String("pCuadro|")))
            continue;
        const int nHoja = sLinea.section(u'|', -2, -2).toInt();
        EXPECT_TRUE(nHoja == nHojaAnterior || nHoja == nHojaAnterior + 1) << sLinea.toStdString();
        nHojaAnterior = nHoja;
        ASSERT_LT(nHoja, 3);
        if (sLinea.contains(QLatin1String("|12/2009 1011 ")))
            ++detallesPorHoja[nHoja];
        if (sLinea.contains(QLatin1String("|PERIODO COD.")))
            ++titulosPorHoja[nHoja];
    }
    EXPECT_EQ(lineas.count(QStringLiteral("pNuevaHoja")), 2);
    EXPECT_EQ(detallesPorHoja, (QList<int>{37, 37, 6}));
    EXPECT_EQ(titulosPorHoja, (QList<int>{1, 1, 1}));
    for (const char* sPagina : {"pPos|14140|400|Pag. 1|False|8|0|", "pPos|14140|400|Pag. 2|False|8|1|",
                                "pPos|14140|400|Pag. 3|False|8|2|"})
        EXPECT_TRUE(lineas.contains(QString::fromLatin1(sPagina))) << sPagina;
    EXPECT_TRUE(lineas.contains(QStringLiteral("pPos|6248|1680|RESOLUCIONES - ACOGIDOS|True|14|2|")));
    EXPECT_TRUE(lineas.contains(QStringLiteral("pPos|300|3880|Cantidad total de registros  : 80|False|8|2|")));
    EXPECT_EQ(lineas.last(), QStringLiteral("<!nHojas!>3<!/nHojas!>"));
}

TEST_F(AnexoDeudasTest, TheSelectionOfEachKindTakesItsOwnDebts)
{
    struct Fila { const char* sNumDoc; const char* sTipDeu; const char* sVerDeu; QVariant vAcog; int nValor; };
    const Fila filas[] = {
        {"A01-00-1", "01", "00", 1, 1},       {"A01-00-2", "01", "00", 2, 1},    {"A04-07-N", "04", "07", {}, 1},
        {"A01-09-1", "01", "09", 1, 1},       {"A05-0-1", "05", "0", 1, 1},      {"A05-08-1", "05", "08", 1, 0},
        {"A02-07-1", "02", "07", 1, 1},       {"A03-0-1", "03", "0", 1, 1},      {"A04-99-2", "04", "99", 2, 1},
        {"A06-00-1", "06", "00", 1, 1},
    };
    for (const Fila& fila : filas) {
        DeudaReporte deuda;
        deuda.sNumDoc = QString::fromLatin1(fila.sNumDoc);
        deuda.sTipDeu = QString::fromLatin1(fila.sTipDeu);
        deuda.sVerDeu = QString::fromLatin1(fila.sVerDeu);
        deuda.vAcog = fila.vAcog;
        deuda.nValor = fila.nValor;
        InsertaDeuda(deuda);
    }
    EXPECT_EQ(Seleccion(QStringLiteral("DN"), true), (QStringList{"A01-00-1"}));
    EXPECT_EQ(Seleccion(QStringLiteral("DN"), false), (QStringList{"A01-00-2", "A04-07-N"}));
    EXPECT_EQ(Seleccion(QStringLiteral("ODR"), false), (QStringList{"A05-0-1"}));
    EXPECT_EQ(Seleccion(QStringLiteral("CF"), true),
              (QStringList{"A01-00-1", "A02-07-1", "A04-07-N", "A04-99-2", "A05-0-1", "A05-08-1"}));
}

TEST_F(AnexoDeudasTest, ASentDeclarationIsSelectedByItsCorrelativeWithEveryValueBound)
{
    bEnviadas = true;
    sCorrel = QStringLiteral("002");
    sRuc = QStringLiteral("20100070970' OR '1'='1");
    EXPECT_EQ(ArmaSqlAnexo(TablaAnexo(QStringLiteral("F0913DEUDAS")), QStringLiteral("ODR"), false),
              (QVariantList{sRuc, 1, QStringLiteral("002")}));
    EXPECT_EQ(sSQL, QStringLiteral("SELECT * FROM HF0913DEUDAS WHERE doc_id_d = ? AND Semana = ? AND Correl = ? "
                                   "AND Ind_tip_deu = '05' AND Ind_valor = 1 ORDER BY per_doc DESC, cod_tri "));
    EXPECT_EQ(Seleccion(QStringLiteral("DN"), true), QStringList{});
}

} // namespace
