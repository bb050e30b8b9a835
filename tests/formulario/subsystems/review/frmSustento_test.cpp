#include "formulario/subsystems/review/frmSustento.h"
#include "formulario/subsystems/review/frmCondeuDet.h"
#include "tests/formulario/subsystems/review/Frm913Simulado.h"
#include "tests/formulario/subsystems/review/SalidaDeCaja.h"
#include "tests/support/OnDisplay.h"

#include <QCheckBox>
#include <QClipboard>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace platform::mb;

namespace {

const QString kIdentico =
    QStringLiteral("Se ha encontrado un registro idéntico al que se quiere agregar. Rectifque");

class SustentoTest : public RevisionTest {
protected:
    // The evidence dialog of reason `nRazon` over a debt of period `sPerDoc`.
    frmSustento& AbreSustento(int nRazon, const QString& sPerDoc = QStringLiteral("201501"))
    {
        DeudaPrueba d;
        d.sPerDoc = sPerDoc;
        Inserta(d);
        Carga();
        deuda = &Abre();
        deuda->optAcogeFrac[0]->setChecked(true);
        deuda->optConformeMto[1]->setChecked(true);
        deuda->chkmotivo[nRazon]->setChecked(true);
        nMotivo = nRazon;
        sustento = std::make_unique<frmSustento>();
        sustento->Form_Load();
        return *sustento;
    }

    // Types a payment and presses "Agregar"; the boxes shown, answered OK.
    QStringList Agrega(const QString& sForm, const QString& sOrden, const QString& sFecha, int nMensajes = 0)
    {
        sustento->txtcodform->setText(sForm);
        sustento->txtnumord->setText(sOrden);
        sustento->mkeFechaPago->setText(sFecha);
        for (int i = 0; i < nMensajes; ++i)
            script.answer(Ok);
        script.clear();
        sustento->cmdAccion_Click(0);
        return Mensajes();
    }

    QStringList Entradas(const QListWidget& lista) const
    {
        QStringList entradas;
        for (int i = 0; i < lista.count(); ++i)
            entradas.append(lista.item(i)->text());
        return entradas;
    }

    void TearDown() override
    {
        sustento.reset();
        RevisionTest::TearDown();
    }

    frmCondeuDet* deuda = nullptr;
    std::unique_ptr<frmSustento> sustento;
};

TEST_F(SustentoTest, APaymentIsAThirtyFiveCharacterLine)
{
    frmSustento& dlg = AbreSustento(1);
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("Sustento"));
    EXPECT_EQ(dlg.Frame2->title(), QStringLiteral("Pagos no considerados"));
    EXPECT_EQ(dlg.HelpContext(), 1017);
    EXPECT_TRUE(Agrega(QStringLiteral("1062"), QStringLiteral("123"), QStringLiteral("15/03/2008")).isEmpty());
    ASSERT_EQ(dlg.lstForm->count(), 1);
    const QString sEntrada = dlg.lstForm->item(0)->text();
    EXPECT_EQ(sEntrada, QStringLiteral("1062") + QString(4, u' ') + QString(6, u' ') + QStringLiteral("123")
                            + QString(8, u' ') + QStringLiteral("15/03/2008"));
    EXPECT_EQ(sEntrada.size(), 35);
    EXPECT_EQ(dlg.txtcodform->text(), QString());
    EXPECT_EQ(dlg.txtnumord->text(), QString());
    EXPECT_EQ(dlg.TextoFechaPago(), QStringLiteral("__/__/____"));
}

TEST_F(SustentoTest, CaptionsReadWholeAndTheListShowsTwoEntriesAtLeast)
{
    frmSustento& dlg = AbreSustento(1);
    auto* lblOrden = dlg.findChild<QLabel*>(QStringLiteral("lblOrden"));
    ASSERT_NE(lblOrden, nullptr);
    EXPECT_GE(lblOrden->width(), lblOrden->fontMetrics().horizontalAdvance(lblOrden->text()));
    EXPECT_GE(dlg.lstForm->contentsRect().height(), 2 * dlg.lstForm->fontMetrics().lineSpacing() + 6);
    EXPECT_LE(dlg.cmdSustento[0]->geometry().bottom(), dlg.height());
    EXPECT_LE(dlg.Frame2->geometry().bottom(), dlg.cmdSustento[0]->y());
}

TEST_F(SustentoTest, TheSamePaymentTwiceIsRefusedWhateverItsDateAndAfterAReload)
{
    frmSustento& dlg = AbreSustento(1);
    Agrega(QStringLiteral("1062"), QStringLiteral("123"), QStringLiteral("15/03/2008"));
    EXPECT_EQ(Agrega(QStringLiteral("1062"), QStringLiteral("123"), QStringLiteral("16/03/2008"), 1),
              QStringList{kIdentico});
    EXPECT_EQ(dlg.lstForm->count(), 1);

    // An entry the debt dialog rebuilt from the stored rows.
    deuda->lstForm->clear();
    deuda->lstForm->addItem(EntradaPago(QStringLiteral("1660"), QStringLiteral("4567"), QStringLiteral("20/04/2009")));
    sustento = std::make_unique<frmSustento>();
    sustento->Form_Load();
    EXPECT_EQ(Agrega(QStringLiteral("1660"), QStringLiteral("4567"), QStringLiteral("21/04/2009"), 1),
              QStringList{kIdentico});
}

TEST_F(SustentoTest, AFormMustFitTheTributeOfTheDebtsPeriod)
{
    const QString kNoCorresponde = QStringLiteral("El formulario ingresado no corresponde al tributo: \n1011 - "
                                                  "IGV - CUENTA PROPIA\nRectifique.");
    const QString kNoExiste = QStringLiteral("El formulario ingresado no existe. Rectifique.");
    const struct {
        const char* sPeriodo;
        const char* sForm;
        QString sMensaje;
    } casos[] = {
        {"199307", "0500", kNoCorresponde}, {"199306", "0500", QString()}, {"199306", "0330", kNoExiste},
        {"199306", "0001", kNoExiste},      {"201501", "1660", QString()}, {"199001", "1660", QString()},
    };
    for (const auto& caso : casos) {
        db().execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS"));
        frmSustento& dlg = AbreSustento(1, QString::fromLatin1(caso.sPeriodo));
        const QStringList mensajes = Agrega(QString::fromLatin1(caso.sForm), QStringLiteral("12"),
                                            QStringLiteral("15/03/2008"), caso.sMensaje.isEmpty() ? 0 : 1);
        EXPECT_EQ(mensajes, caso.sMensaje.isEmpty() ? QStringList() : QStringList{caso.sMensaje})
            << caso.sPeriodo << " " << caso.sForm;
        EXPECT_EQ(dlg.lstForm->count(), caso.sMensaje.isEmpty() ? 1 : 0);
    }
}

TEST_F(SustentoTest, EachFieldOfAPaymentIsChecked)
{
    const QString sManana = QDate::currentDate().addDays(1).toString(QStringLiteral("dd/MM/yyyy"));
    const QString sHoy = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    const struct {
        QString sForm;
        QString sOrden;
        QString sFecha;
        QString sMensaje;
    } casos[] = {
        {QString(), QStringLiteral("12"), sHoy, QStringLiteral("Debe ingresar un formulario")},
        {QStringLiteral("1062"), QStringLiteral("0"), sHoy, QStringLiteral("Debe ingresar un número de orden")},
        {QStringLiteral("1062"), QStringLiteral("32768"), sHoy,
         QStringLiteral("El número de orden no debe ser mayor a 32767")},
        {QStringLiteral("1062"), QStringLiteral("12"), QString(), QStringLiteral("Debe registrar la fecha de pago")},
        {QStringLiteral("1062"), QStringLiteral("12"), QStringLiteral("31/02/2008"),
         QStringLiteral("La fecha de pago no es válida")},
        {QStringLiteral("1062"), QStringLiteral("12"), sManana,
         QStringLiteral("La fecha de pago no debe ser mayor a la fecha del sistema ")},
    };
    frmSustento& dlg = AbreSustento(1);
    for (const auto& caso : casos) {
        EXPECT_EQ(Agrega(caso.sForm, caso.sOrden, caso.sFecha, 1), QStringList{caso.sMensaje});
        EXPECT_EQ(script.shown().value(0).title, QStringLiteral("Sustento"));
    }
    EXPECT_EQ(dlg.lstForm->count(), 0);
    EXPECT_TRUE(Agrega(QStringLiteral("1062"), QStringLiteral("32767"), sHoy).isEmpty());
}

TEST_F(SustentoTest, RemovingNeedsAChosenEntryAndTheLastOneSendsTheFocusToTheForm)
{
    frmSustento& dlg = AbreSustento(1);
    dlg.show();
    QApplication::setActiveWindow(&dlg);
    Agrega(QStringLiteral("1062"), QStringLiteral("123"), QStringLiteral("15/03/2008"));
    script.answer(Ok);
    dlg.cmdAccion_Click(1);
    EXPECT_EQ(script.lastText(),
              QStringLiteral("Para poder eliminar un formulario, primero debe seleccionarse en un registro"));
    EXPECT_EQ(script.shown().last().style, Exclamation | OkOnly);
    dlg.lstForm->setCurrentRow(0);
    dlg.cmdAccion_Click(1);
    EXPECT_EQ(dlg.lstForm->count(), 0);
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), dlg.txtcodform);
    dlg.hide();
}

TEST_F(SustentoTest, AcceptingHandsThePaymentsBackAndMarksTheReason)
{
    frmSustento& dlg = AbreSustento(1);
    Agrega(QStringLiteral("1062"), QStringLiteral("123"), QStringLiteral("15/03/2008"));
    Agrega(QStringLiteral("1660"), QStringLiteral("9"), QStringLiteral("01/02/2009"));
    script.answer(Ok);
    dlg.cmdSustento_Click(0);
    EXPECT_EQ(script.lastText(), QStringLiteral("Se actualizó la información correctamente"));
    EXPECT_EQ(Entradas(*deuda->lstForm), Entradas(*dlg.lstForm));
    EXPECT_EQ(deuda->lstForm->count(), 2);
    EXPECT_EQ(deuda->TagMotivo(1), QStringLiteral("1"));
}

TEST_F(SustentoTest, AnEmptyListIsRefusedAndSalirMarksWhatTheDebtStillHolds)
{
    frmSustento& dlg = AbreSustento(1);
    deuda->lstForm->addItem(EntradaPago(QStringLiteral("1062"), QStringLiteral("1"), QStringLiteral("15/03/2008")));
    dlg.lstForm->clear();
    script.answer(Ok);
    script.clear();
    dlg.cmdSustento_Click(0);
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("Debe ingresar por lo menos algún formulario")});
    EXPECT_EQ(deuda->TagMotivo(1), QStringLiteral("0"));
    EXPECT_EQ(deuda->lstForm->count(), 1);

    script.clear();
    dlg.cmdSustento_Click(1);
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_EQ(deuda->TagMotivo(1), QStringLiteral("1"));
}

TEST_F(SustentoTest, SalirWithoutEvidenceLeavesTheReasonUnmarked)
{
    frmSustento& dlg = AbreSustento(3);
    EXPECT_EQ(dlg.lbl01->text(), QStringLiteral("Número expediente"));
    EXPECT_EQ(dlg.Frame1->title(), QStringLiteral("Error material (Art. 108 C.T.)"));
    dlg.txt01->setText(QStringLiteral("EXP-1"));
    dlg.cmdSustento_Click(1);
    EXPECT_EQ(deuda->TagMotivo(3), QStringLiteral("0"));
    EXPECT_EQ(deuda->pnumexp(), QString());
}

TEST_F(SustentoTest, TheFileAndResolutionNumbersAreCheckedAndKeptInCapitals)
{
    frmSustento& dlg = AbreSustento(3);
    dlg.txt01->setText(QStringLiteral("   "));
    script.answer(Ok);
    script.clear();
    dlg.cmdSustento_Click(0);
    EXPECT_EQ(Mensajes(), QStringList{QStringLiteral("Debe ingresar un número de expediente.")});

    deuda->setPnumres(QStringLiteral("RI-1"));
    nMotivo = 4;
    frmSustento otro;
    otro.Form_Load();
    EXPECT_EQ(otro.lbl01->text(), QStringLiteral("Nro.Resolución de Intendencia u Of.Zonal"));
    EXPECT_EQ(otro.txt01->text(), QStringLiteral("RI-1"));
    EXPECT_EQ(otro.txt01->maxLength(), 16);
    otro.txt01->clear();
    Teclea(*otro.txt01, QStringLiteral("ri-0230x"));
    EXPECT_EQ(otro.txt01->text(), QStringLiteral("RI0230X"));
    script.answer(Ok);
    otro.cmdSustento_Click(0);
    EXPECT_EQ(deuda->pnumres(), QStringLiteral("RI0230X"));
    EXPECT_EQ(deuda->TagMotivo(4), QStringLiteral("1"));
}

TEST_F(SustentoTest, TheNumberFieldsTakeDigitsOnlyAndNothingPasted)
{
    frmSustento& dlg = AbreSustento(1);
    for (QLineEdit* campo : {dlg.txtcodform, dlg.txtnumord}) {
        Teclea(*campo, QStringLiteral("1a2"));
        EXPECT_EQ(campo->text(), QStringLiteral("12"));
        QApplication::clipboard()->setText(QStringLiteral("77"));
        Pega(*campo);
        Pulsa(*campo, Qt::Key_Insert, Qt::ShiftModifier);
        EXPECT_EQ(campo->text(), QStringLiteral("12"));
        QApplication::clipboard()->setText(QStringLiteral("77"));
        Clic(*campo, Qt::RightButton);
        EXPECT_EQ(QApplication::clipboard()->text(), QString());
    }
    dlg.txtcodform_LostFocus();
    EXPECT_EQ(dlg.txtcodform->text(), QStringLiteral("0012"));
}

// The form number is brought to four digits only when the cursor moves on
// to another field: closing the dialog or going to another window leaves it
// as typed, and back in the dialog the user types on.
TEST_F(SustentoTest, TheFormNumberIsLeftOnlyForAnotherControlOfTheDialog)
{
    const std::pair<Salida, QString> casos[] = {
        {Salida::Escape, QStringLiteral("12")},      {Salida::BotonCerrar, QStringLiteral("12")},
        {Salida::OtraVentana, QStringLiteral("123")}, {Salida::OtroPrograma, QStringLiteral("123")},
        {Salida::Tab, QStringLiteral("0012")},
    };
    AbreSustento(1);
    for (const auto& [eSalida, sTexto] : casos) {
        SCOPED_TRACE(NombreSalida(eSalida));
        sustento = std::make_unique<frmSustento>();
        sustento->Form_Load();
        TecleaYSale(*sustento, *sustento->txtcodform, QStringLiteral("12"), eSalida, QStringLiteral("3"));
        EXPECT_EQ(sustento->txtcodform->text(), sTexto);
        EXPECT_EQ(sustento->isVisible(), !CierraElDialogo(eSalida));
        EXPECT_TRUE(script.shown().isEmpty());
    }
}

// Enter moves from field to field of a payment onto "Agregar", pressing no
// button on the way, and Enter there adds the payment.
TEST_F(SustentoTest, EnterThroughThePaymentsFieldsReachesAgregarAndPressesIt)
{
    REQUIRE_DISPLAY();
    frmSustento& dlg = AbreSustento(1);
    dlg.show();
    dlg.activateWindow();
    dlg.txtcodform->setFocus();
    ASSERT_TRUE(waitUntil([&] { return dlg.isActiveWindow() && QApplication::focusWidget() == dlg.txtcodform; }));
    for (const char* sTexto : {"1062", "123", "15032008"}) {
        QWidget* campo = QApplication::focusWidget();
        QTest::keyClicks(campo, QString::fromLatin1(sTexto));
        QTest::keyClick(campo, Qt::Key_Return);
        ASSERT_TRUE(waitUntil([&] { return QApplication::focusWidget() != campo; })) << sTexto;
    }
    ASSERT_EQ(QApplication::focusWidget(), dlg.cmdAccion[0]);
    EXPECT_EQ(dlg.lstForm->count(), 0);

    QTest::keyClick(dlg.cmdAccion[0], Qt::Key_Return);
    EXPECT_EQ(Entradas(*dlg.lstForm), QStringList{EntradaPago(QStringLiteral("1062"), QStringLiteral("123"),
                                                               QStringLiteral("15/03/2008"))});
    EXPECT_EQ(QApplication::focusWidget(), dlg.txtcodform);
}

} // namespace
