#include "formulario/core/ModGen00.h"
#include "formulario/core/SharedForm.h"
#include "formulario/subsystems/request/Frm913.h"
#include "formulario/subsystems/review/FrmNoNotificada.h"
#include "formulario/subsystems/review/frmCondeuDet.h"
#include "formulario/subsystems/review/frmSustento.h"
#include "platform/database.h"
#include "tests/support/ControlValorPrueba.h"
#include "tests/support/EventosUsuario.h"
#include "tests/support/HostTest.h"
#include "tools/hostkit/declarations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <algorithm>
#include <functional>

using namespace platform::mb;

namespace {

const QString kSiguiente = QStringLiteral("¿Desea continuar con la actualización del siguiente registro de Deudas?");
const QString kActualizada = QStringLiteral("La información se actualizó satisfactoriamente");
const QString kGrabo = QStringLiteral("La información se grabó con éxito");
// What the dialog of a debt entered by hand writes, besides the key.
const QString kColumnasManuales = QStringLiteral(
    "Ind_tip_deu, per_doc, cod_tri, Cod_for, Cod_tip_doc, Cod_tri_aso, Ind_ver_deu, Num_pro, mto_tributo_c, "
    "mto_int_cap_c, mto_int_c, mto_act_c, ind_acog, ind_conf, Cod_for_dj, Num_ord_dj, Ind_valor, Ind_deuda_dj");

// The review dialogs opened from the request form over the host stand-in's
// sample declarations, as the user reaches them from the debts tabs.
class Frm913RevisionTest : public HostTest {
protected:
    void TearDown() override
    {
        SharedForm<Frm913>::release();
        HostTest::TearDown();
    }

    // The sample declaration of entity `nEntidadDeclarada`, opened on tab `nTab`.
    Frm913& Abre(int nEntidadDeclarada, int nTab)
    {
        hostkit::seedSampleDeclarations(db());
        const auto& muestras = hostkit::sampleDeclarations();
        const auto d = std::find_if(muestras.begin(), muestras.end(),
                                    [&](const auto& m) { return m.entidad == nEntidadDeclarada; });
        nModo = 1;
        sPeriodo = d->periodo;
        nEntidad = d->entidad;
        bEnviadas = false;
        Frm913& frm = SharedForm<Frm913>::instance();
        frm.EstableceDeclaracion({6, d->docId, QString(), QString(), {}});
        frm.Form_Load();
        frm.Form_Activate();
        frm.SSTab1->setCurrentIndex(nTab);
        return frm;
    }

    static void Elige(Frm913& frm, int nIndex, int nFila)
    {
        frm.TDBGrid[nIndex]->setCurrentIndex(frm.TDBGrid[nIndex]->model()->index(nFila, 0));
    }

    static QString Celda(Frm913& frm, int nIndex, int nFila, int nColumna)
    {
        return frm.TDBGrid[nIndex]->model()->index(nFila, nColumna).data().toString();
    }

    // The columns of the work table's row of document `sNumDoc`, joined by "|".
    QString Fila(const QString& sColumnas, const QString& sNumDoc)
    {
        auto rs = db().openRecordset(
            QStringLiteral("SELECT %1 FROM TMP_F0913DEUDAS WHERE Num_doc = ?").arg(sColumnas), {sNumDoc});
        if (rs->eof())
            return QStringLiteral("<none>");
        QStringList valores;
        for (int i = 0; i < rs->fieldCount(); ++i)
            valores.append(rs->field(i).isNull() ? QStringLiteral("<null>") : rs->field(i).text());
        return valores.join(u'|');
    }

    QString Decision(const QString& sNumDoc)
    {
        return Fila(QStringLiteral("ind_acog, ind_conf, mto_tributo_c, mto_int_cap_c, mto_int_c, mto_act_c"), sNumDoc);
    }

    // The answer given in the debt dialog, then "&Aceptar" declining the next
    // debt, then "&Salir".
    void Responde(std::function<void(frmCondeuDet&)> respuesta)
    {
        script.onForm(QStringLiteral("frmCondeuDet"), [this, respuesta](QWidget& w) {
            auto& dlg = static_cast<frmCondeuDet&>(w);
            respuesta(dlg);
            script.answer(No);
            dlg.cmdOpcion_Click(0);
            dlg.cmdOpcion_Click(1);
            return 0;
        });
    }

    // The stored control value of each row of the debt in `sTabla` is the
    // one its columns give.
    void ControlCorrecto(const QString& sNumDoc, int nParticion,
                         const QString& sTabla = QStringLiteral("TMP_F0913DEUDAS"))
    {
        ControlesCorrectos(db(), QStringLiteral("SELECT * FROM %1 WHERE Num_doc = ?").arg(sTabla), {sNumDoc},
                           nParticion);
    }

    QStringList Textos() const
    {
        QStringList textos;
        for (const platform::ShownMessage& m : script.shown())
            textos.append(m.text);
        return textos;
    }
};

// ------------------------------------------------------------ notified debts

// An undecided debt answered from the grid: the row written, the grid and
// the tab's total afterwards, and the grid back on the debt.
struct CasoDecision {
    int nFila;
    const char* sNumDoc;
    bool bAcoge;
    bool bDobleClic; // else "&Actualizar"
    const char* sDecision;
    const char* sCelda;
    const char* sTotal;
    const char* sEtiqueta;
};

TEST_F(Frm913RevisionTest, AnAnswerFromTheGridIsWrittenAndTheTabsTotalFollows)
{
    const CasoDecision casos[] = {
        {0, "0230000000", false, false, "2|0|0|0.00|0.00|0", "0", "6,250", "Total de registros : 1 de 7"},
        {1, "0230000001", true, true, "1|1|750|0.00|0.00|750", "750", "6,750", "Total de registros : 2 de 7"},
    };
    for (const CasoDecision& c : casos) {
        SCOPED_TRACE(c.sNumDoc);
        SharedForm<Frm913>::release();
        db().execute("DELETE FROM F0913DEUDAS");
        hostkit::seedSampleDeclarations(db());
        db().execute("UPDATE F0913DEUDAS SET ind_acog = NULL, ind_conf = NULL, mto_tributo_c = NULL, "
                     "mto_int_cap_c = NULL, mto_int_c = NULL, mto_act_c = NULL WHERE Num_doc = ?",
                     {QString::fromLatin1(c.sNumDoc)});
        Frm913& frm = Abre(1, 1);
        Elige(frm, 1, c.nFila);
        script.clear();
        Responde([&c](frmCondeuDet& dlg) {
            EXPECT_EQ(dlg.lblNumvalor->text(), QString::fromLatin1(c.sNumDoc));
            dlg.optAcogeFrac[c.bAcoge ? 0 : 1]->setChecked(true);
            if (c.bAcoge)
                dlg.optConformeMto[0]->setChecked(true);
        });
        if (c.bDobleClic)
            frm.TDBGrid_DblClick(1);
        else
            frm.cmdEdit_Click(1);
        EXPECT_EQ(Textos(), QStringList{kSiguiente});
        EXPECT_EQ(Decision(QString::fromLatin1(c.sNumDoc)), QString::fromLatin1(c.sDecision));
        ControlCorrecto(QString::fromLatin1(c.sNumDoc), 9);
        EXPECT_EQ(Celda(frm, 1, c.nFila, 5), QString::fromLatin1(c.sCelda));
        EXPECT_EQ(frm.txtmtototal(1).text(), QString::fromLatin1(c.sTotal));
        EXPECT_EQ(frm.TDBGrid[1]->currentIndex().row(), c.nFila);
        EXPECT_EQ(frm.Dat(1).absolutePosition(), c.nFila);
        EXPECT_EQ(frm.lblTab[1]->text(), QString::fromLatin1(c.sEtiqueta));
        EXPECT_EQ(nTabActual, 1);
    }
}

TEST_F(Frm913RevisionTest, DisagreeingStoresOwnAmountsAndAReasonWithItsEvidence)
{
    Frm913& frm = Abre(1, 1);
    Elige(frm, 1, 2);
    script.onForm(QStringLiteral("frmSustento"), [this](QWidget& w) {
        auto& dlg = static_cast<frmSustento&>(w);
        dlg.txt01->setText(QStringLiteral("EXP-77"));
        script.answer(Ok);
        dlg.cmdSustento_Click(0);
        return 1;
    });
    Responde([](frmCondeuDet& dlg) {
        dlg.optAcogeFrac[0]->setChecked(true);
        dlg.optConformeMto[1]->setChecked(true);
        dlg.txtmtoTributo->setText(QStringLiteral("600"));
        dlg.lblMtoInteres->setText(QStringLiteral("50"));
        dlg.chkmotivo[3]->click();
        dlg.cmdMotivo_Click(3);
    });
    frm.cmdEdit_Click(1);
    EXPECT_EQ(script.formsShown(), (QStringList{"frmCondeuDet", "frmSustento"}));
    EXPECT_EQ(Textos(), (QStringList{"Se actualizó la información correctamente", kSiguiente}));
    EXPECT_EQ(Decision(QStringLiteral("0230000002")), QStringLiteral("1|2|600|0.00|50.00|650"));
    EXPECT_EQ(db().scalar("SELECT cod_motivo FROM TMP_F0913MOTIVO WHERE Num_doc = '0230000002'").toInt(), 3);
    EXPECT_EQ(db().scalar("SELECT num_exp FROM TMP_F0913SUSTEN WHERE Num_doc = '0230000002' AND cod_motivo = 3")
                  .toString(),
              QStringLiteral("EXP-77"));
    ControlCorrecto(QStringLiteral("0230000002"), 9);
    ControlCorrecto(QStringLiteral("0230000002"), 8, QStringLiteral("TMP_F0913MOTIVO"));
    ControlCorrecto(QStringLiteral("0230000002"), 10, QStringLiteral("TMP_F0913SUSTEN"));
    EXPECT_EQ(Celda(frm, 1, 2, 5), QStringLiteral("650"));
    EXPECT_EQ(frm.txtmtototal(1).text(), QStringLiteral("6,400"));
}

TEST_F(Frm913RevisionTest, TheNextDebtPathRunsToTheLastRowAndTheGridStaysWhereItWas)
{
    Frm913& frm = Abre(1, 1);
    Elige(frm, 1, 4);
    QStringList revisadas;
    script.onForm(QStringLiteral("frmCondeuDet"), [&](QWidget& w) {
        auto& dlg = static_cast<frmCondeuDet&>(w);
        for (int r : {Yes, Yes, Ok}) {
            revisadas.append(dlg.lblNumvalor->text());
            dlg.optAcogeFrac[1]->setChecked(true);
            script.answer(r);
            dlg.cmdOpcion_Click(0);
        }
        dlg.cmdOpcion_Click(1);
        return 0;
    });
    frm.cmdEdit_Click(1);
    EXPECT_EQ(revisadas, (QStringList{"0230000004", "0230000005", "0230000006"}));
    EXPECT_EQ(Textos(), (QStringList{kSiguiente, kSiguiente, kActualizada}));
    for (const QString& sNumDoc : revisadas)
        EXPECT_EQ(Decision(sNumDoc).left(1), QStringLiteral("2")) << sNumDoc.toStdString();
    EXPECT_EQ(frm.txtmtototal(1).text(), QStringLiteral("3,500"));
    EXPECT_EQ(frm.TDBGrid[1]->currentIndex().row(), 4);
    EXPECT_EQ(frm.Dat(1).absolutePosition(), 4);
    EXPECT_EQ(frm.lblTab[1]->text(), QStringLiteral("Total de registros : 5 de 7"));
}

// A debt opened with a double click, reviewed, and the next ones after it:
// the grid's row and its record count follow each debt the dialog shows and
// stay on the last one saved. A challenge mark that is no number reads 0.
TEST_F(Frm913RevisionTest, TheGridAndItsCountFollowTheReviewedDebt)
{
    hostkit::seedSampleDeclarations(db());
    db().execute("UPDATE F0913DEUDAS SET ind_impugnado = 'S' WHERE Num_doc IN ('0230000004', '0230000005')");
    Frm913& frm = Abre(1, 1);
    frm.show();
    QStringList vistos;
    script.onForm(QStringLiteral("frmCondeuDet"), [&](QWidget& w) {
        auto& dlg = static_cast<frmCondeuDet&>(w);
        for (int nRespuesta : {Yes, Yes, Ok}) {
            vistos.append(dlg.lblNumvalor->text());
            Pulsa(*dlg.optAcogeFrac[1], Qt::Key_Space);
            script.answer(nRespuesta);
            Clic(*dlg.cmdOpcion[0]);
            vistos.append(QStringLiteral("%1, %2").arg(frm.TDBGrid[1]->currentIndex().row()).arg(frm.lblTab[1]->text()));
        }
        Clic(*dlg.cmdOpcion[1]);
        return 0;
    });
    script.clear();
    QTableView& grilla = *frm.TDBGrid[1];
    const QModelIndex fila4 = grilla.model()->index(4, 0);
    grilla.scrollTo(fila4);
    DobleClic(*grilla.viewport(), grilla.visualRect(fila4).center());
    EXPECT_EQ(vistos, (QStringList{"0230000004", "5, Total de registros : 6 de 7", "0230000005",
                                   "6, Total de registros : 7 de 7", "0230000006", "6, Total de registros : 7 de 7"}));
    EXPECT_EQ(Textos(), (QStringList{kSiguiente, kSiguiente, kActualizada}));
    frm.hide();
}

// A debt reviewed and saved, then a second review whose dialog cannot load
// because another user holds the database: the user's Retry stops the
// operation, and the form still knows that a debt was saved.
TEST_F(Frm913RevisionTest, ARetryAfterADialogThatFailedToLoadKeepsTheEarlierSave)
{
    Frm913& frm = Abre(1, 1);
    frm.show();
    Responde([](frmCondeuDet& dlg) { dlg.optAcogeFrac[1]->setChecked(true); });
    frm.cmdEdit_Click(1);
    ASSERT_TRUE(bDeudaGrabada);
    const auto otroUsuario = platform::Database::open(paths().dbFile);
    otroUsuario->execute(QStringLiteral("BEGIN EXCLUSIVE"));
    script.clear();
    script.answer(Retry);
    Clic(*frm.cmdEdit[1]);
    otroUsuario->execute(QStringLiteral("ROLLBACK"));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().first().title, QStringLiteral("Reintentos de acceso S1000"));
    EXPECT_TRUE(bDeudaGrabada);
    EXPECT_TRUE(frm.Modificado());
    frm.hide();
}

// ------------------------------------------------------------ debts entered by hand

// What the user types for a debt of ESSALUD entered by hand.
struct Manual {
    const char* sPeriodo;
    const char* sTipo;
    const char* sNumero;
    const char* sRuc = "20456712381"; // the merged company
};
const Manual kMulta = {"05/2006", "017004", "0231040000126"};
const Manual kReaf = {"08/2005", "017504", "0230170000127"};

class Frm913ManualTest : public Frm913RevisionTest {
protected:
    // The sample declaration of ESSALUD, with three debts entered by hand
    // (9,000 in all), on its second debts tab.
    Frm913& AbreEssalud() { return Abre(2, 2); }

    // "&Nuevo" on grid 2: the debt typed, "&Aceptar", then "&Salir".
    void Agrega(Frm913& frm, const Manual& m)
    {
        script.onForm(QStringLiteral("FrmNoNotificada"), [this, m](QWidget& w) {
            auto& dlg = static_cast<FrmNoNotificada&>(w);
            dlg.mkePeriodo->setText(QString::fromLatin1(m.sPeriodo));
            dlg.cboDocumento->setCurrentIndex(
                dlg.cboDocumento->findText(QString::fromLatin1(m.sTipo), Qt::MatchStartsWith));
            dlg.txtNumDocumento->setText(QString::fromLatin1(m.sNumero));
            dlg.TxtRuc->setText(QString::fromLatin1(m.sRuc));
            dlg.txtmtoTributo->setText(QStringLiteral("1000.00"));
            if (!dlg.TxtMtoInteresesCAP->isReadOnly())
                dlg.TxtMtoInteresesCAP->setText(QStringLiteral("50.00"));
            dlg.TxtMtoIntereses->setText(QStringLiteral("25.40"));
            script.answer(Ok);
            dlg.cmdOpcion_Click(0);
            dlg.cmdOpcion_Click(1);
            return 0;
        });
        frm.cmdNew_Click(2);
    }
};

TEST_F(Frm913ManualTest, ANewDebtJoinsTheSecondGridAndItsTotal)
{
    Frm913& frm = AbreEssalud();
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("9,000"));
    Agrega(frm, kMulta);
    EXPECT_EQ(Textos(), QStringList{kGrabo});
    EXPECT_EQ(frm.pOperacion(), QStringLiteral("N"));
    EXPECT_EQ(Fila(kColumnasManuales, QStringLiteral("0231040000126")),
              QStringLiteral("05|200605|052106|0|017004|000000|00|00000000000001|1000.00|0.00|25.40|1025|1|1|0|20456712381|1|0"));
    ControlCorrecto(QStringLiteral("0231040000126"), 9);
    EXPECT_EQ(frm.TDBGrid[2]->model()->rowCount(), 4);
    EXPECT_EQ(frm.lblTab[2]->text(), QStringLiteral("Total de registros : 1 de 4"));
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("10,025"));
}

TEST_F(Frm913ManualTest, AChangedDebtIsRewrittenInPlace)
{
    Frm913& frm = AbreEssalud();
    Agrega(frm, kMulta);
    Elige(frm, 2, 3);
    script.clear();
    script.onForm(QStringLiteral("FrmNoNotificada"), [this](QWidget& w) {
        auto& dlg = static_cast<FrmNoNotificada&>(w);
        EXPECT_EQ(dlg.txtNumDocumento->text(), QStringLiteral("0231040000126"));
        EXPECT_EQ(dlg.mkePeriodo->displayText(), QStringLiteral("05/2006"));
        dlg.txtmtoTributo->setText(QStringLiteral("2,000.00"));
        script.answer(Ok);
        dlg.cmdOpcion_Click(0);
        return dlg.result();
    });
    frm.cmdEdit_Click(2);
    EXPECT_EQ(Textos(), QStringList{QStringLiteral("La información se modificó con éxito")});
    EXPECT_EQ(frm.pOperacion(), QStringLiteral("E"));
    EXPECT_EQ(Fila(kColumnasManuales, QStringLiteral("0231040000126")),
              QStringLiteral("05|200605|052106|0|017004|000000|00|00000000000001|2000.00|0.00|25.40|2025|1|1|0|20456712381|1|0"));
    ControlCorrecto(QStringLiteral("0231040000126"), 10);
    EXPECT_EQ(frm.TDBGrid[2]->model()->rowCount(), 4);
    EXPECT_EQ(Celda(frm, 2, 3, 5), QStringLiteral("2025"));
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("11,025"));
    EXPECT_EQ(frm.TDBGrid[2]->currentIndex().row(), 3);
}

TEST_F(Frm913ManualTest, DeletingADebtTakesOnlyItOutOfTheGridAndTotal)
{
    Frm913& frm = AbreEssalud();
    Agrega(frm, kMulta);
    Agrega(frm, kReaf);
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("11,100"));
    Elige(frm, 2, 4);
    script.clear();
    script.answer(Yes);
    script.answer(Ok);
    frm.cmdDelete_Click(2);
    EXPECT_EQ(Textos(), (QStringList{QStringLiteral("¿Confirma que va a eliminar el registro seleccionado?"),
                                     QStringLiteral("Se eliminó el registro satisfactoriamente")}));
    EXPECT_EQ(frm.pOperacion(), QStringLiteral("D"));
    EXPECT_EQ(Fila(QStringLiteral("Num_doc"), QStringLiteral("0230170000127")), QStringLiteral("<none>"));
    EXPECT_EQ(Fila(QStringLiteral("Num_doc"), QStringLiteral("0231040000126")), QStringLiteral("0231040000126"));
    EXPECT_EQ(frm.TDBGrid[2]->model()->rowCount(), 4);
    EXPECT_EQ(frm.lblTab[2]->text(), QStringLiteral("Total de registros : 1 de 4"));
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("10,025"));
}

TEST_F(Frm913ManualTest, ADebtGoneFromTheTableIsReportedAndNothingElseChanges)
{
    Frm913& frm = AbreEssalud();
    Agrega(frm, kMulta);
    Elige(frm, 2, 3);
    db().execute("DELETE FROM TMP_F0913DEUDAS WHERE Num_doc = '0231040000126'");
    script.clear();
    script.answer(Yes);
    script.answer(Ok);
    frm.cmdDelete_Click(2);
    EXPECT_EQ(Textos(), (QStringList{QStringLiteral("¿Confirma que va a eliminar el registro seleccionado?"),
                                     QStringLiteral("No se encontró el registro seleccionado. No se eliminó "
                                                    "ningún registro.")}));
    EXPECT_EQ(script.shown().last().title, script.shown().first().title);
    EXPECT_EQ(frm.TDBGrid[2]->model()->rowCount(), 4);
    EXPECT_EQ(frm.lblTab[2]->text(), QStringLiteral("Total de registros : 4 de 4"));
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("10,025"));
}

TEST_F(Frm913ManualTest, TheDebtDialogOverTheGeneralTabSavesWithoutATabTotal)
{
    Frm913& frm = AbreEssalud();
    frm.SSTab1->setCurrentIndex(0);
    EXPECT_EQ(frm.txtmtototal(0).text(), QStringLiteral("0"));
    EXPECT_EQ(frm.txtmtototal(3).text(), QStringLiteral("0"));
    Agrega(frm, kMulta);
    EXPECT_EQ(Textos(), QStringList{kGrabo});
    EXPECT_EQ(Fila(QStringLiteral("Num_doc"), QStringLiteral("0231040000126")), QStringLiteral("0231040000126"));
}

TEST_F(Frm913ManualTest, TheSampleDebtsEnteredByHandCanBeChangedAndDeleted)
{
    Frm913& frm = AbreEssalud();
    EXPECT_EQ(Fila(kColumnasManuales, QStringLiteral("0231040000009")),
              QStringLiteral("05|201403|052106|0|017004|000000|00|00000000000001|2750.00|0.00|0.00|2750|1|1|0|20456712381|1|0"));
    for (const char* sNumDoc : {"0231040000009", "0231040000010", "0231040000011"})
        ControlCorrecto(QString::fromLatin1(sNumDoc), 9);
    Elige(frm, 2, 0);
    script.onForm(QStringLiteral("FrmNoNotificada"), [this](QWidget& w) {
        auto& dlg = static_cast<FrmNoNotificada&>(w);
        dlg.txtmtoTributo->setText(QStringLiteral("3,000.00"));
        script.answer(Ok);
        dlg.cmdOpcion_Click(0);
        return dlg.result();
    });
    frm.cmdEdit_Click(2);
    const QString sEditada = frm.ColumnaGrilla(2, QStringLiteral("num_doc"));
    EXPECT_EQ(Textos(), QStringList{QStringLiteral("La información se modificó con éxito")});
    EXPECT_EQ(Fila(QStringLiteral("mto_tributo_c"), sEditada), QStringLiteral("3000.00"));
    script.clear();
    script.answer(Yes);
    script.answer(Ok);
    frm.cmdDelete_Click(2);
    EXPECT_EQ(Textos().last(), QStringLiteral("Se eliminó el registro satisfactoriamente"));
    EXPECT_EQ(frm.TDBGrid[2]->model()->rowCount(), 2);
}

struct CasoEntidad {
    int nEntidad;
    Manual deuda;
    const char* sPerDoc;
    const char* sTributo;
    const char* sTotal;
};

TEST_F(Frm913ManualTest, EachEntityStoresTheTributeOfTheDocumentType)
{
    const CasoEntidad casos[] = {
        {1, {"03/2004", "017001", "0230170000123"}, "200403", "080201", "1,075"},
        {1, {"07/2005", "017501", "0230170000124"}, "200507", "080209", "1,075"},
        {2, {"08/2005", "017504", "0230170000127"}, "200508", "052307", "10,075"},
        {3, {"01/2007", "017004", "0231140000128"}, "200701", "053105", "1,025"},
        {5, {"02/2003", "017001", "023400001", "20512345671"}, "200302", "050301", "1,075"},
        {8, {"10/2009", "017004", "0230170000131"}, "200910", "072001", "1,025"},
    };
    for (const CasoEntidad& c : casos) {
        SCOPED_TRACE(c.deuda.sNumero);
        SharedForm<Frm913>::release();
        Frm913& frm = Abre(c.nEntidad, 1);
        if (!frm.SSTab1->isTabEnabled(2))
            frm.Opt_Fusion[1]->click();
        frm.SSTab1->setCurrentIndex(2);
        script.clear();
        Agrega(frm, c.deuda);
        EXPECT_EQ(Textos(), QStringList{kGrabo});
        EXPECT_EQ(Fila(QStringLiteral("semana, per_doc, cod_tri, cod_tip_doc"), QString::fromLatin1(c.deuda.sNumero)),
                  QStringLiteral("%1|%2|%3|%4").arg(c.nEntidad).arg(c.sPerDoc, c.sTributo, c.deuda.sTipo));
        EXPECT_EQ(frm.txtmtototal(2).text(), QString::fromLatin1(c.sTotal));
    }
}

struct CasoMarca {
    int nEntidad;
    int nGrilla;
    bool bGraba;
};

TEST_F(Frm913ManualTest, ADialogThatSavedMarksTheFormAndOneLeftWithoutSavingDoesNot)
{
    const CasoMarca casos[] = {{2, 2, true}, {2, 2, false}, {1, 1, true}, {1, 1, false}};
    for (const CasoMarca& c : casos) {
        SCOPED_TRACE(c.nGrilla * 10 + c.bGraba);
        SharedForm<Frm913>::release();
        Frm913& frm = Abre(c.nEntidad, c.nGrilla);
        frm.OptRectifica_Click(0);
        script.answer(Ok);
        frm.CmdGrabar_Click();
        ASSERT_FALSE(frm.Modificado()) << Textos().join(u'\n').toStdString();
        script.clear();
        if (c.bGraba && c.nGrilla == 2) {
            Agrega(frm, kMulta);
        } else if (c.bGraba) {
            Responde([](frmCondeuDet& dlg) { dlg.optAcogeFrac[1]->setChecked(true); });
            frm.cmdEdit_Click(1);
        } else {
            const QString sDialogo = c.nGrilla == 2 ? QStringLiteral("FrmNoNotificada") : QStringLiteral("frmCondeuDet");
            script.onForm(sDialogo, [](QWidget& w) {
                static_cast<QDialog&>(w).reject(); // "&Salir"
                return 0;
            });
            c.nGrilla == 2 ? frm.cmdNew_Click(2) : frm.cmdEdit_Click(1);
        }
        EXPECT_EQ(script.formsShown().last(), c.nGrilla == 2 ? "FrmNoNotificada" : "frmCondeuDet");
        EXPECT_EQ(frm.Modificado(), c.bGraba);
    }
}

} // namespace
