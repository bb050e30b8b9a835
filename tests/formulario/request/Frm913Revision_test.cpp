#include "formulario/core/ModGen00.h"
#include "formulario/core/SharedForm.h"
#include "formulario/request/Frm913.h"
#include "formulario/review/FrmNoNotificada.h"
#include "formulario/review/frmCondeuDet.h"
#include "formulario/review/frmSustento.h"
#include "platform/database.h"
#include "tests/support/HostTest.h"
#include "tools/hostkit/declarations.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
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
};

TEST_F(Frm913RevisionTest, AnAnswerFromTheGridIsWrittenAndTheTabsTotalFollows)
{
    const CasoDecision casos[] = {
        {0, "0230000000", false, false, "2|0|0|0.00|0.00|0", "0", "6,250"},
        {1, "0230000001", true, true, "1|1|750|0.00|0.00|750", "750", "6,750"},
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
        EXPECT_EQ(Celda(frm, 1, c.nFila, 5), QString::fromLatin1(c.sCelda));
        EXPECT_EQ(frm.txtmtototal(1).text(), QString::fromLatin1(c.sTotal));
        EXPECT_EQ(frm.TDBGrid[1]->currentIndex().row(), c.nFila);
        EXPECT_EQ(frm.Dat(1).absolutePosition(), c.nFila);
        EXPECT_EQ(nTabActual, 1);
        EXPECT_TRUE(frm.Modificado());
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
    EXPECT_EQ(Celda(frm, 1, 2, 5), QStringLiteral("650"));
    EXPECT_EQ(frm.txtmtototal(1).text(), QStringLiteral("6,400"));
    EXPECT_TRUE(frm.Modificado());
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
}

} // namespace
