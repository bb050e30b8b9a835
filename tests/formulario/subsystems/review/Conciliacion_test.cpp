#include "formulario/subsystems/review/Conciliacion.h"
#include "formulario/subsystems/review/frmCondeuDet.h"
#include "platform/databasetesting.h"
#include "tests/formulario/subsystems/review/Frm913Simulado.h"
#include "tests/support/ControlValorPrueba.h"
#include "tests/support/ProcesoInterrumpido.h"

#include <QCheckBox>
#include <QListWidget>
#include <QRadioButton>
#include <csignal>
#include <sys/wait.h>

using namespace platform::mb;

namespace {

const QString kTitulo = QStringLiteral("Información general");
const QString kCancelada = QStringLiteral("Se canceló la actualización de la información.");
const QString kSiguiente = QStringLiteral("¿Desea continuar con la actualización del siguiente registro de Deudas?");
const QString kActualizada = QStringLiteral("La información se actualizó satisfactoriamente");
const QString kMezcla = QStringLiteral(
    "No se puede combinar deudas de persona natural generadoras de rentas de capital y/o trabajo (tributos "
    "3071, 3072, 3073, 3074) con el resto de deudas. Por favor, elija deudas de un solo tipo en la solicitud.");

const QStringList kTablas = {QStringLiteral("TMP_F0913DEUDAS"), QStringLiteral("TMP_F0913MOTIVO"),
                             QStringLiteral("TMP_F0913SUSTEN")};

class ConciliacionTest : public RevisionTest {
protected:
    // Each row of the query as its values joined by "|", Null as "<null>".
    QStringList Filas(const QString& sql, const QVariantList& params = {})
    {
        auto rs = db().openRecordset(sql, params);
        QStringList filas;
        for (; !rs->eof(); rs->moveNext()) {
            QStringList valores;
            for (int i = 0; i < rs->fieldCount(); ++i)
                valores.append(rs->field(i).isNull() ? QStringLiteral("<null>") : rs->field(i).text());
            filas.append(valores.join(u'|'));
        }
        return filas;
    }

    // Every row of the three work tables.
    QStringList Volcado()
    {
        QStringList filas;
        for (const QString& tabla : kTablas)
            filas += Filas(QStringLiteral("SELECT '%1', * FROM %1").arg(tabla));
        filas.sort();
        return filas;
    }

    // ind_acog to mto_act_c of the debt of period `sPerDoc`.
    QStringList Deuda(const QString& sPerDoc = QStringLiteral("201501"))
    {
        return Filas(QStringLiteral("SELECT ind_acog, ind_conf, mto_tributo_c, mto_int_cap_c, mto_int_c, mto_act_c "
                                    "FROM TMP_F0913DEUDAS WHERE per_doc = ?"),
                     {sPerDoc})
            .value(0)
            .split(u'|');
    }

    // The evidence rows: reason, then num_sust to fec_pago.
    QStringList Sustentos()
    {
        return Filas(QStringLiteral("SELECT cod_motivo, num_sust, cod_formulario, num_orden, num_res, tip_impug, "
                                    "num_exp, des_otros, fec_pago FROM TMP_F0913SUSTEN ORDER BY cod_motivo, num_sust"));
    }

    QStringList Motivos()
    {
        return Filas(QStringLiteral("SELECT cod_motivo FROM TMP_F0913MOTIVO ORDER BY cod_motivo"));
    }

    // Includes the debt and disagrees, with these own amounts.
    void Discrepa(frmCondeuDet& dlg, const QString& sTributo, const QString& sCap, const QString& sInteres)
    {
        dlg.optAcogeFrac[0]->setChecked(true);
        dlg.optConformeMto[1]->setChecked(true);
        dlg.txtmtoTributo->setText(sTributo);
        if (!dlg.lblMtoInteresCAP->isReadOnly())
            dlg.lblMtoInteresCAP->setText(sCap);
        dlg.lblMtoInteres->setText(sInteres);
    }

    // Evidence as the evidence dialog leaves it.
    void Sustenta(frmCondeuDet& dlg, int nMotivo)
    {
        dlg.chkmotivo[nMotivo]->setChecked(true);
        dlg.EstableceTagMotivo(nMotivo, QStringLiteral("1"));
    }

    // Presses "&Aceptar" answering the boxes in turn; returns their texts.
    QStringList Acepta(frmCondeuDet& dlg, const QList<int>& respuestas = {Ok})
    {
        for (int r : respuestas)
            script.answer(r);
        script.clear();
        dlg.cmdOpcion_Click(0);
        EXPECT_EQ(script.pendingAnswers(), 0);
        return Mensajes();
    }

    // The stored control value of every row of the table is the one its columns give.
    void ControlCorrecto(const QString& sTabla, int nParticion)
    {
        ControlesCorrectos(db(), QStringLiteral("SELECT * FROM ") + sTabla, {}, nParticion);
    }
};

// ------------------------------------------------------------ saving

TEST_F(ConciliacionTest, AcceptingAndAgreeingWritesTheDebtAndRefreshesTheForm)
{
    Inserta({});
    Carga();
    frm->txtmtototal(1).setText(QStringLiteral("500"));
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.optConformeMto[0]->setChecked(true);

    EXPECT_EQ(Acepta(dlg), QStringList{kActualizada});
    EXPECT_EQ(Deuda(), (QStringList{"1", "1", "1000", "0.00", "333.60", "1334"}));
    ControlCorrecto(QStringLiteral("TMP_F0913DEUDAS"), 9);
    EXPECT_TRUE(Motivos().isEmpty());
    EXPECT_EQ(frm->llamadas, (QStringList{"CargaTabIndex(1)", "CalculaMontoTotal(1)"}));
    EXPECT_EQ(frm->txtmtototal(1).text(), QStringLiteral("1,334"));
    EXPECT_EQ(frm->ColumnaGrilla(1, QStringLiteral("mto_act_c")), QStringLiteral("1334"));
    EXPECT_TRUE(bDeudaGrabada);
    EXPECT_TRUE(bDetalleAceptado);
    EXPECT_FALSE(dlg.Modificado());
}

TEST_F(ConciliacionTest, ATotalOfZeroIsNotRecomputed)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[1]->setChecked(true);
    Acepta(dlg);
    EXPECT_EQ(frm->llamadas, QStringList{"CargaTabIndex(1)"});
}

TEST_F(ConciliacionTest, DisagreeingWithEachReasonStoresItsReasonAndEvidenceRows)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    Discrepa(dlg, QStringLiteral("900"), QStringLiteral("0"), QStringLiteral("150"));
    Sustenta(dlg, 1);
    dlg.lstForm->addItem(EntradaPago(QStringLiteral("1062"), QStringLiteral("123"), QStringLiteral("15/03/2008")));
    dlg.lstForm->addItem(EntradaPago(QStringLiteral("1660"), QStringLiteral("4567"), QStringLiteral("20/04/2009")));
    Sustenta(dlg, 3);
    dlg.setPnumexp(QStringLiteral("EXP-77"));
    Sustenta(dlg, 4);
    dlg.setPnumres(QStringLiteral("RI-0230-2015"));

    EXPECT_EQ(Acepta(dlg), QStringList{kActualizada});
    EXPECT_EQ(Deuda(), (QStringList{"1", "2", "900", "0.00", "150.00", "1050"}));
    EXPECT_EQ(Motivos(), (QStringList{"1", "3", "4"}));
    EXPECT_EQ(Sustentos(), (QStringList{
                               "1|1|1062|123|0|0|0|-|15/03/2008",
                               "1|2|1660|4567|0|0|0|-|20/04/2009",
                               "3|1|0|0|0|0|EXP-77|-|01/01/1901",
                               "4|1|0|0|RI-0230-2015|0|0|-|01/01/1901",
                           }));
    ControlCorrecto(QStringLiteral("TMP_F0913MOTIVO"), 8);
    ControlCorrecto(QStringLiteral("TMP_F0913SUSTEN"), 10);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM TMP_F0913SUSTEN WHERE periodo = '201512' AND "
                                         "formulario = '0913' AND Semana = 1 AND tip_doc_d = 6")),
              4);

    // Opened again, the debt shows what was saved.
    Carga();
    frmCondeuDet& otra = Abre();
    EXPECT_TRUE(otra.chkmotivo[1]->isChecked());
    EXPECT_TRUE(otra.chkmotivo[3]->isChecked());
    EXPECT_EQ(otra.pnumexp(), QStringLiteral("EXP-77"));
    EXPECT_EQ(otra.lstForm->count(), 2);
}

TEST_F(ConciliacionTest, ReasonSixAloneIsStoredWithoutAResolutionNumber)
{
    DeudaPrueba d;
    d.sIndImpugnado = QStringLiteral("7");
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();
    Discrepa(dlg, QStringLiteral("900"), QStringLiteral("0"), QStringLiteral("150"));
    dlg.chkmotivo[6]->setChecked(true);
    EXPECT_EQ(Acepta(dlg), QStringList{kActualizada});
    EXPECT_EQ(Motivos(), QStringList{"6"});
    EXPECT_EQ(Sustentos(), QStringList{"6|1|0|0|<null>|0|0|-|01/01/1901"});
}

TEST_F(ConciliacionTest, StoredReasonsTwoAndFiveAreWrittenBackWithTheirForms)
{
    DeudaPrueba d;
    d.indAcog = 1;
    d.indConf = 2;
    d.sMtoTributoC = QStringLiteral("900");
    Inserta(d);
    const QString sDeuda = QStringLiteral("6, '%1', '201512', '0913', 1, '01', '201501', '010101', "
                                          "'0230010012345', '0621'").arg(kRuc);
    for (int nMotivo : {2, 5}) {
        db().execute(QStringLiteral("INSERT INTO TMP_F0913MOTIVO VALUES (%1, %2, '000000')").arg(sDeuda).arg(nMotivo));
        db().execute(QStringLiteral("INSERT INTO TMP_F0913SUSTEN VALUES (%1, %2, 1, '0119', 0, '0', 0, '0', '-', "
                                    "'01/01/1901', '000000')")
                         .arg(sDeuda)
                         .arg(nMotivo));
    }
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.lblMtoInteres->setText(QStringLiteral("100"));
    EXPECT_EQ(Acepta(dlg), QStringList{kActualizada});
    // An order number of 0 comes back empty: "0" for reason 2, no value for reason 5.
    EXPECT_EQ(Sustentos(), (QStringList{"2|1|0119|0|0|0|0|-|01/01/1901", "5|1|0119|<null>|0|0|0|-|01/01/1901"}));
}

TEST_F(ConciliacionTest, RejectingADebtStoresItExcludedAndDropsItsReasons)
{
    DeudaPrueba d;
    d.indAcog = 1;
    d.indConf = 2;
    d.sMtoTributoC = QStringLiteral("900");
    Inserta(d);
    db().execute(QStringLiteral("INSERT INTO TMP_F0913MOTIVO VALUES (6, ?, '201512', '0913', 1, '01', '201501', "
                                "'010101', '0230010012345', '0621', 3, '000000')"),
                 {kRuc});
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[1]->setChecked(true);
    EXPECT_EQ(Acepta(dlg), QStringList{kActualizada});
    EXPECT_EQ(Deuda(), (QStringList{"2", "0", "0", "0.00", "0.00", "0"}));
    EXPECT_TRUE(Motivos().isEmpty());
}

TEST_F(ConciliacionTest, TheAnswerGoesToTheDebtOfItsWholeKey)
{
    DeudaPrueba primera;
    primera.sCodTipDoc = QStringLiteral("000011");
    DeudaPrueba segunda;
    segunda.sCodTipDoc = QStringLiteral("000012");
    Inserta(primera);
    Inserta(segunda);
    Carga();
    frm->dat[1] = db().openRecordset(QStringLiteral("SELECT d.*, '3031-TRIBUTO' AS des_tributo, '' AS des_valor "
                                                    "FROM TMP_F0913DEUDAS d ORDER BY Cod_tip_doc"));
    frm->Dat(1).setAbsolutePosition(1);
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[1]->setChecked(true);
    Acepta(dlg, {No});
    EXPECT_TRUE(db().scalar(QStringLiteral("SELECT ind_acog FROM TMP_F0913DEUDAS WHERE Cod_tip_doc = '000011'"))
                    .isNull());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT ind_acog FROM TMP_F0913DEUDAS WHERE Cod_tip_doc = '000012'")), 2);
}

// ------------------------------------------------------------ refusals

TEST_F(ConciliacionTest, EachRefusalShowsItsMessagesAndWritesNothing)
{
    const struct {
        const char* sCaso;
        std::function<void(frmCondeuDet&)> responde;
        QStringList mensajes;
    } casos[] = {
        {"no inclusion", [](frmCondeuDet&) {}, {QStringLiteral("Debe seleccionar un tipo de acogimiento.")}},
        {"no agreement", [](frmCondeuDet& dlg) { dlg.optAcogeFrac[0]->setChecked(true); },
         {QStringLiteral("Debe seleccionar un tipo de conformidad del monto.")}},
        {"no reason",
         [this](frmCondeuDet& dlg) { Discrepa(dlg, QStringLiteral("900"), QString(), QStringLiteral("5")); },
         {QStringLiteral("Debe especificar un motivo y su respectivo sustento."), kCancelada}},
        {"reason without evidence",
         [this](frmCondeuDet& dlg) {
             Discrepa(dlg, QStringLiteral("900"), QString(), QStringLiteral("5"));
             dlg.chkmotivo[3]->setChecked(true);
         },
         {QStringLiteral("Se ha detectado que ha seleccionado un motivo (Error material (Art. 108 C.T.)) pero no "
                         "ha registrado su sustento. Actualice la información respectiva o no seleccione el "
                         "motivo."),
          kCancelada}},
        {"no tax",
         [this](frmCondeuDet& dlg) {
             Discrepa(dlg, QString(), QString(), QStringLiteral("5"));
             Sustenta(dlg, 3);
         },
         {QStringLiteral("Debe ingresar un monto de tributo.")}},
        {"zero tax",
         [this](frmCondeuDet& dlg) {
             Discrepa(dlg, QStringLiteral("0"), QString(), QStringLiteral("5"));
             Sustenta(dlg, 3);
         },
         {QStringLiteral("Debe registrar un importe mayor a cero en el tributo insoluto")}},
        {"total under five",
         [this](frmCondeuDet& dlg) {
             Discrepa(dlg, QStringLiteral("3"), QString(), QStringLiteral("1"));
             Sustenta(dlg, 3);
         },
         {QStringLiteral("Debe registrar monto acogido mayor o igual a 5 soles")}},
    };
    Inserta({});
    const QStringList antes = Volcado();
    for (const auto& caso : casos) {
        Carga();
        frmCondeuDet& dlg = Abre();
        caso.responde(dlg);
        QList<int> respuestas;
        for (int i = 0; i < caso.mensajes.size(); ++i)
            respuestas.append(Ok);
        EXPECT_EQ(Acepta(dlg, respuestas), caso.mensajes) << caso.sCaso;
        EXPECT_EQ(Volcado(), antes) << caso.sCaso;
        EXPECT_TRUE(frm->llamadas.isEmpty()) << caso.sCaso;
        EXPECT_TRUE(bDetalleAceptado);
        EXPECT_TRUE(dlg.isEnabled());
    }
}

TEST_F(ConciliacionTest, ATotalOfFiveIsAcceptedAndOneEqualToTheStatementIsAskedFor)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    Discrepa(dlg, QStringLiteral("1,000"), QString(), QStringLiteral("200"));
    Sustenta(dlg, 3);
    const QStringList antes = Volcado();
    script.answer(No);
    script.clear();
    dlg.cmdOpcion_Click(0);
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("Se ha detectado que la deuda según ALCOR es igual a la deuda "
                                                     "que está acogiendo, ¿Desea continuar?")});
    EXPECT_EQ(Volcado(), antes);

    Discrepa(dlg, QStringLiteral("4"), QString(), QStringLiteral("1"));
    Sustenta(dlg, 3);
    EXPECT_EQ(Acepta(dlg), QStringList{kActualizada});
    EXPECT_EQ(Deuda(), (QStringList{"1", "2", "4", "0.00", "1.00", "5"}));
}

TEST_F(ConciliacionTest, TheCapitalisedInterestIsCheckedByTributeAndYear)
{
    const struct {
        const char* sCodTri;
        const char* sPerDoc;
        const char* sCap;
        QString sMensaje;
    } casos[] = {
        {"030101", "200511", "0", QStringLiteral("Debe registrar un importe mayor a cero en interes capitalizado")},
        {"090201", "200511", "0", QStringLiteral("Debe registrar un importe mayor a cero en interes capitalizado")},
        {"010101", "200511", "10", QString()},
    };
    for (const auto& caso : casos) {
        db().execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS"));
        DeudaPrueba d;
        d.sCodTri = QString::fromLatin1(caso.sCodTri);
        d.sPerDoc = QString::fromLatin1(caso.sPerDoc);
        Inserta(d);
        Carga();
        frmCondeuDet& dlg = Abre();
        Discrepa(dlg, QStringLiteral("900"), QString::fromLatin1(caso.sCap), QStringLiteral("5"));
        Sustenta(dlg, 3);
        EXPECT_EQ(Acepta(dlg), QStringList{caso.sMensaje.isEmpty() ? kActualizada : caso.sMensaje}) << caso.sCodTri;
    }

    // A debt of the year of the update date takes no capitalised interest.
    frm->sFechaAcog = QStringLiteral("15/06/2005");
    db().execute(QStringLiteral("UPDATE TMP_F0913DEUDAS SET per_doc = '200503'"));
    Carga();
    frmCondeuDet& dlg = Abre();
    Discrepa(dlg, QStringLiteral("900"), QStringLiteral("10"), QStringLiteral("5"));
    Sustenta(dlg, 3);
    EXPECT_EQ(Acepta(dlg), QStringList{QStringLiteral("Interés capitalizado no debe ser mayor a 0.00")});
}

TEST_F(ConciliacionTest, TheMixingRuleKeepsDebtsOfOneKind)
{
    DeudaPrueba aceptada;
    aceptada.sPerDoc = QStringLiteral("201401");
    aceptada.indAcog = 1;
    aceptada.nIndValor = 0;
    Inserta(aceptada);
    Inserta({}); // Ind_valor 1
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.optConformeMto[0]->setChecked(true);
    script.answer(Ok);
    script.clear();
    dlg.cmdOpcion_Click(0);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().text, kMezcla);
    EXPECT_EQ(script.shown().first().style, Information | OkOnly);

    // A debt with Ind_valor 0 beside an accepted debt entered by hand.
    db().execute(QStringLiteral("UPDATE TMP_F0913DEUDAS SET Ind_valor = 0, ind_acog = Null"));
    db().execute(QStringLiteral("UPDATE TMP_F0913DEUDAS SET Ind_tip_deu = '05', ind_acog = 1 WHERE per_doc = "
                                "'201401'"));
    Carga();
    frmCondeuDet& otra = Abre();
    otra.optAcogeFrac[0]->setChecked(true);
    otra.optConformeMto[0]->setChecked(true);
    script.answer(Ok);
    script.clear();
    otra.cmdOpcion_Click(0);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().style, Critical | OkOnly);
}

TEST_F(ConciliacionTest, ReasonsFourAndSixExcludeEachOtherForADebtInLitigation)
{
    DeudaPrueba d;
    d.sIndVerDeu = QStringLiteral("07");
    d.sIndImpugnado = QStringLiteral("6");
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();
    Discrepa(dlg, QStringLiteral("900"), QString(), QStringLiteral("5"));
    Sustenta(dlg, 4);
    dlg.chkmotivo[6]->setChecked(true);
    EXPECT_EQ(Acepta(dlg, {Ok, Ok}),
              (QStringList{QStringLiteral("El motivo de desistimiento aceptado y el motivo Lit. b) Art.3° de RS "
                                          "176-2007 son excluyentes"),
                           kCancelada}));

    dlg.chkmotivo[6]->setChecked(false);
    dlg.chkmotivo[4]->setChecked(false);
    Sustenta(dlg, 3);
    EXPECT_EQ(Acepta(dlg, {Ok, Ok}),
              (QStringList{QStringLiteral("Debe registrar el desistimiento aceptado"), kCancelada}));
}

TEST_F(ConciliacionTest, AnotherProgramWritesWhileTheConciliationAsksTheUser)
{
    db().execute(QStringLiteral("CREATE TABLE OTRO_PROGRAMA (n INTEGER)"));
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    Discrepa(dlg, QStringLiteral("1,000"), QString(), QStringLiteral("200")); // the statement's total
    Sustenta(dlg, 3);
    // Another program, which would not wait for a lock, writes while the
    // question waits for the user.
    script.answer([this](const platform::ShownMessage&) {
        auto otro = platform::Database::open(paths().dbFile, platform::OpenOptions{.busyTimeoutMs = 0});
        EXPECT_NO_THROW(otro->execute(QStringLiteral("INSERT INTO OTRO_PROGRAMA VALUES (1)")));
        return Yes;
    });
    EXPECT_EQ(Acepta(dlg),
              (QStringList{QStringLiteral("Se ha detectado que la deuda según ALCOR es igual a la deuda que está "
                                          "acogiendo, ¿Desea continuar?"),
                           kActualizada}));
    EXPECT_EQ(Deuda(), (QStringList{"1", "2", "1000", "0.00", "200.00", "1200"}));
    EXPECT_EQ(Filas(QStringLiteral("SELECT n FROM OTRO_PROGRAMA")), QStringList{"1"});
}

// ------------------------------------------------------------ the next debt

TEST_F(ConciliacionTest, TheNextDebtPathRunsToTheLastRow)
{
    DeudaPrueba vieja;
    vieja.sPerDoc = QStringLiteral("201401");
    Inserta({});
    Inserta(vieja);
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[1]->setChecked(true);
    EXPECT_EQ(Acepta(dlg, {Yes}), QStringList{kSiguiente});
    EXPECT_EQ(frm->Dat(1).absolutePosition(), 1);
    EXPECT_EQ(dlg.lblPeriodo->text(), QStringLiteral("01/2014"));
    EXPECT_FALSE(dlg.optAcogeFrac[1]->isChecked());

    dlg.optAcogeFrac[1]->setChecked(true);
    EXPECT_EQ(Acepta(dlg), QStringList{kActualizada});
    EXPECT_EQ(frm->Dat(1).absolutePosition(), 1);
    EXPECT_EQ(Deuda(QStringLiteral("201401")).first(), QStringLiteral("2"));
    EXPECT_EQ(Deuda().first(), QStringLiteral("2"));
}

TEST_F(ConciliacionTest, DecliningTheNextDebtKeepsTheSavedOneShown)
{
    DeudaPrueba vieja;
    vieja.sPerDoc = QStringLiteral("201401");
    Inserta({});
    Inserta(vieja);
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[1]->setChecked(true);
    EXPECT_EQ(Acepta(dlg, {No}), QStringList{kSiguiente});
    EXPECT_EQ(dlg.lblPeriodo->text(), QStringLiteral("01/2015"));
    EXPECT_TRUE(dlg.optAcogeFrac[1]->isChecked());
}

// ------------------------------------------------------------ failures

TEST_F(ConciliacionTest, AMissingRowIsAnIntegrityError)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    db().execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS"));
    dlg.optAcogeFrac[1]->setChecked(true);
    EXPECT_EQ(Acepta(dlg),
              QStringList{QStringLiteral("Error de integridad. No se encontró el registro a actualizar.")});
}

TEST_F(ConciliacionTest, EveryFailedWriteLeavesTheWorkTablesAsTheyWereAndTheDialogUsable)
{
    // A disputed debt with a stored reason 3, answered with reasons 1 and 4.
    const auto restablece = [this] {
        for (const QString& tabla : kTablas)
            db().execute(QStringLiteral("DELETE FROM ") + tabla);
        DeudaPrueba d;
        d.indAcog = 1;
        d.indConf = 2;
        d.sMtoTributoC = QStringLiteral("800");
        Inserta(d);
        const QString sDeuda = QStringLiteral("6, '%1', '201512', '0913', 1, '01', '201501', '010101', "
                                              "'0230010012345', '0621', 3").arg(kRuc);
        db().execute(QStringLiteral("INSERT INTO TMP_F0913MOTIVO VALUES (%1, '000000')").arg(sDeuda));
        db().execute(QStringLiteral("INSERT INTO TMP_F0913SUSTEN VALUES (%1, 1, '0', 0, '0', 0, 'EXP-1', '-', "
                                    "'01/01/1901', '000000')")
                         .arg(sDeuda));
        Carga();
    };
    const auto responde = [this](frmCondeuDet& dlg) {
        Discrepa(dlg, QStringLiteral("900"), QString(), QStringLiteral("150"));
        Sustenta(dlg, 1);
        dlg.lstForm->addItem(EntradaPago(QStringLiteral("1062"), QStringLiteral("123"), QStringLiteral("15/03/2008")));
        Sustenta(dlg, 4);
        dlg.setPnumres(QStringLiteral("RI-1"));
    };
    restablece();
    const QStringList antes = Volcado();

    int nEscrituras = 0;
    {
        frmCondeuDet& dlg = Abre();
        responde(dlg);
        platform::testing::FailWriteNumber cuenta(0);
        EXPECT_EQ(Acepta(dlg), QStringList{kActualizada});
        nEscrituras = cuenta.writesDone();
    }
    // The debt, two deletes for each of the six reasons, and the rows of the
    // reasons 1 and 4 answered and 3 stored.
    EXPECT_EQ(nEscrituras, 1 + 12 + 6);

    for (int n = 1; n <= nEscrituras; ++n) {
        restablece();
        frmCondeuDet& dlg = Abre();
        responde(dlg);
        {
            platform::testing::FailWriteNumber falla(n);
            EXPECT_EQ(Acepta(dlg), QStringList{QStringLiteral("Error Número : 3043\nError de disco o de red.\n\n"
                                                              "No se ha grabado ningún cambio.")})
                << n;
            EXPECT_TRUE(falla.failed()) << n;
        }
        EXPECT_EQ(Volcado(), antes) << "write " << n;
        EXPECT_TRUE(frm->llamadas.isEmpty()) << n;
        EXPECT_EQ(db().transactionLevel(), 0) << n;

        // The same answers are saved at the next press.
        EXPECT_EQ(Acepta(dlg), QStringList{kActualizada}) << n;
        EXPECT_EQ(Sustentos().size(), 3) << n;
    }
}

TEST_F(ConciliacionTest, AProcessKilledInsideTheSaveLeavesTheWorkTablesAsTheyWere)
{
    Inserta({});
    Carga();
    const QStringList antes = Volcado();
    frmCondeuDet& dlg = Abre();
    Discrepa(dlg, QStringLiteral("900"), QString(), QStringLiteral("150"));
    Sustenta(dlg, 3);
    dlg.setPnumexp(QStringLiteral("EXP-9"));
    Sustenta(dlg, 4);
    dlg.setPnumres(QStringLiteral("RI-9"));

    const int nEstado = EjecutaYMuere(paths().dbFile, "TMP_F0913SUSTEN", 1, [&] {
        script.answer(Ok);
        dlg.cmdOpcion_Click(0);
    });
    ASSERT_TRUE(WIFSIGNALED(nEstado));
    EXPECT_EQ(WTERMSIG(nEstado), SIGKILL);

    // Another connection finds the tables as they were.
    auto otra = platform::Database::open(paths().dbFile, {});
    std::swap(oBaseDatos, otra);
    EXPECT_EQ(Volcado(), antes);
    std::swap(oBaseDatos, otra);
}

} // namespace
