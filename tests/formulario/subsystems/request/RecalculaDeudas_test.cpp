#include "formulario/subsystems/request/RecalculaDeudas.h"

#include "formulario/core/ModGen00.h"
#include "formulario/core/modGen02.h"
#include "formulario/core/ControlValor.h"
#include "platform/database.h"
#include "tests/formulario/subsystems/request/DeudasPrueba.h"
#include "tests/support/HostTest.h"

namespace {

const QString kRuc = QStringLiteral("20100070970");
const QString kTrabajo = QStringLiteral("TMP_F0913DEUDAS");

struct Importes {
    QString sIntC;
    QString sActC;
};

class RecalculaTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        nEntidad = 1;
        sPeriodo = QStringLiteral("201003");
        sTim = QStringLiteral("1.2");
        FijaLectorFechaPersonalizado([] { return QDate(2010, 3, 1); });
    }
    void TearDown() override
    {
        FijaLectorFechaPersonalizado({});
        HostTest::TearDown();
    }

    // A debt accepted with the stated amounts: 1,000 of tribute, 50 of
    // capitalised interest and 100 of interest.
    DeudaPrueba Deuda(const QString& sNumDoc)
    {
        DeudaPrueba d;
        d.sNumDoc = sNumDoc;
        d.sTributoS = d.sTributoC = QStringLiteral("1000.00");
        d.sIntCapS = d.sIntCapC = QStringLiteral("50.00");
        d.sIntS = d.sIntC = QStringLiteral("100.00");
        d.sActS = QStringLiteral("1150.00");
        d.sActC = QStringLiteral("1150");
        return d;
    }

    Importes Lee(const QString& sNumDoc)
    {
        const auto rs = db().openRecordset(QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE Num_doc = ?"), {sNumDoc});
        return {rs->field("mto_int_c").text(), rs->field("mto_act_c").text()};
    }

    // A debt without capitalised interest of a declaration of `sPeriodoDj`,
    // TIM 1.5 %, statement of 01/12/2009, updated to 15/01/2010.
    Importes ActualizadaEnEnero(const QString& sPeriodoDj)
    {
        sPeriodo = sPeriodoDj;
        sTim = QStringLiteral("1.5");
        FijaLectorFechaPersonalizado([] { return QDate(2009, 12, 1); });
        DeudaPrueba d = Deuda("1");
        d.sIntCapS = QStringLiteral("0.00");
        InsertaDeuda(db(), kTrabajo, d);
        Recalcula_deuda(kRuc, "15/01/2010");
        return Lee("1");
    }
};

TEST_F(RecalculaTest, InteresHastaLaFechaDeActualizacion)
{
    // 30 days at 1.2 % a month: 0.012 of 1,050.
    InsertaDeuda(db(), kTrabajo, Deuda("1"));
    Recalcula_deuda(kRuc, "31/03/2010");
    const Importes i = Lee("1");
    EXPECT_EQ(i.sIntC, "112.60");
    EXPECT_EQ(i.sActC, "1163"); // 1,000 + 12.60 + 150 = 1,162.60
}

TEST_F(RecalculaTest, ElTotalRedondeaLaMitadHaciaArriba)
{
    DeudaPrueba d = Deuda("1");
    d.sIntCapS = QStringLiteral("0.00");
    d.sIntS = QStringLiteral("0.50");
    InsertaDeuda(db(), kTrabajo, d);
    Recalcula_deuda(kRuc, "31/03/2010");
    const Importes i = Lee("1");
    EXPECT_EQ(i.sIntC, "12.50");
    EXPECT_EQ(i.sActC, "1013"); // 1,000 + 12 + 0.50
}

TEST_F(RecalculaTest, SinDiasElInteresEsElDeclarado)
{
    InsertaDeuda(db(), kTrabajo, Deuda("1"));
    Recalcula_deuda(kRuc, "01/03/2010");
    const Importes i = Lee("1");
    EXPECT_EQ(i.sIntC, "100.00");
    EXPECT_EQ(i.sActC, "1150");
}

TEST_F(RecalculaTest, DeudaDeDeclaracionConOchentaPorCientoDeLaTim)
{
    DeudaPrueba d = Deuda("1");
    d.nIndDeudaDj = 1;
    d.sCodForDj = QStringLiteral("80");
    InsertaDeuda(db(), kTrabajo, d);
    Recalcula_deuda(kRuc, "31/03/2010");
    EXPECT_EQ(Lee("1").sIntC, "110.08"); // 0.96 % a month: 0.0096 of 1,050 = 10.08
}

TEST_F(RecalculaTest, CodigoDeFormularioQueNoEsNumeroSinIndicador)
{
    DeudaPrueba d = Deuda("1");
    d.sCodForDj = QStringLiteral("AB");
    InsertaDeuda(db(), kTrabajo, d);
    Recalcula_deuda(kRuc, "31/03/2010");
    EXPECT_EQ(Lee("1").sIntC, "112.60");
}

TEST_F(RecalculaTest, DiciembreActualizadoEnEneroCapitalizaAlCierre)
{
    // To 31/12: 30 days at 0.0005 a day on 1,000 = 15.00; then 15 days on
    // 1,000 + 15 + 100 = 1,115: 8.3625.
    const Importes i = ActualizadaEnEnero("200912");
    EXPECT_EQ(i.sIntC, "8.36");
    EXPECT_EQ(i.sActC, "1123"); // 1,000 + 8.36 + 100 + 15
}

TEST_F(RecalculaTest, NoviembreActualizadoEnEneroEsElCasoNormal)
{
    const Importes i = ActualizadaEnEnero("200911");
    EXPECT_EQ(i.sIntC, "122.50"); // 45 days: 0.0225 of 1,000
    EXPECT_EQ(i.sActC, "1123");
}

TEST_F(RecalculaTest, SoloReescribeLasDeudasNotificadasAcogidasYConformes)
{
    DeudaPrueba noAcogida = Deuda("2");
    noAcogida.vAcog = 2;
    DeudaPrueba disconforme = Deuda("3");
    disconforme.vConf = 2;
    DeudaPrueba manual = Deuda("4");
    manual.sIndTipDeu = QStringLiteral("05");
    DeudaPrueba resumen = Deuda("5");
    resumen.sIndTipDeu = QStringLiteral("06");
    DeudaPrueba otroEstado = Deuda("6");
    otroEstado.sIndVerDeu = QStringLiteral("01");
    for (const DeudaPrueba& d : {noAcogida, disconforme, manual, resumen, otroEstado})
        InsertaDeuda(db(), kTrabajo, d);
    DeudaPrueba tipo04 = Deuda("7");
    tipo04.sIndTipDeu = QStringLiteral("04");
    tipo04.sIndVerDeu = QStringLiteral("07");
    InsertaDeuda(db(), kTrabajo, tipo04);

    Recalcula_deuda(kRuc, "31/03/2010");
    for (const char* sNumDoc : {"2", "3", "4", "5", "6"}) {
        const Importes i = Lee(sNumDoc);
        EXPECT_EQ(i.sIntC, "100.00") << sNumDoc;
        EXPECT_EQ(i.sActC, "1150") << sNumDoc;
    }
    EXPECT_EQ(Lee("7").sActC, "1163");
}

TEST_F(RecalculaTest, CadaFilaReescritaLlevaSuValorDeControl)
{
    InsertaDeuda(db(), kTrabajo, Deuda("1"));
    Recalcula_deuda(kRuc, "31/03/2010");
    const auto rs = db().openRecordset(QStringLiteral("SELECT * FROM TMP_F0913DEUDAS"), {},
                                       platform::RecordsetType::Dynaset);
    const QString sGuardado = rs->field("cnumero").text();
    rs->edit();
    EXPECT_EQ(sGuardado, FormateaCampo(*rs, 9));
    EXPECT_NE(sGuardado, "000000");
    rs->cancelUpdate();
}

TEST_F(RecalculaTest, AcogerTodasAceptaLasPendientesYLasActualiza)
{
    DeudaPrueba pendiente = Deuda("1");
    pendiente.vAcog = QVariant();
    pendiente.vConf = QVariant();
    pendiente.sTributoC = pendiente.sIntCapC = pendiente.sIntC = pendiente.sActC = QStringLiteral("0");
    DeudaPrueba impugnada = pendiente;
    impugnada.sNumDoc = QStringLiteral("2");
    impugnada.sIndImpugnado = QStringLiteral("01");
    InsertaDeuda(db(), kTrabajo, pendiente);
    InsertaDeuda(db(), kTrabajo, impugnada);

    EXPECT_TRUE(AcogeTodas(kRuc, "31/03/2010"));
    const auto rs = db().openRecordset(QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE Num_doc = '1'"));
    EXPECT_EQ(rs->field("ind_acog").text(), "1");
    EXPECT_EQ(rs->field("ind_conf").text(), "1");
    EXPECT_EQ(rs->field("mto_tributo_c").text(), "1000.00");
    EXPECT_EQ(rs->field("mto_int_c").text(), "112.60");
    EXPECT_EQ(rs->field("mto_act_c").text(), "1163");
    EXPECT_TRUE(db().scalar(QStringLiteral("SELECT ind_acog FROM TMP_F0913DEUDAS WHERE Num_doc = '2'")).isNull());
}

TEST_F(RecalculaTest, UnErrorAlAcogerTodasSeMuestraYNoCambiaNada)
{
    DeudaPrueba acogida = Deuda("1");
    DeudaPrueba pendiente = Deuda("2");
    pendiente.vAcog = QVariant();
    pendiente.sTributoS = QStringLiteral("mil"); // not an amount
    InsertaDeuda(db(), kTrabajo, acogida);
    InsertaDeuda(db(), kTrabajo, pendiente);
    script.answer(platform::mb::Ok);

    EXPECT_FALSE(AcogeTodas(kRuc, "31/03/2010"));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().title, "Error al Ejecutar Sentencia SQL");
    EXPECT_EQ(Lee("1").sIntC, "100.00");
    EXPECT_TRUE(db().scalar(QStringLiteral("SELECT ind_acog FROM TMP_F0913DEUDAS WHERE Num_doc = '2'")).isNull());
}

TEST_F(RecalculaTest, SinFechaDelEstadoDeCuentaNoCambiaNada)
{
    FijaLectorFechaPersonalizado([] { return QDate(1899, 12, 30); });
    InsertaDeuda(db(), kTrabajo, Deuda("1"));
    script.answer(platform::mb::Ok);
    EXPECT_FALSE(ActualizaDeudasAcogidas(kRuc, "31/03/2010"));
    EXPECT_EQ(Lee("1").sIntC, "100.00");
}

TEST_F(RecalculaTest, UnaNuevaFechaActualizaLasAcogidas)
{
    InsertaDeuda(db(), kTrabajo, Deuda("1"));
    EXPECT_TRUE(ActualizaDeudasAcogidas(kRuc, "31/03/2010"));
    EXPECT_EQ(Lee("1").sActC, "1163");
}

} // namespace
