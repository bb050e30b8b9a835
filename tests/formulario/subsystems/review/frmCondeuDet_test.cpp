#include "formulario/core/Formularios.h"
#include "formulario/subsystems/review/frmCondeuDet.h"
#include "tests/formulario/subsystems/review/Frm913Simulado.h"
#include "tests/formulario/subsystems/review/SalidaDeCaja.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

using namespace platform::mb;

namespace {

QColor FondoDe(const QWidget& w)
{
    return w.palette().color(QPalette::Base);
}

const QColor kGris(0xC0, 0xC0, 0xC0);
const QColor kBlanco(0xFF, 0xFF, 0xFF);

class DetalleTest : public RevisionTest {
protected:
    // Stores a reason of the debt with its evidence rows (form, order, date or texts).
    void InsertaMotivo(int nMotivo, const DeudaPrueba& d = {})
    {
        db().execute(QStringLiteral("INSERT INTO TMP_F0913MOTIVO VALUES (6, ?, ?, '0913', ?, ?, ?, ?, ?, ?, ?, "
                                    "'000000')"),
                     {kRuc, sPeriodo, nEntidad, d.sIndTipDeu, d.sPerDoc, d.sCodTri, d.sNumDoc, d.sCodFor, nMotivo});
    }
    void InsertaSustento(int nMotivo, int nSust, const QString& sForm, int nOrden, const QString& sRes,
                         const QString& sExp, const QString& sFecha, const DeudaPrueba& d = {})
    {
        db().execute(QStringLiteral("INSERT INTO TMP_F0913SUSTEN VALUES (6, ?, ?, '0913', ?, ?, ?, ?, ?, ?, ?, ?, "
                                    "?, ?, ?, 0, ?, '-', ?, '000000')"),
                     {kRuc, sPeriodo, nEntidad, d.sIndTipDeu, d.sPerDoc, d.sCodTri, d.sNumDoc, d.sCodFor, nMotivo,
                      nSust, sForm, nOrden, sRes, sExp, sFecha});
    }
};

// ------------------------------------------------------------ loading

TEST_F(DetalleTest, AnUndecidedDebtOpensWithNothingChosenAndTheStatementShown)
{
    DeudaPrueba d;
    d.sCodTipDoc = QStringLiteral("017001");
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();

    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Información general"));
    EXPECT_EQ(dlg.HelpContext(), 1017);
    EXPECT_FALSE(dlg.optAcogeFrac[0]->isChecked());
    EXPECT_FALSE(dlg.optAcogeFrac[1]->isChecked());
    EXPECT_TRUE(dlg.optAcogeFrac[0]->isEnabled());
    for (QRadioButton* opcion : dlg.optConformeMto) {
        EXPECT_FALSE(opcion->isChecked());
        EXPECT_FALSE(opcion->isEnabled());
    }
    for (int i = 1; i <= 8; ++i)
        EXPECT_FALSE(dlg.chkmotivo[i]->isChecked()) << i;
    for (QLineEdit* caja : {dlg.txtmtoTributo, dlg.lblMtoInteresCAP, dlg.lblMtoInteres, dlg.lblMtoAcogido}) {
        EXPECT_EQ(caja->text(), QString()) << caja->objectName().toStdString();
        EXPECT_EQ(FondoDe(*caja), kGris) << caja->objectName().toStdString();
    }
    EXPECT_FALSE(dlg.Modificado());

    EXPECT_EQ(dlg.lblPeriodo->text(), QStringLiteral("01/2015"));
    EXPECT_EQ(dlg.lblNumvalor->text(), QStringLiteral("0230010012345"));
    EXPECT_EQ(dlg.lblCodtributo->text(), QStringLiteral("1011"));
    EXPECT_EQ(dlg.LblDestributo->text(), QStringLiteral("IGV - CUENTA PROPIA"));
    EXPECT_EQ(dlg.lblCod_tip_doc->text(), QStringLiteral("017001"));
    EXPECT_EQ(dlg.lblDes_tip_doc->text(), QStringLiteral("RESOLUCIÓN DE DETERMINACIÓN"));
    EXPECT_EQ(dlg.lblDes_tip_doc->cursorPosition(), 0);
    EXPECT_GT(dlg.lblDes_tip_doc->width(),
              dlg.lblDes_tip_doc->fontMetrics().horizontalAdvance(dlg.lblDes_tip_doc->text()));
    EXPECT_EQ(dlg.lblIndEstado->text(), QStringLiteral("00"));
    EXPECT_EQ(dlg.lblDesEstado->text(), QStringLiteral("DEUDA VÁLIDA"));
    EXPECT_EQ(dlg.lblFechaAct->text(), QStringLiteral("15/02/2015"));
    EXPECT_EQ(dlg.lblNum_ord_dj->text(), QStringLiteral("12345"));
    EXPECT_EQ(dlg.lblmtotribinsol1->text(), QStringLiteral("1,000.00"));
    EXPECT_EQ(dlg.lblmtointcapital->text(), QStringLiteral("0.00"));
    EXPECT_EQ(dlg.lblmtointnocapital->text(), QStringLiteral("200.00"));
    EXPECT_EQ(dlg.lblmtotot1->text(), QStringLiteral("1,200.00"));
    EXPECT_EQ(dlg.lblInd_valor->text(), QStringLiteral("1"));
    EXPECT_EQ(sCodTipDoc, QStringLiteral("017001"));
}

// As the labels they stand for: a box narrower than its text shows its start.
TEST_F(DetalleTest, EveryDisplayBoxShowsItsTextFromTheStart)
{
    DeudaPrueba d;
    d.sCodTipDoc = QStringLiteral("017001");
    d.indAcog = 1;
    d.indConf = 1;
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();
    QStringList cajas;
    for (QLineEdit* caja : dlg.findChildren<QLineEdit*>()) {
        if (caja->isReadOnly() && !caja->text().isEmpty()) {
            cajas << caja->objectName();
            EXPECT_EQ(caja->cursorPosition(), 0) << caja->objectName().toStdString();
        }
    }
    for (const char* sCaja : {"lblFechaAct", "lblDes_tip_doc", "LblDestributo", "lblDesEstado", "lblMtoAcogido"})
        EXPECT_TRUE(cajas.contains(QLatin1String(sCaja))) << sCaja;
}

TEST_F(DetalleTest, TheDownloadDateShowsWithItsTime)
{
    Inserta({});
    Carga();
    QLineEdit& fecha = *Abre().lblFechaAct;
    fecha.setText(QStringLiteral("09/12/2026 14:03:24"));
    // The box's far side, inside its frame, lies past the text's end.
    EXPECT_EQ(fecha.cursorPositionAt(QPoint(fecha.width() - 4, fecha.height() / 2)), 19);
}

TEST_F(DetalleTest, StatusTextsAndADebtOfAnotherStatusCannotBeIncluded)
{
    const struct {
        const char* sEstado;
        QString sTexto;
        bool bAcogible;
    } casos[] = {
        {"00", QStringLiteral("DEUDA VÁLIDA"), true},
        {"07", QStringLiteral("VALOR SE ENCUENTRA EN PROCESO CONTENCIOSO"), true},
        {"08", QStringLiteral("VALOR TIENE COSTAS PENDIENTES"), true},
        {"09", QStringLiteral("OTRAS DEUDAS"), false},
    };
    for (const auto& caso : casos) {
        db().execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS"));
        DeudaPrueba d;
        d.sIndVerDeu = QString::fromLatin1(caso.sEstado);
        Inserta(d);
        Carga();
        frmCondeuDet& dlg = Abre();
        EXPECT_EQ(dlg.lblDesEstado->text(), caso.sTexto);
        EXPECT_EQ(dlg.optAcogeFrac[0]->isEnabled(), caso.bAcogible) << caso.sEstado;
        EXPECT_EQ(dlg.optAcogeFrac[1]->isEnabled(), caso.bAcogible) << caso.sEstado;
    }
}

TEST_F(DetalleTest, AnExcludedDisputedDebtWithoutOwnTaxShowsNoAndNoWithEmptyBoxes)
{
    DeudaPrueba d;
    d.indAcog = 2;
    d.indConf = 2;
    d.sMtoTributoC = QStringLiteral("0");
    d.sMtoActC = QStringLiteral("50");
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();
    EXPECT_TRUE(dlg.optAcogeFrac[1]->isChecked());
    EXPECT_TRUE(dlg.optConformeMto[1]->isChecked());
    for (QLineEdit* caja : {dlg.txtmtoTributo, dlg.lblMtoInteresCAP, dlg.lblMtoInteres, dlg.lblMtoAcogido})
        EXPECT_EQ(caja->text(), QString()) << caja->objectName().toStdString();
}

TEST_F(DetalleTest, AnIncludedDisputedDebtShowsItsOwnAmounts)
{
    DeudaPrueba d;
    d.indAcog = 1;
    d.indConf = 2;
    d.sMtoTributoC = QStringLiteral("1500");
    d.sMtoIntCapC = QStringLiteral("0.00");
    d.sMtoIntC = QStringLiteral("250.40");
    d.sMtoActC = QStringLiteral("1750");
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();
    EXPECT_TRUE(dlg.optAcogeFrac[0]->isChecked());
    EXPECT_TRUE(dlg.optConformeMto[1]->isChecked());
    EXPECT_EQ(dlg.txtmtoTributo->text(), QStringLiteral("1,500"));
    EXPECT_EQ(dlg.lblMtoInteresCAP->text(), QStringLiteral("0"));
    EXPECT_EQ(dlg.lblMtoInteres->text(), QStringLiteral("250"));
    EXPECT_EQ(dlg.lblMtoAcogido->text(), QStringLiteral("1,750"));
    EXPECT_TRUE(dlg.txtmtoTributo->isEnabled());
    EXPECT_FALSE(dlg.Modificado());
}

TEST_F(DetalleTest, ADocumentTypeBetweenFourAndSevenLeavesTheAgreeOptionsDisabled)
{
    DeudaPrueba d;
    d.sCodTipDoc = QStringLiteral("5");
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    for (QRadioButton* opcion : dlg.optConformeMto) {
        EXPECT_FALSE(opcion->isEnabled());
        EXPECT_FALSE(opcion->isChecked());
    }
}

// ------------------------------------------------------------ answers and amounts

TEST_F(DetalleTest, AgreeingOnAnIncludedDebtBringsItsInterestUpToTheUpdateDate)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    EXPECT_TRUE(dlg.optConformeMto[0]->isEnabled());
    dlg.optConformeMto[0]->setChecked(true);

    EXPECT_EQ(dlg.txtmtoTributo->text(), QStringLiteral("1,000.00"));
    EXPECT_EQ(dlg.Label1->text(), QStringLiteral("Interés al 15/01/2016"));
    EXPECT_EQ(dlg.Label24->text(), QStringLiteral("Monto acogido al 15/01/2016"));
    // 334 days at 1.2% a month: 133.60 on the tax, beside the stated 200.00.
    EXPECT_EQ(dlg.lblMtoInteresCAP->text(), QStringLiteral("0.00"));
    EXPECT_EQ(dlg.lblMtoInteres->text(), QStringLiteral("333.60"));
    EXPECT_EQ(dlg.lblMtoAcogido->text(), QStringLiteral("1,334.00"));
    EXPECT_FALSE(dlg.txtmtoTributo->isEnabled());
    EXPECT_TRUE(dlg.Modificado());
}

TEST_F(DetalleTest, ADecemberDebtUpdatedInJanuaryCapitalisesTheYearsInterest)
{
    sPeriodo = QStringLiteral("200412");
    frm->sFechaAcog = QStringLiteral("15/01/2005");
    DeudaPrueba d;
    d.sPerDoc = QStringLiteral("200412");
    d.sFecDesDeu = QStringLiteral("2004-12-01");
    d.sMtoIntS = QStringLiteral("100.00");
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.optConformeMto[0]->setChecked(true);
    // To 31/12/2004, 30 days: 12.00; then on 1,112.00 for 15 days: 6.67.
    EXPECT_EQ(dlg.lblMtoInteresCAP->text(), QStringLiteral("112.00"));
    EXPECT_EQ(dlg.lblMtoInteres->text(), QStringLiteral("6.67"));
    EXPECT_EQ(dlg.lblMtoAcogido->text(), QStringLiteral("1,119.00"));
}

TEST_F(DetalleTest, DisagreeingOpensTheAmountsAndTheCapitalisedInterestByPeriod)
{
    const struct {
        const char* sPerDoc;
        bool bCapitalEditable;
    } casos[] = {{"200511", true}, {"200512", false}, {"200703", false}};
    for (const auto& caso : casos) {
        db().execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS"));
        DeudaPrueba d;
        d.sPerDoc = QString::fromLatin1(caso.sPerDoc);
        Inserta(d);
        Carga();
        frmCondeuDet& dlg = Abre();
        dlg.optAcogeFrac[0]->setChecked(true);
        dlg.optConformeMto[1]->setChecked(true);
        EXPECT_TRUE(dlg.txtmtoTributo->isEnabled());
        EXPECT_EQ(FondoDe(*dlg.lblMtoInteres), kBlanco);
        EXPECT_EQ(FondoDe(*dlg.lblMtoInteresCAP), caso.bCapitalEditable ? kBlanco : kGris) << caso.sPerDoc;
        EXPECT_EQ(dlg.lblMtoInteresCAP->isReadOnly(), !caso.bCapitalEditable) << caso.sPerDoc;
        EXPECT_EQ(dlg.lblMtoInteresCAP->text(), caso.bCapitalEditable ? QString() : QStringLiteral("0"));
        for (int i : {1, 3, 4})
            EXPECT_TRUE(dlg.chkmotivo[i]->isEnabled()) << i;
        for (int i : {2, 5, 6})
            EXPECT_FALSE(dlg.chkmotivo[i]->isEnabled()) << i;
    }
}

TEST_F(DetalleTest, TheAcceptedAmountIsTheSumOfTheBoxes)
{
    DeudaPrueba d;
    d.sPerDoc = QStringLiteral("200511");
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.optConformeMto[1]->setChecked(true);
    dlg.txtmtoTributo->setText(QStringLiteral("1,200"));
    dlg.lblMtoInteres->setText(QStringLiteral("35"));
    EXPECT_EQ(dlg.lblMtoAcogido->text(), QStringLiteral("1,235"));
    dlg.txtmtoTributo->clear();
    dlg.lblMtoInteres->clear();
    EXPECT_EQ(dlg.lblMtoAcogido->text(), QString());
}

TEST_F(DetalleTest, AnAmountBoxLosesItsGroupingWhileFocused)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.optConformeMto[1]->setChecked(true);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    dlg.lblMtoInteres->setText(QStringLiteral("1,234"));
    dlg.lblMtoInteres->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dlg.lblMtoInteres->text(), QStringLiteral("1234"));
    dlg.txtmtoTributo->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dlg.lblMtoInteres->text(), QStringLiteral("1,234"));
    dlg.lblMtoInteres->clear();
    dlg.lblMtoInteres->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(dlg.lblMtoInteres->text(), QStringLiteral("0"));
    dlg.hide();
}

// Closing the dialog or going to another window leaves the amount as typed;
// back in the dialog the user types on.
TEST_F(DetalleTest, AnAmountBoxIsLeftOnlyForAnotherControlOfTheDialog)
{
    const std::pair<Salida, QString> casos[] = {
        {Salida::Escape, QStringLiteral("12345")},       {Salida::BotonCerrar, QStringLiteral("12345")},
        {Salida::OtraVentana, QStringLiteral("123456")}, {Salida::OtroPrograma, QStringLiteral("123456")},
    };
    Inserta({});
    Carga();
    for (const auto& [eSalida, sTexto] : casos) {
        SCOPED_TRACE(NombreSalida(eSalida));
        frmCondeuDet& dlg = Abre();
        dlg.optAcogeFrac[0]->setChecked(true);
        dlg.optConformeMto[1]->setChecked(true);
        TecleaYSale(dlg, *dlg.lblMtoInteres, QStringLiteral("12345"), eSalida, QStringLiteral("6"));
        EXPECT_EQ(dlg.lblMtoInteres->text(), sTexto);
        EXPECT_EQ(dlg.isVisible(), !CierraElDialogo(eSalida));
        EXPECT_TRUE(script.shown().isEmpty());
        dlg.hide();
    }
}

TEST_F(DetalleTest, NothingCanBePastedIntoTheAmountBoxes)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.optConformeMto[1]->setChecked(true);
    for (QLineEdit* caja : {dlg.txtmtoTributo, dlg.lblMtoInteresCAP, dlg.lblMtoInteres}) {
        caja->clear();
        QApplication::clipboard()->setText(QStringLiteral("999"));
        Pega(*caja);
        EXPECT_EQ(caja->text(), QString()) << caja->objectName().toStdString();
        QApplication::clipboard()->setText(QStringLiteral("999"));
        Pulsa(*caja, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(caja->text(), QString()) << caja->objectName().toStdString();
        EXPECT_EQ(QApplication::clipboard()->text(), QString());
        QApplication::clipboard()->setText(QStringLiteral("999"));
        Clic(*caja, Qt::RightButton);
        EXPECT_EQ(QApplication::clipboard()->text(), QString()) << caja->objectName().toStdString();
        EXPECT_EQ(caja->contextMenuPolicy(), Qt::NoContextMenu);
    }
}

TEST_F(DetalleTest, TypedKeysAreFilteredAndMarkTheDebtModified)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.optConformeMto[1]->setChecked(true);
    dlg.txtmtoTributo->clear();
    Teclea(*dlg.txtmtoTributo, QStringLiteral("12a3."));
    EXPECT_EQ(dlg.txtmtoTributo->text(), QStringLiteral("123"));
}

TEST_F(DetalleTest, LeavingAfterTypingSavesNothingAndSaysTheDetailWasNotAccepted)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.cmdOpcion_Click(1);
    EXPECT_FALSE(bDetalleAceptado);
    EXPECT_TRUE(db().scalar(QStringLiteral("SELECT ind_acog FROM TMP_F0913DEUDAS")).isNull());

    Abre().cmdOpcion_Click(1);
    EXPECT_TRUE(bDetalleAceptado);
}

// ------------------------------------------------------------ layout by debt kind

TEST_F(DetalleTest, DebtKindsTwoAndThreeMoveTheLinesAndTheNextDebtGetsTheDesignBack)
{
    DeudaPrueba d02;
    d02.sIndTipDeu = QStringLiteral("02");
    d02.sPerDoc = QStringLiteral("201503");
    DeudaPrueba d03;
    d03.sIndTipDeu = QStringLiteral("03");
    d03.sPerDoc = QStringLiteral("201502");
    Inserta(d02);
    Inserta(d03);
    Inserta({});
    // Tab 1 of the request form lists no kind "02" or "03": a grid of every kind.
    frm->dat[1] = db().openRecordset(QStringLiteral(
        "SELECT d.*, '3031-TRIBUTO' AS des_tributo, '' AS des_valor FROM TMP_F0913DEUDAS d ORDER BY per_doc DESC"));
    frmCondeuDet& dlg = Abre();
    dlg.show();
    EXPECT_EQ(dlg.Label3->text(), QStringLiteral("Nº de formulario - Nº de orden"));
    EXPECT_EQ(dlg.lblNumvalor->text(), QStringLiteral("0621-0230010012345"));
    EXPECT_FALSE(dlg.lblCod_Tri_aso->isVisible());
    EXPECT_FALSE(dlg.Label4->isVisible());
    EXPECT_EQ(dlg.lblIndEstado->y(), 2180 / 15);

    frm->Dat(1).setAbsolutePosition(1);
    dlg.CargaValorDj();
    EXPECT_EQ(dlg.Label3->text(), QStringLiteral("Nº de infracción"));
    EXPECT_TRUE(dlg.lblCod_Tri_aso->isVisible());
    EXPECT_EQ(dlg.lblCod_Tri_aso->y(), 1800 / 15);
    EXPECT_TRUE(dlg.Label4->isVisible());

    frm->Dat(1).setAbsolutePosition(0);
    dlg.CargaValorDj();
    frm->Dat(1).setAbsolutePosition(2);
    dlg.CargaValorDj();
    EXPECT_EQ(dlg.Label3->text(), QStringLiteral("Número de resolución"));
    EXPECT_EQ(dlg.lblNumvalor->text(), QStringLiteral("0230010012345"));
    EXPECT_TRUE(dlg.Label4->isVisible());
    EXPECT_TRUE(dlg.lblCod_Tri_aso->isVisible());
    EXPECT_EQ(dlg.lblIndEstado->y(), 2520 / 15);
    dlg.hide();
}

// ------------------------------------------------------------ stored reasons

TEST_F(DetalleTest, StoredReasonsComeBackTickedWithTheirEvidence)
{
    DeudaPrueba d;
    d.indAcog = 1;
    d.indConf = 2;
    d.sMtoTributoC = QStringLiteral("900");
    Inserta(d);
    InsertaMotivo(1);
    InsertaSustento(1, 1, QStringLiteral("1062"), 123, QStringLiteral("0"), QStringLiteral("0"),
                    QStringLiteral("15/03/2008"));
    InsertaSustento(1, 2, QStringLiteral("1660"), 4567, QStringLiteral("0"), QStringLiteral("0"),
                    QStringLiteral("20/04/2009"));
    InsertaMotivo(4);
    InsertaSustento(4, 1, QStringLiteral("0"), 0, QStringLiteral("RI-0230-2015"), QStringLiteral("0"),
                    QStringLiteral("01/01/1901"));
    InsertaMotivo(3); // no evidence row: it does not come back
    Carga();
    frmCondeuDet& dlg = Abre();

    EXPECT_TRUE(dlg.chkmotivo[1]->isChecked());
    EXPECT_TRUE(dlg.chkmotivo[4]->isChecked());
    EXPECT_FALSE(dlg.chkmotivo[3]->isChecked());
    EXPECT_EQ(dlg.TagMotivo(1), QStringLiteral("1"));
    EXPECT_EQ(dlg.TagMotivo(4), QStringLiteral("1"));
    EXPECT_EQ(dlg.TagMotivo(3), QStringLiteral("0"));
    ASSERT_EQ(dlg.lstForm->count(), 2);
    // At the width of an entry typed in the evidence dialog.
    EXPECT_EQ(dlg.lstForm->item(0)->text(), QStringLiteral("1062          123        15/03/2008"));
    EXPECT_EQ(dlg.lstForm->item(1)->text(), QStringLiteral("1660         4567        20/04/2009"));
    EXPECT_EQ(dlg.pnumres(), QStringLiteral("RI-0230-2015"));
    EXPECT_EQ(dlg.pnumexp(), QString());
    EXPECT_FALSE(dlg.Modificado());
}

TEST_F(DetalleTest, StoredReasonsSevenAndEightAreTickedWithoutAButtonAndGoneForTheNextDebt)
{
    DeudaPrueba otra;
    otra.sPerDoc = QStringLiteral("201401");
    Inserta({});
    Inserta(otra);
    InsertaMotivo(7);
    InsertaMotivo(8);
    Carga();
    frmCondeuDet& dlg = Abre();
    EXPECT_TRUE(dlg.chkmotivo[7]->isChecked());
    EXPECT_TRUE(dlg.chkmotivo[8]->isChecked());
    EXPECT_FALSE(dlg.chkmotivo[8]->isVisible());
    EXPECT_EQ(dlg.cmdMotivo[7], nullptr);

    frm->Dat(1).setAbsolutePosition(1);
    dlg.CargaValorDj();
    EXPECT_FALSE(dlg.chkmotivo[7]->isChecked());
    EXPECT_FALSE(dlg.chkmotivo[8]->isChecked());
}

TEST_F(DetalleTest, AReasonLeftWithoutEvidenceIsUntickedAndTakesTheFocus)
{
    Inserta({});
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.optConformeMto[1]->setChecked(true);
    dlg.chkmotivo[1]->setChecked(true);
    EXPECT_TRUE(dlg.cmdMotivo[1]->isEnabled());
    script.onForm(QStringLiteral("frmSustento"), [](QWidget&) { return 0; });
    dlg.cmdMotivo_Click(1);
    EXPECT_EQ(nMotivo, 1);
    EXPECT_FALSE(dlg.chkmotivo[1]->isChecked());
    EXPECT_FALSE(dlg.cmdMotivo[1]->isEnabled());
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), dlg.chkmotivo[1]);
    dlg.hide();
}

TEST_F(DetalleTest, ReasonSixNeedsNoEvidenceAndAChallengedDebtOffersReasonsFourAndSix)
{
    DeudaPrueba d;
    d.sIndImpugnado = QStringLiteral("6");
    Inserta(d);
    Carga();
    frmCondeuDet& dlg = Abre();
    dlg.optAcogeFrac[0]->setChecked(true);
    dlg.optConformeMto[0]->setChecked(true);
    EXPECT_TRUE(dlg.chkmotivo[4]->isEnabled());
    EXPECT_TRUE(dlg.chkmotivo[6]->isEnabled());
    EXPECT_FALSE(dlg.chkmotivo[1]->isEnabled());
    dlg.chkmotivo[6]->setChecked(true);
    EXPECT_TRUE(dlg.chkmotivo[6]->isChecked());
    EXPECT_EQ(dlg.TagMotivo(6), QStringLiteral("0"));
    EXPECT_FALSE(dlg.cmdMotivo[6]->isVisible());
}

// Where the statement holds text for a number, the number the text begins
// with counts (none reads 0), and the debt is reviewed as any other.
TEST_F(DetalleTest, AStatementWithTextForANumberOpensAndIsReviewed)
{
    const struct {
        const char* sImpugnado;
        const char* sTributo;
        const char* sInteres;
        const char* sTributoVisto;
        const char* sInteresVisto;
        const char* sTotal;
        bool bImpugnada; // reasons 4 and 6 offered
    } casos[] = {
        {"S", "1000.00", "200.00", "1,000.00", "200.00", "1,200.00", false},
        {"6a", "1000.00", "200.00", "1,000.00", "200.00", "1,200.00", true},
        {"0", "1500.5 S/", "abc", "1,500.50", "0.00", "1,500.50", false},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.sImpugnado);
        db().execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS"));
        DeudaPrueba d;
        d.sIndImpugnado = QString::fromLatin1(caso.sImpugnado);
        d.sMtoTributoS = QString::fromLatin1(caso.sTributo);
        d.sMtoIntS = QString::fromLatin1(caso.sInteres);
        Inserta(d);
        Carga();
        frmCondeuDet& dlg = Abre();
        EXPECT_EQ(dlg.lblmtotribinsol1->text(), QString::fromLatin1(caso.sTributoVisto));
        EXPECT_EQ(dlg.lblmtointnocapital->text(), QString::fromLatin1(caso.sInteresVisto));
        EXPECT_EQ(dlg.lblmtotot1->text(), QString::fromLatin1(caso.sTotal));

        Pulsa(*dlg.optAcogeFrac[0], Qt::Key_Space);
        Pulsa(*dlg.optConformeMto[0], Qt::Key_Space);
        EXPECT_EQ(dlg.txtmtoTributo->text(), QString::fromLatin1(caso.sTributoVisto));
        EXPECT_EQ(dlg.chkmotivo[4]->isEnabled(), caso.bImpugnada);
        EXPECT_EQ(dlg.chkmotivo[6]->isEnabled(), caso.bImpugnada);
        if (caso.bImpugnada)
            Pulsa(*dlg.chkmotivo[6], Qt::Key_Space);
        script.answer(Ok);
        script.clear();
        Clic(*dlg.cmdOpcion[0], Qt::LeftButton);
        EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("La información se actualizó satisfactoriamente")});
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT ind_acog FROM TMP_F0913DEUDAS")).toInt(), 1);
    }
}

TEST_F(DetalleTest, TheRequestFormShowsItModallyAndItIsReleasedWhenItCloses)
{
    Inserta({});
    Carga();
    QString sPeriodoVisto;
    script.onForm(QStringLiteral("frmCondeuDet"), [&sPeriodoVisto](QWidget& w) {
        auto& dlg = static_cast<frmCondeuDet&>(w);
        sPeriodoVisto = dlg.lblPeriodo->text();
        dlg.reject(); // Esc leaves as "&Salir" does
        return 0;
    });
    MuestraFormularioNuevo<frmCondeuDet>();
    EXPECT_EQ(sPeriodoVisto, QStringLiteral("01/2015"));
    EXPECT_FALSE(SharedForm<frmCondeuDet>::exists());
    EXPECT_TRUE(bDetalleAceptado);
}

} // namespace
