#include "formulario/subsystems/request/GrabaDeclaracion.h"

#include "formulario/core/ModGen00.h"
#include "platform/database.h"
#include "platform/databasetesting.h"
#include "tests/formulario/subsystems/request/DeudasPrueba.h"
#include "tests/support/HostTest.h"
#include "tests/support/ProcesoInterrumpido.h"
#include "tests/support/SmallDisk.h"

#include <QDate>
#include <QFile>
#include <csignal>
#include <sys/wait.h>

using namespace platform::mb;

namespace {

const QString kRuc = QStringLiteral("20100070970");
const QStringList kTablasGuardadas{"CAB", "DET", "F0913DEUDAS", "F0913MOTIVO", "F0913SUSTEN"};
const QString kTitulo = QStringLiteral("0913 Solicitud");

ClaveDeclaracion Clave(int nTipoDoc, const QString& sNumDoc, int nEntidad)
{
    ClaveDeclaracion clave;
    clave.nTipoDoc = nTipoDoc;
    clave.sNumDoc = sNumDoc;
    clave.sPeriodo = QStringLiteral("201003");
    clave.nEntidad = nEntidad;
    return clave;
}

class GrabaTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        sPeriodo = QStringLiteral("201003");
        nEntidad = 1;
        nInconsistencia = 1;
        // The declaration as the import left it, saved once before.
        InsertaCabecera(clave, 3, "0");
        InsertaCasilla(clave, "502", "5");
        InsertaCasilla(clave, "028", "999");
        DeudaPrueba guardada;
        guardada.sNumDoc = QStringLiteral("1");
        InsertaDeuda(db(), "F0913DEUDAS", guardada);
        InsertaMotivo("F0913MOTIVO", "1", 3);
        // Its work copy: the first debt changed, a second one added with a reason and its evidence.
        guardada.sActC = QStringLiteral("1163");
        InsertaDeuda(db(), "TMP_F0913DEUDAS", guardada);
        DeudaPrueba nueva;
        nueva.sNumDoc = QStringLiteral("2");
        InsertaDeuda(db(), "TMP_F0913DEUDAS", nueva);
        InsertaMotivo("TMP_F0913MOTIVO", "2", 1);
        InsertaSustento("2", 1);
        // Another entity's declaration of the same declarant stays as it is.
        InsertaCabecera(otra, 3, "0");
        InsertaCasilla(otra, "507", "700");
        DeudaPrueba ajena;
        ajena.nSemana = 2;
        InsertaDeuda(db(), "F0913DEUDAS", ajena);

        datos.clave = clave;
        datos.bRectifica = true;
        datos.bFusion = false;
        datos.sTelefono = QStringLiteral(" 4411234 ");
        datos.sFechaAcog = QStringLiteral("31/03/2010");
        datos.sTiposGarantia = QStringLiteral("010");
        datos.nDeudasNotificadas = 2;
        datos.nOtrasResoluciones = 0;
        datos.casillas = {{500, "12,345"}, {501, "0"}, {502, ""},    {503, "12"},
                          {504, "1,030"},  {505, "8030"}, {506, "SI"}, {535, "2,469"}};
    }

    void InsertaCabecera(const ClaveDeclaracion& c, int nBanco, const char* sCheque)
    {
        db().execute(QStringLiteral("INSERT INTO CAB (tip_doc_d, doc_id_d, periodo, formulario, Semana, estado, "
                                    "bcolibrad, cheque, nrocheque, efectivo, cNumero) "
                                    "VALUES (?, ?, ?, '0913', ?, 0, ?, ?, '01/03/2010', '0', '000000')"),
                     {c.nTipoDoc, c.sNumDoc, c.sPeriodo, c.nEntidad, nBanco, QString::fromLatin1(sCheque)});
    }

    void InsertaCasilla(const ClaveDeclaracion& c, const char* sCasilla, const char* sValor,
                        const QString& sTabla = QStringLiteral("DET"))
    {
        QString sColumnas = QStringLiteral("tip_doc_d, doc_id_d, periodo, formulario, Semana, Casilla, i_valor, "
                                           "idcasilla, cNumero");
        QString sValores = QStringLiteral("?, ?, ?, '0913', ?, ?, ?, '01', '000000'");
        QVariantList params{c.nTipoDoc, c.sNumDoc, c.sPeriodo, c.nEntidad, QString::fromLatin1(sCasilla),
                            QString::fromLatin1(sValor)};
        if (!c.sCorrel.isEmpty()) {
            sColumnas += QStringLiteral(", Correl");
            sValores += QStringLiteral(", ?");
            params << c.sCorrel;
        }
        db().execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(sTabla, sColumnas, sValores), params);
    }

    void InsertaMotivo(const QString& sTabla, const char* sNumDoc, int nMotivo)
    {
        db().execute(QStringLiteral("INSERT INTO %1 VALUES (6, ?, '201003', '0913', 1, '01', '200901', '010101', "
                                    "?, '0', ?, '000000')")
                         .arg(sTabla),
                     {kRuc, QString::fromLatin1(sNumDoc), nMotivo});
    }

    void InsertaSustento(const char* sNumDoc, int nMotivo)
    {
        db().execute(QStringLiteral("INSERT INTO TMP_F0913SUSTEN VALUES (6, ?, '201003', '0913', 1, '01', '200901', "
                                    "'010101', ?, '0', ?, 1, '0', 0, '-', 0, '-', 'prueba', '01/01/1901', '000000')"),
                     {kRuc, QString::fromLatin1(sNumDoc), nMotivo});
    }

    // Box -> i_valor of the declaration's DET rows.
    QMap<QString, QString> Casillas(const ClaveDeclaracion& c)
    {
        const auto rs = db().openRecordset(QStringLiteral("SELECT * FROM DET WHERE ") + c.Condicion(), c.Parametros());
        QMap<QString, QString> casillas;
        for (; !rs->eof(); rs->moveNext()) {
            EXPECT_EQ(rs->field("idcasilla").text(), "01");
            EXPECT_EQ(rs->field("cNumero").text().size(), 6);
            casillas.insert(rs->field("Casilla").text(), rs->field("i_valor").text());
        }
        return casillas;
    }

    // Every row of the saved tables, one text a row, in order.
    QStringList Volcado()
    {
        QStringList filas;
        for (const QString& sTabla : kTablasGuardadas) {
            for (const QString& sFila : rows(QStringLiteral("SELECT * FROM ") + sTabla))
                filas << sTabla + u'|' + sFila;
        }
        filas.sort();
        return filas;
    }

    QStringList NumerosDeDocumento(const QString& sTabla)
    {
        QStringList numeros;
        const auto rs = db().openRecordset(QStringLiteral("SELECT Num_doc FROM %1 WHERE Semana = 1 ORDER BY 1").arg(sTabla));
        for (; !rs->eof(); rs->moveNext())
            numeros << rs->field(0).text();
        return numeros;
    }

    ClaveDeclaracion clave = Clave(6, kRuc, 1);
    ClaveDeclaracion otra = Clave(6, kRuc, 2);
    DeclaracionFormulario datos;
};

TEST_F(GrabaTest, GuardaLaCabeceraConSuEstado)
{
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    const auto rs = db().openRecordset(QStringLiteral("SELECT * FROM CAB WHERE ") + clave.Condicion(), clave.Parametros());
    EXPECT_EQ(rs->field("estado").text(), "9");
    EXPECT_EQ(rs->field("Rectifica").text(), "1");
    EXPECT_EQ(rs->field("fec_pro").text(), QDate::currentDate().toString("dd/MM/yyyy"));
    EXPECT_EQ(rs->field("cNumero").text().size(), 6);
    EXPECT_NE(rs->field("cNumero").text(), "000000");
    EXPECT_EQ(nBcolibrad, 3);
    EXPECT_EQ(sBuenContrib, "0");
}

TEST_F(GrabaTest, UnaDeclaracionSinHallazgosQuedaConEstadoCero)
{
    nInconsistencia = 0;
    datos.bRectifica = false;
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    const auto rs = db().openRecordset(QStringLiteral("SELECT * FROM CAB WHERE ") + clave.Condicion(), clave.Parametros());
    EXPECT_EQ(rs->field("estado").text(), "0");
    EXPECT_EQ(rs->field("Rectifica").text(), "0");
}

TEST_F(GrabaTest, ReemplazaLasCasillasPorLasDelFormulario)
{
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    const QMap<QString, QString> esperadas{
        {"002", "20100070970"}, {"005", "1"},   {"007", "201003"}, {"028", "4411234"},   {"500", "12345"},
        {"501", "0"},           {"503", "12"},  {"504", "1030"},   {"505", "8030"},      {"506", "1"},
        {"535", "2469"},        {"541", "31/03/2010"},            {"545", "0"},         {"551", "010"},
        {"589", "0"},           {"593", "3"},   {"595", "2"},      {"596", "0"},         {"721", "1.2"},
        {"790", "05/01/2016"},  {"871", "1"}};
    EXPECT_EQ(Casillas(clave), esperadas);
    EXPECT_EQ(sGarantia, "1");
    EXPECT_EQ(Casillas(otra), (QMap<QString, QString>{{"507", "700"}}));
}

TEST_F(GrabaTest, DeclaranteSinRucNiCabeceraPrevia)
{
    const ClaveDeclaracion dni = Clave(1, QStringLiteral("41234567"), 1);
    datos.clave = dni;
    datos.bFusion.reset();
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    const QMap<QString, QString> casillas = Casillas(dni);
    EXPECT_FALSE(casillas.contains("002"));
    EXPECT_FALSE(casillas.contains("545")); // neither merger option chosen
    EXPECT_FALSE(casillas.contains("589")); // no good-taxpayer flag in a new header
    EXPECT_EQ(casillas.value("593"), "0");
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT estado FROM CAB WHERE ") + dni.Condicion(), dni.Parametros()).toInt(), 9);
}

TEST_F(GrabaTest, BuenContribuyenteGuardaCuotaInicialCero)
{
    db().execute(QStringLiteral("UPDATE CAB SET cheque = ' 1 '"));
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    const QMap<QString, QString> casillas = Casillas(clave);
    EXPECT_EQ(casillas.value("535"), "0");
    EXPECT_EQ(casillas.value("589"), "1");
}

TEST_F(GrabaTest, CopiaLasTablasDeTrabajoALasGuardadas)
{
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    EXPECT_EQ(NumerosDeDocumento("F0913DEUDAS"), (QStringList{"1", "2"}));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT mto_act_c FROM F0913DEUDAS WHERE Num_doc = '1'")).toString(), "1163");
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS WHERE Semana = 2")).toInt(), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT num_doc || cod_motivo FROM F0913MOTIVO")).toString(), "21");
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT des_otros FROM F0913SUSTEN WHERE num_doc = '2'")).toString(), "prueba");
}

TEST_F(GrabaTest, LasCasillasVuelvenComoLasMuestraElFormulario)
{
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    sGarantia.clear();
    const QMap<int, QString> casillas = CargaCasillas(clave);
    EXPECT_EQ(casillas.value(500), "12,345");
    EXPECT_EQ(casillas.value(504), "1,030");
    EXPECT_EQ(casillas.value(506), "SI");
    EXPECT_EQ(casillas.value(535), "2,469");
    EXPECT_EQ(casillas.value(28), "4411234");
    EXPECT_EQ(casillas.value(551), "010");
    EXPECT_EQ(casillas.value(541), "31/03/2010");
    EXPECT_FALSE(casillas.contains(502));
    EXPECT_EQ(sGarantia, "1");
}

TEST_F(GrabaTest, GrabarCasillaLeeOEscribeSegunElModo)
{
    nGrabando = 1;
    EXPECT_EQ(GrabarCasilla(clave, "513", "NO"), "");
    EXPECT_EQ(GrabarCasilla(clave, "514", "   "), ""); // writes nothing
    EXPECT_EQ(sGarantia, "0");
    nGrabando = 0;
    sGarantia.clear();
    EXPECT_EQ(GrabarCasilla(clave, "513", ""), "NO");
    EXPECT_EQ(sGarantia, "0");
    EXPECT_EQ(GrabarCasilla(clave, "514", ""), "");
    EXPECT_EQ(GrabarCasilla(clave, "502", ""), "5");
}

TEST_F(GrabaTest, UnaDeclaracionEnviadaSeLeeDeSuCorrelativo)
{
    ClaveDeclaracion enviada = clave;
    enviada.sCorrel = QStringLiteral("001");
    InsertaCasilla(enviada, "500", "100", "HDET");
    ClaveDeclaracion otraEnviada = clave;
    otraEnviada.sCorrel = QStringLiteral("002");
    InsertaCasilla(otraEnviada, "500", "200", "HDET");
    InsertaCasilla(otraEnviada, "501", "2", "HDET");
    bEnviadas = true;
    EXPECT_EQ(CargaCasillas(enviada), (QMap<int, QString>{{500, "100"}}));
}

TEST_F(GrabaTest, UnaEntidadDesconocidaGrabaCabeceraYCasillasSinBloquePropio)
{
    const ClaveDeclaracion desconocida = Clave(6, kRuc, 4);
    datos.clave = desconocida;
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT estado FROM CAB WHERE ") + desconocida.Condicion(),
                          desconocida.Parametros())
                  .toInt(),
              9);
    const QMap<QString, QString> casillas = Casillas(desconocida);
    EXPECT_EQ(casillas.size(), 19); // no guarantee types, no good-taxpayer flag in a new header
    EXPECT_FALSE(casillas.contains("551"));
    EXPECT_EQ(casillas.value("500"), "12345");
    EXPECT_EQ(casillas.value("535"), "2469");
}

struct CasoValor {
    int nCasilla;
    const char* sMostrado;
    const char* sGuardado;
    const char* sVuelto;
};

void PrintTo(const CasoValor& c, std::ostream* os)
{
    *os << c.nCasilla << " " << c.sMostrado;
}

class ClaseDeValorTest : public ::testing::TestWithParam<CasoValor> {};

TEST_P(ClaseDeValorTest, SeGuardaYSeMuestra)
{
    const CasoValor& c = GetParam();
    EXPECT_EQ(ValorGuardado(c.nCasilla, c.sMostrado), QString::fromUtf8(c.sGuardado));
    EXPECT_EQ(ValorMostrado(c.nCasilla, c.sGuardado), QString::fromUtf8(c.sVuelto));
}

INSTANTIATE_TEST_SUITE_P(
    Clases, ClaseDeValorTest,
    ::testing::Values(CasoValor{28, " 44 11 ", "44 11", "44 11"}, CasoValor{541, "01/03/2010", "01/03/2010", "01/03/2010"},
                      CasoValor{513, "SI", "1", "SI"}, CasoValor{534, "NO", "0", "NO"}, CasoValor{506, "X", "", ""},
                      CasoValor{545, " 1 ", "1", "1"}, CasoValor{545, "2", "0", "0"},
                      CasoValor{500, "1,234,567", "1234567", "1,234,567"}, CasoValor{504, "1,030.5", "1031", "1,031"},
                      CasoValor{589, "1", "1", "1"}, CasoValor{535, "0", "0", "0"}));

// ------------------------------------------------------------ failures

TEST_F(GrabaTest, CadaEscrituraFallidaDejaLaDeclaracionComoEstaba)
{
    const QStringList antes = Volcado();
    // The n-th write fails, for every n until the save has no n-th write.
    int n = 1;
    for (;; ++n) {
        SCOPED_TRACE(n);
        platform::testing::FailWriteNumber falla(n);
        script.answer(Ok); // the error box
        const bool bGrabada = GrabaFormulario(datos, kTitulo);
        if (!falla.failed())
            break;
        EXPECT_FALSE(bGrabada);
        EXPECT_EQ(db().transactionLevel(), 0);
        EXPECT_EQ(Volcado(), antes);
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.lastText(), "Error Número : 3043\nError de disco o de red.\n\nNo se ha grabado ningún cambio.");
        EXPECT_EQ(script.shown().first().title, kTitulo);
        EXPECT_EQ(script.shown().first().style, Critical | OkOnly);
        script.clear();
    }
    EXPECT_GT(n, 25); // header, deletions, 21 boxes, the copied rows
    EXPECT_EQ(Casillas(clave).size(), 21);
}

// The disk under the database is full: the save says so and leaves every
// table as it was.
TEST_F(GrabaTest, UnDiscoLlenoBajoLaBaseLoDiceYNoGrabaNada)
{
    const SmallDisk disco(paths().root + QStringLiteral("/disco"), 2048);
    if (!disco.mounted())
        GTEST_SKIP() << "only root mounts a tmpfs";
    const QString sCopia = paths().root + QStringLiteral("/disco/VRD.MDB");
    oBaseDatos.reset();
    ASSERT_TRUE(QFile::copy(paths().dbFile, sCopia));
    oBaseDatos = platform::Database::open(sCopia);
    const QStringList antes = Volcado();
    disco.fillRoom();

    script.answer(Ok);
    EXPECT_FALSE(GrabaFormulario(datos, kTitulo));

    EXPECT_EQ(script.lastText(), "Error Número : 61\nDisco lleno\n\nNo se ha grabado ningún cambio.");
    EXPECT_EQ(db().transactionLevel(), 0);
    EXPECT_EQ(Volcado(), antes);
}

// A saved table declared otherwise than its work table checks every copied
// row: an empty text the work table holds is refused on save.
struct CasoDeclaracionDistinta {
    const char* sRedeclarada; // the table whose column now takes or refuses an empty text
    const char* sTrabajo;     // the work table whose column is emptied
    const char* sColumna;
    bool bPermiteVacio;
};

void PrintTo(const CasoDeclaracionDistinta& c, std::ostream* os)
{
    *os << c.sRedeclarada << "." << c.sColumna;
}

class DeclaracionDistintaTest : public GrabaTest, public ::testing::WithParamInterface<CasoDeclaracionDistinta> {};

TEST_P(DeclaracionDistintaTest, LaGrabacionRechazaLaFilaQueLaTablaGuardadaNoAdmite)
{
    const CasoDeclaracionDistinta& c = GetParam();
    db().setAllowZeroLength(c.sRedeclarada, c.sColumna, c.bPermiteVacio);
    db().execute(QStringLiteral("UPDATE %1 SET %2 = ''").arg(c.sTrabajo, c.sColumna));
    const QStringList antes = Volcado();
    script.answer(Ok);
    EXPECT_FALSE(GrabaFormulario(datos, kTitulo));
    EXPECT_EQ(Volcado(), antes);
    EXPECT_TRUE(script.lastText().startsWith("Error Número : 3315\n")) << script.lastText().toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Tablas, DeclaracionDistintaTest,
    ::testing::Values(CasoDeclaracionDistinta{"F0913DEUDAS", "TMP_F0913DEUDAS", "mto_act_c", false},
                      CasoDeclaracionDistinta{"TMP_F0913SUSTEN", "TMP_F0913SUSTEN", "des_otros", true}));

TEST_F(GrabaTest, ReintentarTrasUnaTablaBloqueadaRepiteTodaLaGrabacion)
{
    const auto otroUsuario = platform::Database::open(paths().dbFile);
    otroUsuario->beginTrans();
    otroUsuario->execute(QStringLiteral("UPDATE CAB SET efectivo = '1' WHERE Semana = 2"));
    int nCuadros = 0;
    script.onUnexpected = [&](const platform::ShownMessage& cuadro) {
        ++nCuadros;
        EXPECT_TRUE(cuadro.title.startsWith("Reintentos de acceso"));
        otroUsuario->commitTrans(); // the other user is done; Retry is the default answer
    };
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    EXPECT_EQ(nCuadros, 1);
    EXPECT_EQ(Casillas(clave).size(), 21);
    EXPECT_EQ(NumerosDeDocumento("F0913DEUDAS"), (QStringList{"1", "2"}));
}

TEST_F(GrabaTest, UnProcesoTerminadoEnMedioDeLaGrabacionDejaLaDeclaracionEntera)
{
    const QStringList antes = Volcado();
    // The header, a box, the copied debts and reasons, the initial instalment written after them.
    for (const auto& [sTabla, nFilas] : {std::pair{"CAB", 1}, std::pair{"DET", 5}, std::pair{"F0913DEUDAS", 2},
                                          std::pair{"F0913MOTIVO", 1}, std::pair{"F0913SUSTEN", 1},
                                          std::pair{"DET", 21}}) {
        SCOPED_TRACE(std::string(sTabla) + " " + std::to_string(nFilas));
        const int estado = EjecutaYMuere(paths().dbFile, sTabla, nFilas, [&] { GrabaFormulario(datos, kTitulo); });
        ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << estado;
        EXPECT_EQ(Volcado(), antes);
    }
    ASSERT_TRUE(GrabaFormulario(datos, kTitulo));
    EXPECT_EQ(Casillas(clave).size(), 21);
}

} // namespace
