#include "formulario/subsystems/request/Frm913.h"

#include "formulario/core/ModGen00.h"
#include "formulario/core/SharedForm.h"
#include "platform/database.h"
#include "platform/databasetesting.h"
#include "tests/formulario/subsystems/request/DeudasPrueba.h"
#include "tests/support/EventosUsuario.h"
#include "tests/support/HostTest.h"
#include "tools/hostkit/declarations.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QGroupBox>
#include <QHeaderView>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QToolTip>
#include <QWindow>

using namespace platform::mb;

namespace {

const QString kRuc = QStringLiteral("20100070970");
const QString kNombre = QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C.");
const QString kPeriodo = QStringLiteral("201003");
QString Titulo()
{
    return QStringLiteral("0913 ") + kNombreProducto;
}
const QString kPregunta = QStringLiteral("¿El formulario ha sido modificado, desea guardar los cambios?");

// One declaration of the sample declarant as the import leaves it.
struct Declaracion {
    int nEntidad = 1;
    QVariant vCheque = QStringLiteral("0");
    QVariant vBcolibrad = 2;
    QString sIndGarantia = QStringLiteral("0");
    QString sCorrel; // a sent declaration
};

// The kinds and statuses the grids tell apart, newest period first.
struct FilaDeuda {
    const char* sNumDoc;
    const char* sPerDoc;
    const char* sTipo;
    const char* sEstado;
    const char* sAcogido;
};
const std::array<FilaDeuda, 5> kDeudas = {{
    {"0230010001", "200903", "01", "00", "1100"},
    {"0230010002", "200902", "04", "16", "500"},  // a status that counts for nothing
    {"0230010003", "200901", "06", "00", "7000"}, // the statement's summary row
    {"0230010004", "200903", "05", "00", "2000"}, // entered by hand
    {"0230010005", "200902", "05", "16", "1234"},
}};

class Frm913Test : public HostTest {
protected:
    void TearDown() override
    {
        SharedForm<Frm913>::release();
        HostTest::TearDown();
    }

    void InsertaCabecera(const Declaracion& d)
    {
        const bool bEnviada = !d.sCorrel.isEmpty();
        db().execute(QStringLiteral("INSERT INTO %1 (tip_doc_d, doc_id_d, periodo, formulario, Semana, %2estado, "
                                    "bcolibrad, cheque) VALUES (6, ?, ?, '0913', ?, %3 0, ?, ?)")
                         .arg(bEnviada ? "HCAB" : "CAB", bEnviada ? "Correl, " : "", bEnviada ? "?," : ""),
                     bEnviada ? QVariantList{kRuc, kPeriodo, d.nEntidad, d.sCorrel, d.vBcolibrad, d.vCheque}
                              : QVariantList{kRuc, kPeriodo, d.nEntidad, d.vBcolibrad, d.vCheque});
        if (!bEnviada)
            db().execute(QStringLiteral("INSERT INTO F0913GARANTIA (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                                        "ind_garantia, ind_persona, mto_deuda, mto_deuda_garantia) "
                                        "VALUES (6, ?, ?, '0913', ?, ?, ' 1 ', ' 500.00', '0.00')"),
                         {kRuc, kPeriodo, d.nEntidad, d.sIndGarantia});
    }

    // A notified debt of today's statement, of the given kind, status and accepted amount.
    static DeudaPrueba Deuda(const FilaDeuda& fila)
    {
        DeudaPrueba d;
        d.sNumDoc = QString::fromLatin1(fila.sNumDoc);
        d.sPerDoc = QString::fromLatin1(fila.sPerDoc);
        d.sIndTipDeu = QString::fromLatin1(fila.sTipo);
        d.sIndVerDeu = QString::fromLatin1(fila.sEstado);
        d.sActC = QString::fromLatin1(fila.sAcogido);
        d.dFecDesDeu = QDate::currentDate();
        return d;
    }

    Frm913& Abre(const Declaracion& d)
    {
        nModo = 1;
        sPeriodo = kPeriodo;
        nEntidad = d.nEntidad;
        bEnviadas = !d.sCorrel.isEmpty();
        Frm913& frm = SharedForm<Frm913>::instance();
        frm.EstableceDeclaracion({6, kRuc, kNombre, QStringLiteral("ENTIDAD"), d.sCorrel});
        frm.Form_Load();
        return frm;
    }

    // A declaration of entity 1 with three notified debts (one a summary row,
    // one of a status that counts for nothing) and, with `bFusion`, two
    // debts entered by hand.
    Frm913& AbreConDeudas(bool bFusion = false)
    {
        InsertaCabecera({});
        for (std::size_t i = 0; i < (bFusion ? 5u : 3u); ++i)
            InsertaDeuda(db(), "F0913DEUDAS", Deuda(kDeudas[i]));
        return Abre({});
    }

    int Filas(const QString& sTabla)
    {
        return db().scalar(QStringLiteral("SELECT COUNT(*) FROM ") + sTabla).toInt();
    }

    static QColor Fondo(const QLineEdit* caja) { return caja->palette().color(QPalette::Base); }

    // Every row of the declaration's saved and work tables, one text a row.
    QStringList Volcado()
    {
        QStringList filas;
        for (const char* sTabla : {"CAB", "DET", "F0913DEUDAS", "F0913MOTIVO", "F0913SUSTEN", "TMP_F0913DEUDAS",
                                   "TMP_F0913MOTIVO", "TMP_F0913SUSTEN"}) {
            for (const QString& sFila : rows(QStringLiteral("SELECT * FROM ") + QLatin1String(sTabla)))
                filas << QLatin1String(sTabla) + u'|' + sFila;
        }
        return filas;
    }
};

// ---------------------------------------------------------------------------
// Layout by entity

struct CasoEntidad {
    int nEntidad;
    const char* sMarco;
    int nBase;
    int nCuota;
    const char* sCodigo;
};

void PrintTo(const CasoEntidad& c, std::ostream* os)
{
    *os << c.sMarco;
}

class Frm913EntidadTest : public Frm913Test, public ::testing::WithParamInterface<CasoEntidad> {};

TEST_P(Frm913EntidadTest, OnlyTheOpenEntitysFrameShowsWithItsBoxesAndCode)
{
    const CasoEntidad& c = GetParam();
    InsertaCabecera({c.nEntidad});
    Frm913& frm = Abre({c.nEntidad});

    for (QGroupBox* marco : frm.FrameEntidad)
        EXPECT_EQ(!marco->isHidden(), marco->objectName() == QLatin1String(c.sMarco)) << marco->objectName().toStdString();
    EXPECT_EQ(frm.txtValor.at(c.nBase + 5)->text(), QLatin1String(c.sCodigo));
    EXPECT_EQ(frm.CasillaBase(), c.nBase);
    EXPECT_EQ(frm.CasillaGarantia(), c.nBase + 6);
    EXPECT_EQ(frm.txtValor.at(c.nCuota)->parentWidget()->objectName(), QLatin1String(c.sMarco));
    EXPECT_EQ(frm.txtValor.at(c.nBase)->objectName(), QStringLiteral("txtValor_%1").arg(c.nBase));
    EXPECT_EQ(frm.txtValor.at(505)->property("Tag").toString(), QStringLiteral("8030"));
    EXPECT_EQ(frm.txtValor.at(533)->property("Tag").toString(), QStringLiteral("7203"));
    EXPECT_EQ(frm.windowTitle(), Titulo());
}

INSTANTIATE_TEST_SUITE_P(Entidades, Frm913EntidadTest,
                         ::testing::Values(CasoEntidad{1, "Frame_ALCOR", 500, 535, "8030"},
                                           CasoEntidad{2, "Frame_ESSALUD", 507, 536, "5239"},
                                           CasoEntidad{3, "Frame_ONP", 514, 537, "5332"},
                                           CasoEntidad{5, "Frame_FONAVI", 521, 538, "5060"},
                                           CasoEntidad{8, "Frame_FONCOMUN", 528, 539, "7203"}));

TEST_F(Frm913Test, BoxesStartWhiteWhereTheUserTypesAndGreyElsewhere)
{
    Frm913& frm = AbreConDeudas();
    EXPECT_EQ(Fondo(frm.txtValor.at(501)), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_EQ(Fondo(frm.txtValor.at(535)), QColor(0xFF, 0xFF, 0xFF));
    for (int nCasilla : {500, 502, 503, 504, 505, 506, 550})
        EXPECT_EQ(Fondo(frm.txtValor.at(nCasilla)), QColor(0xC0, 0xC0, 0xC0)) << nCasilla;
    EXPECT_TRUE(frm.txtValor.at(550)->isHidden());
    EXPECT_EQ(frm.txtValor.size(), 45u);
    EXPECT_EQ(frm.txtValor.at(501)->maxLength(), 1);
    EXPECT_EQ(frm.txtValor.at(535)->maxLength(), 15);
}

TEST_F(Frm913Test, AnUnknownEntityShowsNoFrameAndLoads)
{
    InsertaCabecera({4});
    Frm913& frm = Abre({4});
    for (QGroupBox* marco : frm.FrameEntidad)
        EXPECT_TRUE(marco->isHidden());
    frm.Form_Activate();
    EXPECT_TRUE(script.shown().isEmpty());
}

// ---------------------------------------------------------------------------
// Declarant flags

TEST_F(Frm913Test, FlagsAndGuaranteeDataAreReadFromTheHeaderAndTheGuaranteeRow)
{
    InsertaCabecera({1, QStringLiteral(" 1 "), 7, QStringLiteral("1")});
    Abre({});
    EXPECT_EQ(nBcolibrad, 7);
    EXPECT_EQ(sBuenContrib, QStringLiteral("1"));
    EXPECT_EQ(sIndGarantia, QStringLiteral("1"));
    EXPECT_EQ(sIndPersona, QStringLiteral("1"));
    EXPECT_EQ(sMtoDeuda, QStringLiteral("500.00"));
    EXPECT_EQ(sMtoDeudaGarantia, QStringLiteral("0.00"));
}

TEST_F(Frm913Test, NullHeaderColumnsCountAsZeroAndEmpty)
{
    InsertaCabecera({1, QVariant(), QVariant()});
    Abre({});
    EXPECT_EQ(nBcolibrad, 0);
    EXPECT_EQ(sBuenContrib, QString());
}

TEST_F(Frm913Test, AGoodTaxpayerOwesNoInitialInstalmentAndNoGuarantee)
{
    InsertaCabecera({1, QStringLiteral("1")});
    Frm913& frm = Abre({});
    QLineEdit* cuota = frm.txtValor.at(535);
    EXPECT_EQ(cuota->text(), QStringLiteral("0"));
    EXPECT_FALSE(cuota->isEnabled());
    EXPECT_EQ(Fondo(cuota), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_TRUE(frm.lblmsg->isHidden());
    EXPECT_EQ(frm.txtValor.at(506)->text(), QStringLiteral("NO"));
    EXPECT_TRUE(frm.txtValor.at(506)->isEnabled());
}

TEST_F(Frm913Test, ARequiredGuaranteeShowsSiAndTheBoxIsNeverTypeable)
{
    sGarantia = QStringLiteral("1");
    InsertaCabecera({});
    Frm913& frm = Abre({});
    EXPECT_EQ(frm.txtValor.at(506)->text(), QStringLiteral("SI"));
    EXPECT_FALSE(frm.txtValor.at(506)->isEnabled());
    EXPECT_TRUE(frm.txtValor.at(506)->isReadOnly());
    EXPECT_FALSE(frm.lblmsg->isHidden());
}

// ---------------------------------------------------------------------------
// Grids and totals

TEST_F(Frm913Test, TheGridsShowTheirRowsCountsAndTotals)
{
    Frm913& frm = AbreConDeudas(true);
    EXPECT_EQ(frm.TDBGrid[1]->model()->rowCount(), 3);
    EXPECT_EQ(frm.lblTab[1]->text(), QStringLiteral("Total de registros : 1 de 3"));
    EXPECT_EQ(frm.TDBGrid[2]->model()->rowCount(), 2);
    frm.CalculaMontoTotal(frm.txtmtototal(1), 1);
    frm.CalculaMontoTotal(frm.txtmtototal(2), 2);
    EXPECT_EQ(frm.txtmtototal(1).text(), QStringLiteral("1,100"));
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("3,234"));
    EXPECT_EQ(Filas("TMP_F0913DEUDAS"), 5);
}

TEST_F(Frm913Test, WithoutHandEnteredDebtsTheSecondGridSaysSoAndTotalsZero)
{
    Frm913& frm = AbreConDeudas();
    EXPECT_EQ(frm.lblTab[2]->text(), QStringLiteral("Sin registros"));
    frm.CalculaMontoTotal(frm.txtmtototal(2), 2);
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("0"));
    EXPECT_FALSE(frm.SSTab1->isTabEnabled(2));
}

TEST_F(Frm913Test, MovingInAGridMovesItsRecordSetAndLabel)
{
    Frm913& frm = AbreConDeudas();
    QTableView* grilla = frm.TDBGrid[1];
    grilla->setCurrentIndex(grilla->model()->index(2, 0));
    EXPECT_EQ(frm.Dat(1).absolutePosition(), 2);
    EXPECT_EQ(frm.lblTab[1]->text(), QStringLiteral("Total de registros : 3 de 3"));
    EXPECT_EQ(frm.ColumnaGrilla(1, QStringLiteral("num_doc")), QStringLiteral("0230010003"));
}

TEST_F(Frm913Test, TheDebtsTabReloadsItsGridAndTotal)
{
    Frm913& frm = AbreConDeudas();
    frm.txtTelefono->setText(QStringLiteral("4441234"));
    frm.mkeFechaAcog->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    frm.SSTab1->setCurrentIndex(1);
    EXPECT_EQ(frm.SSTab1->currentIndex(), 1);
    EXPECT_EQ(frm.HelpContextTab(), 1017);
    EXPECT_EQ(frm.txtmtototal(1).text(), QStringLiteral("1,100"));
    EXPECT_EQ(sTim, QStringLiteral("1.2"));
    frm.SSTab1->setCurrentIndex(3);
    EXPECT_EQ(frm.HelpContextTab(), 1008);
    EXPECT_EQ(frm.txtValor.at(500)->text(), QStringLiteral("8,600"));
}

TEST_F(Frm913Test, BoxesTheUserCannotEditShowTheirTextFromTheStart)
{
    Frm913& frm = AbreConDeudas();
    QStringList cajas;
    for (QLineEdit* caja : frm.findChildren<QLineEdit*>()) {
        if ((caja->isReadOnly() || !caja->isEnabled()) && !caja->text().isEmpty()) {
            cajas << caja->objectName();
            EXPECT_EQ(caja->cursorPosition(), 0) << caja->objectName().toStdString();
        }
    }
    for (const char* sCaja : {"txtRazon", "TxtEntidad", "txtnumcas_500", "txtnumcas_535"})
        EXPECT_TRUE(cajas.contains(QLatin1String(sCaja))) << sCaja;
}

TEST_F(Frm913Test, ASentDeclarationShowsItsCorrelativesRowsReadOnly)
{
    InsertaCabecera({1, QStringLiteral("0"), 2, QStringLiteral("0"), QStringLiteral("002")});
    InsertaCabecera({});
    InsertaDeuda(db(), "HF0913DEUDAS", Deuda(kDeudas[0]));
    db().execute("UPDATE HF0913DEUDAS SET Correl = '002'");
    InsertaDeuda(db(), "HF0913DEUDAS", Deuda(kDeudas[1]));
    db().execute("UPDATE HF0913DEUDAS SET Correl = '001' WHERE Correl IS NULL");

    Frm913& frm = Abre({1, QStringLiteral("0"), 2, QStringLiteral("0"), QStringLiteral("002")});
    EXPECT_EQ(frm.windowTitle(), Titulo() + QStringLiteral(" - Enviadas"));
    EXPECT_EQ(frm.TDBGrid[1]->model()->rowCount(), 1);
    EXPECT_EQ(frm.ColumnaGrilla(1, QStringLiteral("num_doc")), QStringLiteral("0230010001"));
    EXPECT_EQ(frm.txtCorrel->text(), QStringLiteral("002"));
    EXPECT_FALSE(frm.txtCorrel->isHidden());
    for (QPushButton* boton : {frm.CmdGrabar, frm.CmdValidar, frm.CmdAcoge[1], frm.cmdDelete[2]})
        EXPECT_TRUE(boton->isHidden()) << boton->objectName().toStdString();
    EXPECT_FALSE(frm.txtTelefono->isEnabled());
    EXPECT_FALSE(frm.Opt_Fusion[1]->isEnabled());
}

TEST_F(Frm913Test, ASentDeclarationIsBrowsedWithoutChecksAndItsBoxesStayClosed)
{
    InsertaCabecera({1, QStringLiteral("0"), 2, QStringLiteral("0"), QStringLiteral("001")});
    InsertaDeuda(db(), "HF0913DEUDAS", Deuda(kDeudas[0]));
    db().execute("UPDATE HF0913DEUDAS SET Correl = '001'");
    for (const auto& [sCasilla, sValor] : QList<QPair<QString, QString>>{{"501", "0"}, {"028", "4441234"}})
        db().execute("INSERT INTO HDET (tip_doc_d, doc_id_d, periodo, Formulario, Semana, Correl, Casilla, i_valor) "
                     "VALUES (6, ?, ?, '0913', 1, '001', ?, ?)",
                     {kRuc, kPeriodo, sCasilla, sValor});
    Frm913& frm = Abre({1, QStringLiteral("0"), 2, QStringLiteral("0"), QStringLiteral("001")});
    EXPECT_EQ(frm.txtValor.at(501)->text(), QStringLiteral("0"));
    frm.SSTab1->setCurrentIndex(1);
    frm.SSTab1->setCurrentIndex(3);
    ASSERT_EQ(frm.SSTab1->currentIndex(), 3) << script.lastText().toStdString();
    for (int nCasilla : {501, 502, 503, 535})
        EXPECT_FALSE(frm.txtValor.at(nCasilla)->isEnabled()) << nCasilla;
    frm.CmdCancelar_Click();
    EXPECT_TRUE(script.shown().isEmpty());
}

// ---------------------------------------------------------------------------
// Options

TEST_F(Frm913Test, MergedCompaniesOpenTheSecondTab)
{
    Frm913& frm = AbreConDeudas(true);
    EXPECT_FALSE(frm.SSTab1->isTabEnabled(2));
    frm.Opt_Fusion[1]->click();
    EXPECT_TRUE(frm.SSTab1->isTabEnabled(2));
    EXPECT_FALSE(frm.Modificado());
}

TEST_F(Frm913Test, KeepingTheMergedCompaniesDebtsKeepsSiSelected)
{
    Frm913& frm = AbreConDeudas(true);
    frm.Opt_Fusion[1]->click();
    script.answer(No);
    frm.Opt_Fusion[0]->click();
    EXPECT_EQ(script.lastText(), QStringLiteral("Actualmente existe información en otras resoluciones. ¿Desea "
                                                "eliminarlos? "));
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Eliminar Comprobantes de Adquisiciones"));
    EXPECT_TRUE(frm.Opt_Fusion[1]->isChecked());
    EXPECT_TRUE(frm.SSTab1->isTabEnabled(2));
    EXPECT_EQ(frm.TDBGrid[2]->model()->rowCount(), 2);
}

TEST_F(Frm913Test, DeletingTheMergedCompaniesDebtsEmptiesAndClosesTheSecondTab)
{
    Frm913& frm = AbreConDeudas(true);
    frm.Opt_Fusion[1]->click();
    script.answer(Yes);
    frm.Opt_Fusion[0]->click();
    EXPECT_EQ(frm.lblTab[2]->text(), QStringLiteral("Sin registros"));
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("0"));
    EXPECT_FALSE(frm.SSTab1->isTabEnabled(2));
    EXPECT_EQ(Filas("TMP_F0913DEUDAS"), 3);
}

TEST_F(Frm913Test, TheSubstituteOptionMarksTheFormModified)
{
    Frm913& frm = AbreConDeudas();
    frm.OptRectifica_Click(0);
    EXPECT_TRUE(frm.OptRectifica[0]->isChecked());
    EXPECT_TRUE(frm.Modificado());
}

// ---------------------------------------------------------------------------
// Identification checks

struct CasoTelefono {
    const char* sTelefono;
    const char* sMensaje; // empty: the telephone passes
};

void PrintTo(const CasoTelefono& c, std::ostream* os)
{
    *os << '"' << c.sTelefono << '"';
}

class Frm913TelefonoTest : public Frm913Test, public ::testing::WithParamInterface<CasoTelefono> {};

TEST_P(Frm913TelefonoTest, LeavingTheFirstTabChecksTheTelephone)
{
    Frm913& frm = AbreConDeudas();
    frm.mkeFechaAcog->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    frm.txtTelefono->setText(QString::fromUtf8(GetParam().sTelefono));
    const QString sMensaje = QString::fromUtf8(GetParam().sMensaje);
    if (!sMensaje.isEmpty())
        script.answer(Ok);
    frm.SSTab1->setCurrentIndex(1);
    if (sMensaje.isEmpty()) {
        EXPECT_EQ(frm.SSTab1->currentIndex(), 1);
        EXPECT_TRUE(script.shown().isEmpty());
    } else {
        EXPECT_EQ(frm.SSTab1->currentIndex(), 0);
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.lastText(), sMensaje);
        EXPECT_EQ(script.shown().last().title, Titulo());
        EXPECT_EQ(script.shown().last().style, Critical | OkOnly);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Telefonos, Frm913TelefonoTest,
    ::testing::Values(
        CasoTelefono{"", "Ingrese correctamente el teléfono"},
        CasoTelefono{"91234", "Ingrese correctamente el teléfono"},
        CasoTelefono{"12345678", "Identificación-Información general : El número de teléfono ingresado debe ser de "
                                 "7 dígitos, o un celular de 9 dígitos"},
        CasoTelefono{"91234567", "Identificación-Información general : El celular debe ser de 9 dígitos"},
        CasoTelefono{"123456", ""}, CasoTelefono{"4441234", ""}, CasoTelefono{"987654321", ""}));

TEST_F(Frm913Test, ARefusedUpdateDateIsShownAndKeepsTheFirstTab)
{
    Frm913& frm = AbreConDeudas();
    frm.txtTelefono->setText(QStringLiteral("4441234"));
    script.answer(Ok);
    frm.SSTab1->setCurrentIndex(3);
    EXPECT_EQ(frm.SSTab1->currentIndex(), 0);
    EXPECT_EQ(script.lastText(), QStringLiteral("Debe registrar la Fecha de actualización"));
}

TEST_F(Frm913Test, MovingBetweenTheDebtTabsRunsNoIdentificationCheck)
{
    Frm913& frm = AbreConDeudas(true);
    frm.Opt_Fusion[1]->click();
    frm.txtTelefono->setText(QStringLiteral("4441234"));
    frm.mkeFechaAcog->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    frm.SSTab1->setCurrentIndex(1);
    frm.txtTelefono->clear();
    frm.SSTab1->setCurrentIndex(2);
    frm.SSTab1->setCurrentIndex(3);
    EXPECT_EQ(frm.SSTab1->currentIndex(), 3);
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(Frm913Test, AChangedUpdateDateIsConfirmedBeforeTheDebtsFollowIt)
{
    Frm913& frm = AbreConDeudas();
    const QString sAyer = QDate::currentDate().addDays(-1).toString(QStringLiteral("dd/MM/yyyy"));
    const QString sHoy = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    frm.mkeFechaAcog->setText(sAyer);
    frm.mkeFechaAcog_GotFocus();
    frm.mkeFechaAcog->setText(sHoy);
    script.answer(No);
    frm.mkeFechaAcog_LostFocus();
    EXPECT_EQ(script.lastText(), QStringLiteral("Se procederá a la actualización de la deuda. ¿Desea continuar?"));
    EXPECT_EQ(frm.FechaAcog(), sAyer);

    frm.txtValor.at(501)->setText(QStringLiteral("0"));
    frm.mkeFechaAcog->setText(sHoy);
    sTim = QStringLiteral("1.2");
    script.answer(Yes);
    frm.mkeFechaAcog_LostFocus();
    EXPECT_EQ(frm.FechaAcog(), sHoy);
    EXPECT_EQ(frm.txtValor.at(501)->text(), QString());
}

TEST_F(Frm913Test, TheFirstUpdateDateAsksNothingAndARefusedOneIsPutBack)
{
    Frm913& frm = AbreConDeudas();
    frm.mkeFechaAcog_GotFocus();
    frm.mkeFechaAcog->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    frm.mkeFechaAcog_LostFocus();
    EXPECT_TRUE(script.shown().isEmpty());

    frm.mkeFechaAcog_GotFocus();
    frm.mkeFechaAcog->setText(QStringLiteral("31/02/2020"));
    script.answer(Ok);
    frm.mkeFechaAcog_LostFocus();
    EXPECT_EQ(script.lastText(), QStringLiteral("La Fecha de actualización no es válida"));
    EXPECT_EQ(frm.FechaAcog(), QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
}

// ---------------------------------------------------------------------------
// Telephone and date keys

void Teclea(QWidget* control, Qt::Key tecla, const QString& sTexto, Qt::KeyboardModifiers modificadores = {})
{
    QKeyEvent pulsa(QEvent::KeyPress, tecla, modificadores, sTexto);
    QApplication::sendEvent(control, &pulsa);
}

TEST_F(Frm913Test, TheTelephoneTakesDigitsOnlyAndEveryKeyMarksTheForm)
{
    Frm913& frm = AbreConDeudas();
    Teclea(frm.txtTelefono, Qt::Key_4, QStringLiteral("4"));
    Teclea(frm.txtTelefono, Qt::Key_A, QStringLiteral("a"));
    Teclea(frm.txtTelefono, Qt::Key_Minus, QStringLiteral("-"));
    Teclea(frm.txtTelefono, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(frm.txtTelefono->text(), QStringLiteral("4"));
    EXPECT_TRUE(frm.Modificado());
}

TEST_F(Frm913Test, NothingIsPastedIntoTheTelephone)
{
    Frm913& frm = AbreConDeudas();
    QApplication::clipboard()->setText(QStringLiteral("123"));
    Teclea(frm.txtTelefono, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    EXPECT_EQ(frm.txtTelefono->text(), QString());
    Teclea(frm.txtTelefono, Qt::Key_Insert, QString(), Qt::ShiftModifier);
    EXPECT_EQ(frm.txtTelefono->text(), QString());
    EXPECT_EQ(QApplication::clipboard()->text(), QString());

    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2));
    QApplication::sendEvent(frm.txtTelefono, &menu);
    EXPECT_EQ(frm.findChildren<QMenu*>().size() + frm.txtTelefono->findChildren<QMenu*>().size(), 0);
    QApplication::clipboard()->setText(QStringLiteral("123"));
    QMouseEvent derecho(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::RightButton, Qt::RightButton,
                        Qt::NoModifier);
    QApplication::sendEvent(frm.txtTelefono, &derecho);
    EXPECT_EQ(QApplication::clipboard()->text(), QString());
}

TEST_F(Frm913Test, AChangedBoxRaisesItsChangeOnlyWhenTheTextChanges)
{
    Frm913& frm = AbreConDeudas();
    frm.txtValor.at(505)->setText(QStringLiteral("8030")); // as it stands
    EXPECT_FALSE(frm.Modificado());
    frm.txtValor.at(504)->setText(QStringLiteral("10"));
    EXPECT_TRUE(frm.Modificado());
}

// ---------------------------------------------------------------------------
// Focus leaving the form

// The form on the screen, its window active and the cursor in `caja`.
void MuestraConFoco(Frm913& frm, QWidget* caja)
{
    frm.show();
    QApplication::setActiveWindow(&frm);
    caja->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), caja);
}

struct CasoCierre {
    const char* sCaso;
    std::function<void(Frm913&)> cierra;
    QStringList cajas; // the boxes shown before the closing question
};

void PrintTo(const CasoCierre& c, std::ostream* os)
{
    *os << c.sCaso;
}

class Frm913CierreTest : public Frm913Test, public ::testing::WithParamInterface<CasoCierre> {};

TEST_P(Frm913CierreTest, ClosingFromTheDateBoxAsksOnlyTheClosingQuestion)
{
    Frm913& frm = AbreConDeudas();
    MuestraConFoco(frm, frm.mkeFechaAcog);
    Teclea(frm.mkeFechaAcog, Qt::Key_1, QStringLiteral("1")); // a date begun: the form is modified
    for (int n = 0; n < GetParam().cajas.size(); ++n)
        script.answer(Ok);
    script.answer(No);
    GetParam().cierra(frm);
    QApplication::processEvents();
    QStringList mostradas;
    for (const platform::ShownMessage& caja : script.shown())
        mostradas << caja.text;
    EXPECT_EQ(mostradas, GetParam().cajas + QStringList{kPregunta});
    EXPECT_TRUE(frm.isHidden());
    EXPECT_EQ(FormularioSolicitud(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Cierres, Frm913CierreTest,
    ::testing::Values(CasoCierre{"Escape", [](Frm913& frm) { Teclea(frm.mkeFechaAcog, Qt::Key_Escape, QString()); }},
                      CasoCierre{"CloseButton",
                                 [](Frm913& frm) {
                                     QCloseEvent cierre;
                                     QApplication::sendEvent(frm.windowHandle(), &cierre);
                                 }},
                      // A click: the button takes the focus from the box, which checks the date it was left with.
                      CasoCierre{"Salir",
                                 [](Frm913& frm) {
                                     frm.CmdCancelar->setFocus(Qt::MouseFocusReason);
                                     frm.CmdCancelar->click();
                                 },
                                 {QStringLiteral("La Fecha de actualización no es válida")}}));

class Frm913OtraVentanaTest : public Frm913Test, public ::testing::WithParamInterface<bool> {};

// Another window of the program (as a message box) or none (another program).
TEST_P(Frm913OtraVentanaTest, AnotherWindowTakingTheFocusChecksNothingAndKeepsAHalfTypedDate)
{
    Frm913& frm = AbreConDeudas();
    const QString sHoy = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    frm.mkeFechaAcog->setText(sHoy);
    MuestraConFoco(frm, frm.mkeFechaAcog);
    for (int i = 0; i < 4; ++i)
        Teclea(frm.mkeFechaAcog, Qt::Key_Backspace, QString());
    const QString sAMedias = sHoy.left(6) + QStringLiteral("____");
    ASSERT_EQ(frm.FechaAcog(), sAMedias);

    QWidget otra;
    if (GetParam())
        otra.show();
    QApplication::setActiveWindow(GetParam() ? &otra : nullptr);
    QApplication::processEvents();
    QApplication::setActiveWindow(&frm);
    QApplication::processEvents();
    EXPECT_TRUE(script.shown().isEmpty()) << script.lastText().toStdString();
    EXPECT_EQ(QApplication::focusWidget(), frm.mkeFechaAcog);
    EXPECT_EQ(frm.FechaAcog(), sAMedias);

    // Moving on to the next control checks the date and puts back the one it had when entered.
    script.answer(Ok);
    Teclea(frm.mkeFechaAcog, Qt::Key_Tab, QStringLiteral("\t"));
    QApplication::processEvents();
    EXPECT_EQ(script.lastText(), QStringLiteral("La Fecha de actualización no es válida"));
    EXPECT_EQ(frm.FechaAcog(), sHoy);
}

INSTANTIATE_TEST_SUITE_P(Ventanas, Frm913OtraVentanaTest, ::testing::Bool());

// ---------------------------------------------------------------------------
// Live recalculation of the boxes (UIT 3,600 for 2010; TIM 1.2)

class Frm913CasillasTest : public Frm913Test {
protected:
    // The declaration on the payment tab with its accepted debt of 8,600.
    Frm913& AbreEnModalidad(const QVariant& vCheque = QStringLiteral("0"))
    {
        InsertaCabecera({1, vCheque});
        for (std::size_t i = 0; i < 3; ++i)
            InsertaDeuda(db(), "F0913DEUDAS", Deuda(kDeudas[i]));
        Frm913& frm = Abre({});
        sTim = QStringLiteral("1.2");
        frm.CalculaCasillas();
        return frm;
    }

    static void Escribe(QLineEdit* caja, const QString& sTexto)
    {
        for (const QChar c : sTexto)
            Teclea(caja, Qt::Key(c.toUpper().unicode()), QString(c));
    }
};

TEST_F(Frm913CasillasTest, TheAcceptedDebtIsTheSumOfTheAcceptedAmounts)
{
    Frm913& frm = AbreEnModalidad();
    EXPECT_EQ(frm.txtValor.at(500)->text(), QStringLiteral("8,600"));
}

struct CasoModalidad {
    const char* sTecleado;
    const char* sQueda;
};

void PrintTo(const CasoModalidad& c, std::ostream* os)
{
    *os << '"' << c.sTecleado << '"';
}

class Frm913ModalidadTest : public Frm913CasillasTest, public ::testing::WithParamInterface<CasoModalidad> {};

TEST_P(Frm913ModalidadTest, OnlyInstalmentsOrDeferralWithInstalmentsStand)
{
    Frm913& frm = AbreEnModalidad();
    frm.txtValor.at(501)->setText(QString::fromLatin1(GetParam().sTecleado));
    EXPECT_EQ(frm.txtValor.at(501)->text(), QLatin1String(GetParam().sQueda));
    EXPECT_TRUE(frm.Modificado());
}

INSTANTIATE_TEST_SUITE_P(Modalidades, Frm913ModalidadTest,
                         ::testing::Values(CasoModalidad{"1", ""}, CasoModalidad{"3", ""}, CasoModalidad{"-1", ""},
                                           CasoModalidad{"9", ""}, CasoModalidad{"0", "0"},
                                           CasoModalidad{"2", "2"}));

TEST_F(Frm913CasillasTest, InstalmentsOpenTheInstalmentsBoxAndTheInitialInstalment)
{
    Frm913& frm = AbreEnModalidad();
    Escribe(frm.txtValor.at(501), QStringLiteral("0"));
    EXPECT_FALSE(frm.txtValor.at(502)->isEnabled());
    EXPECT_TRUE(frm.txtValor.at(502)->isReadOnly());
    EXPECT_TRUE(frm.txtValor.at(503)->isEnabled());
    EXPECT_EQ(Fondo(frm.txtValor.at(503)), QColor(0xFF, 0xFF, 0xFF));
    EXPECT_FALSE(frm.txtValor.at(504)->isEnabled());
    EXPECT_TRUE(frm.txtValor.at(535)->isEnabled());
    EXPECT_EQ(frm.txtValor.at(535)->text(), QStringLiteral("0"));

    Escribe(frm.txtValor.at(503), QStringLiteral("12"));
    EXPECT_EQ(frm.txtValor.at(504)->text(), QStringLiteral("762"));
}

TEST_F(Frm913CasillasTest, DeferralWithInstalmentsOpensTheMonthsAndClosesTheInitialInstalment)
{
    Frm913& frm = AbreEnModalidad();
    Escribe(frm.txtValor.at(501), QStringLiteral("2"));
    EXPECT_TRUE(frm.txtValor.at(502)->isEnabled());
    EXPECT_FALSE(frm.txtValor.at(502)->isReadOnly());
    EXPECT_TRUE(frm.txtValor.at(503)->isEnabled());
    EXPECT_FALSE(frm.txtValor.at(535)->isEnabled());
    EXPECT_EQ(Fondo(frm.txtValor.at(535)), QColor(0xC0, 0xC0, 0xC0));
}

struct CasoLimite {
    const char* sModalidad;
    int nCasilla;
    const char* sTecleado;
    bool bQueda;
};

void PrintTo(const CasoLimite& c, std::ostream* os)
{
    *os << c.sModalidad << " " << c.nCasilla << "=" << c.sTecleado;
}

class Frm913LimiteTest : public Frm913CasillasTest, public ::testing::WithParamInterface<CasoLimite> {};

TEST_P(Frm913LimiteTest, MonthsAndInstalmentsOutsideTheirRangeAreEmptied)
{
    const CasoLimite& c = GetParam();
    Frm913& frm = AbreEnModalidad();
    frm.txtValor.at(501)->setText(QLatin1String(c.sModalidad));
    frm.txtValor.at(c.nCasilla)->setText(QLatin1String(c.sTecleado));
    EXPECT_EQ(frm.txtValor.at(c.nCasilla)->text(), c.bQueda ? QLatin1String(c.sTecleado) : QLatin1String(""));
}

INSTANTIATE_TEST_SUITE_P(Limites, Frm913LimiteTest,
                         ::testing::Values(CasoLimite{"2", 502, "6", true}, CasoLimite{"2", 502, "7", false},
                                           CasoLimite{"2", 502, "0", false}, CasoLimite{"0", 503, "72", true},
                                           CasoLimite{"0", 503, "73", false}, CasoLimite{"0", 503, "0", false},
                                           CasoLimite{"2", 503, "66", true}, CasoLimite{"2", 503, "67", false}));

TEST_F(Frm913CasillasTest, AZeroAcceptedDebtEmptiesAndGreysItsPlan)
{
    Frm913& frm = AbreEnModalidad();
    frm.txtValor.at(501)->setText(QStringLiteral("0"));
    frm.txtValor.at(503)->setText(QStringLiteral("12"));
    frm.txtValor.at(500)->setText(QStringLiteral("0"));
    for (int nCasilla : {501, 502, 503, 504})
        EXPECT_EQ(frm.txtValor.at(nCasilla)->text(), QString()) << nCasilla;
    for (int nCasilla : {502, 503, 504})
        EXPECT_FALSE(frm.txtValor.at(nCasilla)->isEnabled()) << nCasilla;
    EXPECT_FALSE(frm.txtValor.at(535)->isEnabled());
}

TEST_F(Frm913CasillasTest, TheInitialInstalmentEntersTheInstalmentAmount)
{
    Frm913& frm = AbreEnModalidad();
    frm.txtValor.at(501)->setText(QStringLiteral("0"));
    frm.txtValor.at(503)->setText(QStringLiteral("12"));
    frm.txtValor.at(535)->setText(QStringLiteral("1000"));
    EXPECT_EQ(frm.txtValor.at(504)->text(), QStringLiteral("674"));
    // A new accepted debt keeps counting the initial instalment the box holds.
    frm.txtValor.at(500)->setText(QStringLiteral("8,600"));
    frm.txtValor.at(500)->setText(QStringLiteral("8600"));
    EXPECT_EQ(frm.txtValor.at(504)->text(), QStringLiteral("674"));
}

TEST_F(Frm913CasillasTest, TheInitialInstalmentIsAWholeNumberWithoutSeparators)
{
    Frm913& frm = AbreEnModalidad();
    frm.txtValor.at(501)->setText(QStringLiteral("0"));
    frm.txtValor.at(535)->setText(QStringLiteral("1234.6"));
    EXPECT_EQ(frm.txtValor.at(535)->text(), QStringLiteral("1235"));
}

TEST_F(Frm913CasillasTest, AGoodTaxpayersInitialInstalmentStaysZero)
{
    Frm913& frm = AbreEnModalidad(QStringLiteral("1"));
    frm.txtValor.at(501)->setText(QStringLiteral("0"));
    EXPECT_FALSE(frm.txtValor.at(535)->isEnabled());
    frm.txtValor.at(535)->setText(QStringLiteral("500"));
    EXPECT_EQ(frm.txtValor.at(535)->text(), QStringLiteral("0"));
    EXPECT_EQ(frm.txtValor.at(506)->text(), QStringLiteral("NO"));
}

TEST_F(Frm913CasillasTest, ADebtAboveAHundredUitNeedsAGuarantee)
{
    Frm913& frm = AbreEnModalidad();
    sNumDeudas = QStringLiteral("1");
    frm.txtValor.at(500)->setText(QStringLiteral("400000"));
    EXPECT_EQ(frm.txtValor.at(506)->text(), QStringLiteral("SI"));
    EXPECT_EQ(sGarantia, QStringLiteral("1"));
    EXPECT_FALSE(frm.Frame_Garantia->isHidden());
    frm.txtValor.at(500)->setText(QStringLiteral("1000"));
    EXPECT_EQ(frm.txtValor.at(506)->text(), QStringLiteral("NO"));
    EXPECT_TRUE(frm.Frame_Garantia->isHidden());
}

TEST_F(Frm913CasillasTest, BoxesTakeDigitsOnlyAndEnterTypesNothing)
{
    Frm913& frm = AbreEnModalidad();
    frm.txtValor.at(501)->setText(QStringLiteral("0"));
    QLineEdit* cuotas = frm.txtValor.at(503);
    Escribe(cuotas, QStringLiteral("1a.-2"));
    Teclea(cuotas, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(cuotas->text(), QStringLiteral("12"));
    QApplication::clipboard()->setText(QStringLiteral("99"));
    Teclea(cuotas, Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier);
    EXPECT_EQ(cuotas->text(), QStringLiteral("12"));
}

TEST_F(Frm913CasillasTest, TheInitialInstalmentLosesItsSeparatorsWhileEdited)
{
    Frm913& frm = AbreEnModalidad();
    frm.txtValor.at(501)->setText(QStringLiteral("0"));
    QLineEdit* cuota = frm.txtValor.at(535);
    cuota->setText(QStringLiteral("1250"));
    frm.txtValor_LostFocus(535);
    // Written 1,250 on leaving, which the box's own change writes back whole.
    EXPECT_EQ(cuota->text(), QStringLiteral("1250"));
    EXPECT_EQ(cuota->maxLength(), 15);
    bFormCargado = false;
    frm.txtValor_LostFocus(535);
    EXPECT_EQ(cuota->text(), QStringLiteral("1,250"));
    bFormCargado = true;
    MuestraConFoco(frm, cuota);
    EXPECT_EQ(cuota->text(), QStringLiteral("1250"));
    EXPECT_EQ(cuota->maxLength(), 12);
    cuota->clear();
    frm.txtValor_GotFocus(535);
    EXPECT_EQ(cuota->text(), QStringLiteral("0"));
}

TEST_F(Frm913CasillasTest, LeavingAnEmptyModalityClosesAndEmptiesTheInitialInstalment)
{
    Frm913& frm = AbreEnModalidad();
    frm.txtValor.at(535)->setText(QStringLiteral("300"));
    frm.txtValor_LostFocus(501);
    EXPECT_FALSE(frm.txtValor.at(535)->isEnabled());
    EXPECT_EQ(frm.txtValor.at(535)->text(), QString());
}

// ---------------------------------------------------------------------------
// Saved boxes, save and validation

TEST_F(Frm913Test, AReopenedDeclarationShowsItsSavedBoxes)
{
    const QString sHoy = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));
    const QList<QPair<QString, QString>> casillas = {
        {"005", "1"},   {"028", "4441234"}, {"551", "010"}, {"541", sHoy}, {"545", "1"},
        {"500", "8600"}, {"501", "0"},     {"503", "12"},  {"506", "1"},
    };
    for (const auto& [sCasilla, sValor] : casillas)
        db().execute("INSERT INTO DET (tip_doc_d, doc_id_d, periodo, Formulario, Semana, Casilla, i_valor) "
                     "VALUES (6, ?, ?, '0913', 1, ?, ?)",
                     {kRuc, kPeriodo, sCasilla, sValor});
    Frm913& frm = AbreConDeudas(true);
    EXPECT_TRUE(frm.OptRectifica[0]->isChecked());
    EXPECT_EQ(frm.txtTelefono->text(), QStringLiteral("4441234"));
    EXPECT_FALSE(frm.ChkGarantia[0]->isChecked());
    EXPECT_TRUE(frm.ChkGarantia[1]->isChecked());
    EXPECT_EQ(frm.FechaAcog(), sHoy);
    EXPECT_TRUE(frm.Opt_Fusion[1]->isChecked());
    EXPECT_TRUE(frm.SSTab1->isTabEnabled(2));
    EXPECT_EQ(frm.txtValor.at(500)->text(), QStringLiteral("8,600"));
    EXPECT_EQ(frm.txtValor.at(503)->text(), QStringLiteral("12"));
    EXPECT_EQ(frm.txtValor.at(506)->text(), QStringLiteral("SI"));
    EXPECT_FALSE(frm.txtValor.at(506)->isEnabled());
    EXPECT_FALSE(frm.Modificado());
}

// A declaration whose identification passes: the telephone and today's update date.
Frm913& Identificada(Frm913& frm)
{
    frm.txtTelefono->setText(QStringLiteral("4441234"));
    frm.mkeFechaAcog->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    return frm;
}

TEST_F(Frm913Test, SavingWritesTheBoxesAndClearsTheChanges)
{
    Frm913& frm = Identificada(AbreConDeudas());
    frm.OptRectifica_Click(0);
    script.answer(Ok);
    frm.CmdGrabar_Click();
    EXPECT_EQ(script.lastText(), nInconsistencia == 1
                                     ? QStringLiteral("La declaración fue grabada con inconsistencias..!!")
                                     : QStringLiteral("Toda la información de la declaración fue grabada "
                                                      "satisfactoriamente."));
    EXPECT_FALSE(frm.Modificado());
    EXPECT_EQ(db().scalar("SELECT i_valor FROM DET WHERE Casilla = '028'").toString(), QStringLiteral("4441234"));
    EXPECT_EQ(db().scalar("SELECT i_valor FROM DET WHERE Casilla = '005'").toString(), QStringLiteral("1"));
    EXPECT_EQ(Filas("F0913DEUDAS"), 3);
}

TEST_F(Frm913Test, AnOldStatementWithoutTheGoodTaxpayerFlagIsNotSaved)
{
    InsertaCabecera({1, QString()});
    Frm913& frm = Identificada(Abre({}));
    frm.OptRectifica_Click(0);
    script.answer(Ok);
    frm.CmdGrabar_Click();
    EXPECT_EQ(script.lastText(), QStringLiteral("Esta declaración la ha realizado con un archivo personalizado "
                                                "antiguo. Debe solicitar nuevamente su archivo a ALCOR."));
    EXPECT_TRUE(frm.Modificado());
    EXPECT_EQ(Filas("DET"), 0);
}

TEST_F(Frm913Test, YesInTheClosingQuestionSavesAndCloses)
{
    Frm913& frm = Identificada(AbreConDeudas());
    frm.OptRectifica_Click(0);
    script.answer(Yes);
    script.answer(Ok);
    frm.CmdCancelar_Click();
    EXPECT_GT(Filas("DET"), 0);
    EXPECT_EQ(Filas("TMP_F0913DEUDAS"), 0);
}

TEST_F(Frm913Test, YesWithARefusedSaveKeepsTheFormOpen)
{
    Frm913& frm = AbreConDeudas(); // no telephone: the save refuses
    frm.OptRectifica_Click(0);
    script.answer(Yes);
    script.answer(Ok);
    frm.CmdCancelar_Click();
    EXPECT_EQ(script.lastText(), QStringLiteral("Ingrese correctamente el teléfono"));
    EXPECT_EQ(Filas("TMP_F0913DEUDAS"), 3);
    EXPECT_EQ(Filas("DET"), 0);
}

// What the user typed and chose in the form.
QStringList Valores(const Frm913& frm)
{
    QStringList valores{frm.txtTelefono->text(), frm.FechaAcog(), QString::number(frm.OptRectifica[0]->isChecked())};
    for (const auto& [nCasilla, caja] : frm.txtValor)
        valores << caja->text();
    return valores;
}

TEST_F(Frm913Test, AFailedSaveKeepsTheFormItsValuesAndTheTablesAndCanBeSavedAgain)
{
    Frm913& frm = Identificada(AbreConDeudas());
    frm.show();
    frm.OptRectifica[0]->click();
    frm.txtValor.at(501)->setText(QStringLiteral("0"));
    frm.txtValor.at(503)->setText(QStringLiteral("12"));
    const QStringList valores = Valores(frm);
    const QStringList antes = Volcado();
    for (int nEscritura : {1, 12}) { // the header; a box
        SCOPED_TRACE(nEscritura);
        script.clear();
        script.answer(Ok);
        {
            platform::testing::FailWriteNumber falla(nEscritura);
            frm.CmdGrabar->click();
            EXPECT_TRUE(falla.failed());
        }
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.lastText(),
                  QStringLiteral("Error Número : 3043\nError de disco o de red.\n\nNo se ha grabado ningún cambio."));
        EXPECT_EQ(script.shown().last().title, Titulo());
        EXPECT_EQ(script.shown().last().style, Critical | OkOnly);
        EXPECT_TRUE(frm.isVisible());
        EXPECT_TRUE(frm.Modificado());
        EXPECT_EQ(Valores(frm), valores);
        EXPECT_EQ(Volcado(), antes);
    }
    script.answer(Ok);
    frm.CmdGrabar->click();
    EXPECT_EQ(script.lastText(), QStringLiteral("La declaración fue grabada con inconsistencias..!!"));
    EXPECT_FALSE(frm.Modificado());
    EXPECT_EQ(db().scalar("SELECT i_valor FROM DET WHERE Casilla = '503'").toString(), QStringLiteral("12"));
}

class Frm913PlanTest : public Frm913Test, public ::testing::WithParamInterface<std::pair<const char*, int>> {};

// A notified-debts grid whose only row has the tribute "0" holds nothing to refinance.
TEST_P(Frm913PlanTest, SavingWithNothingToRefinanceShowsThePaymentPlansTab)
{
    const auto [sCodTri, nTab] = GetParam();
    InsertaCabecera({});
    DeudaPrueba d = Deuda(kDeudas[0]);
    d.sCodTri = QLatin1String(sCodTri);
    InsertaDeuda(db(), "F0913DEUDAS", d);
    Frm913& frm = Identificada(Abre({}));
    frm.show();
    script.answer(Ok);
    frm.CmdGrabar->click();
    EXPECT_EQ(script.lastText(), QStringLiteral("La declaración fue grabada con inconsistencias..!!"));
    EXPECT_EQ(frm.SSTab1->currentIndex(), nTab);
}

INSTANTIATE_TEST_SUITE_P(Tributos, Frm913PlanTest,
                         ::testing::Values(std::pair{"0", 3}, std::pair{"010101", 0}));

TEST_F(Frm913Test, AnUnknownEntitysDeclarationIsSavedAndTheFormCloses)
{
    InsertaCabecera({4});
    DeudaPrueba d = Deuda(kDeudas[0]);
    d.nSemana = 4;
    InsertaDeuda(db(), "F0913DEUDAS", d);
    Frm913& frm = Identificada(Abre({4}));
    frm.show();
    frm.OptRectifica[0]->click();
    script.answer(Yes);
    script.answer(Ok);
    frm.CmdCancelar->click();
    EXPECT_EQ(script.lastText(),
              QStringLiteral("Toda la información de la declaración fue grabada satisfactoriamente."));
    EXPECT_TRUE(frm.isHidden());
    EXPECT_EQ(db().scalar("SELECT i_valor FROM DET WHERE Semana = 4 AND Casilla = '005'").toString(),
              QStringLiteral("1"));
    EXPECT_EQ(db().scalar("SELECT estado FROM CAB WHERE Semana = 4").toInt(), 0);
}

TEST_F(Frm913Test, ValidatingShowsTheFindings)
{
    Frm913& frm = AbreConDeudas();
    QStringList mostrados;
    script.onForm(QStringLiteral("FrmConsist"), [&mostrados](QWidget&) { return mostrados << sArchivo, 0; });
    frm.CmdValidar_Click();
    ASSERT_EQ(mostrados.size(), 1);
    EXPECT_TRUE(mostrados[0].endsWith(QStringLiteral("Mens.txt")));
    EXPECT_EQ(nInconsistencia, 1);
}

TEST_F(Frm913Test, AFindingsFileThatCannotBeWrittenIsToldAndTheFormGoesOn)
{
    Frm913& frm = AbreConDeudas();
    const QString sMens = sSysPath + QStringLiteral("Mens.txt");
    ASSERT_TRUE(QDir().mkdir(sMens));
    QStringList mostrados;
    script.onForm(QStringLiteral("FrmConsist"), [&mostrados](QWidget&) { return mostrados << sArchivo, 0; });
    const qsizetype nCajas = script.shown().size();
    script.answer(Ok);
    frm.CmdValidar_Click();
    ASSERT_EQ(script.shown().size(), nCajas + 1);
    EXPECT_TRUE(script.lastText().startsWith(QStringLiteral("No se pudo escribir el archivo %1.").arg(sMens)));
    EXPECT_TRUE(mostrados.isEmpty());

    ASSERT_TRUE(QDir(sMens).removeRecursively());
    frm.CmdValidar_Click();
    EXPECT_EQ(mostrados, QStringList{sMens});
}

// ---------------------------------------------------------------------------
// Grid commands

class Frm913ComandosTest : public Frm913Test {
protected:
    // Three undecided notified debts (one contested) and two hand-entered
    // debts of the same period and tribute.
    Frm913& AbreSinDecidir()
    {
        InsertaCabecera({});
        for (std::size_t i = 0; i < 3; ++i) {
            DeudaPrueba d = Deuda(kDeudas[i]);
            d.sIndVerDeu = QStringLiteral("00");
            d.vAcog = QVariant();
            InsertaDeuda(db(), "F0913DEUDAS", d);
        }
        // Undecided, as the import leaves them: no accepted amounts.
        db().execute("UPDATE F0913DEUDAS SET ind_conf = NULL, mto_tributo_c = NULL, mto_int_cap_c = NULL, "
                     "mto_int_c = NULL, mto_act_c = NULL");
        db().execute("UPDATE F0913DEUDAS SET Ind_impugnado = CASE Num_doc WHEN '0230010002' THEN '01' ELSE '00' END");
        for (const char* sNumDoc : {"0230010004", "0230010005"}) {
            DeudaPrueba d = Deuda(kDeudas[3]);
            d.sNumDoc = QString::fromLatin1(sNumDoc);
            InsertaDeuda(db(), "F0913DEUDAS", d);
        }
        db().execute("UPDATE F0913DEUDAS SET Ind_valor = 0");
        return Identificada(Abre({}));
    }
};

TEST_F(Frm913ComandosTest, AcceptingAllTakesTheUndecidedUncontestedDebts)
{
    Frm913& frm = AbreSinDecidir();
    frm.SSTab1->setCurrentIndex(1); // the update date's TIM
    script.answer(Yes);
    frm.CmdAcoge_Click(1);
    EXPECT_EQ(script.lastText(),
              QStringLiteral("Se modificarán las deudas sin marcar como acogidas. ¿ Desea continuar ?"));
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM TMP_F0913DEUDAS WHERE ind_acog = 1 AND ind_tip_deu <> '05'").toInt(),
              1);
    EXPECT_TRUE(frm.Modificado());
}

// The total counts the one accepted notified debt; the entity's accepted-debt
// box counts the hand-entered ones too.
TEST_F(Frm913ComandosTest, AcceptingAllCarriesTheAcceptedDebtIntoTheTotalAndTheBoxes)
{
    Frm913& frm = AbreSinDecidir();
    frm.SSTab1->setCurrentIndex(1);
    script.answer(Yes);
    frm.CmdAcoge_Click(1);
    EXPECT_EQ(frm.txtmtototal(1).text(), QStringLiteral("1,100"));
    EXPECT_EQ(frm.txtValor[500]->text(), QStringLiteral("5,100"));
}

TEST_F(Frm913ComandosTest, RejectingAllTakesContestedDebtsToo)
{
    Frm913& frm = AbreSinDecidir();
    script.answer(Yes);
    frm.CmdNoAcoge_Click(1);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM TMP_F0913DEUDAS WHERE ind_acog = 2").toInt(), 2);
    EXPECT_TRUE(frm.Modificado());
    script.answer(Ok);
    frm.CmdNoAcoge_Click(1);
    EXPECT_EQ(script.lastText(), QStringLiteral("No existen deudas sin acoger"));
}

class Frm913DecisionMasivaTest : public Frm913ComandosTest, public ::testing::WithParamInterface<bool> {};

// "Acoger todas" (true) or "No acoge" (false) whose statement fails.
TEST_P(Frm913DecisionMasivaTest, AFailedBulkDecisionShowsTheStatementsErrorAndChangesNothing)
{
    Frm913& frm = AbreSinDecidir();
    frm.show();
    const QStringList antes = Volcado();
    script.answer(Yes);
    script.answer(Ok);
    {
        platform::testing::FailWriteNumber falla(1);
        (GetParam() ? frm.CmdAcoge[1] : frm.CmdNoAcoge[1])->click();
        EXPECT_TRUE(falla.failed());
    }
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.lastText(), QStringLiteral("Error Número : 3043\nError de disco o de red."));
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Error al Ejecutar Sentencia SQL"));
    EXPECT_EQ(script.shown().last().style, Critical);
    EXPECT_EQ(Volcado(), antes);
    EXPECT_FALSE(frm.Modificado());
}

INSTANTIATE_TEST_SUITE_P(Comandos, Frm913DecisionMasivaTest, ::testing::Bool());

TEST_F(Frm913ComandosTest, AnEmptyGridSaysThereIsNothingToChange)
{
    InsertaCabecera({});
    Frm913& frm = Abre({});
    script.answer(Ok);
    frm.cmdEdit_Click(2);
    EXPECT_EQ(script.lastText(), QStringLiteral("No existen registros disponibles para actualizar"));
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Información"));
    script.answer(Ok);
    frm.cmdDelete_Click(2);
    EXPECT_EQ(script.lastText(), QStringLiteral("No existen registros disponibles para eliminar"));
    EXPECT_EQ(frm.pOperacion(), QStringLiteral("D"));
}

TEST_F(Frm913ComandosTest, ADialogThatSavedMarksTheForm)
{
    Frm913& frm = AbreSinDecidir();
    script.onForm(QStringLiteral("frmCondeuDet"), [](QWidget&) { return bDeudaGrabada = true, 1; });
    frm.cmdEdit_Click(1);
    EXPECT_EQ(nTabActual, 1);
    EXPECT_EQ(frm.pOperacion(), QStringLiteral("E"));
    EXPECT_TRUE(frm.Modificado());
    EXPECT_TRUE(bDeudaGrabada);
}

TEST_F(Frm913ComandosTest, ADialogClosedWithoutSavingLeavesTheFormUnchanged)
{
    Frm913& frm = AbreSinDecidir();
    script.onForm(QStringLiteral("frmCondeuDet"), [](QWidget&) { return 0; });
    frm.TDBGrid_DblClick(1);
    EXPECT_FALSE(frm.Modificado());
    EXPECT_EQ(script.formsShown(), QStringList{QStringLiteral("frmCondeuDet")});
}

TEST_F(Frm913ComandosTest, DeletingAHandEnteredDebtDeletesTheChosenRowOnly)
{
    Frm913& frm = AbreSinDecidir();
    frm.Opt_Fusion[1]->click();
    frm.SSTab1->setCurrentIndex(2);
    frm.TDBGrid[2]->setCurrentIndex(frm.TDBGrid[2]->model()->index(1, 0));
    const QString sElegida = frm.ColumnaGrilla(2, QStringLiteral("num_doc"));
    script.answer(Yes);
    script.answer(Ok);
    frm.cmdDelete_Click(2);
    EXPECT_EQ(script.shown().at(0).style, YesNo | Question | DefaultButton2);
    EXPECT_EQ(script.lastText(), QStringLiteral("Se eliminó el registro satisfactoriamente"));
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM TMP_F0913DEUDAS WHERE ind_tip_deu = '05'").toInt(), 1);
    EXPECT_EQ(db().scalar("SELECT COUNT(*) FROM TMP_F0913DEUDAS WHERE Num_doc = ?", {sElegida}).toInt(), 0);
    EXPECT_TRUE(frm.Modificado());
}

TEST_F(Frm913ComandosTest, ASentDeclarationsDoubleClickOpensNoDialog)
{
    InsertaCabecera({1, QStringLiteral("0"), 2, QStringLiteral("0"), QStringLiteral("001")});
    InsertaDeuda(db(), "HF0913DEUDAS", Deuda(kDeudas[0]));
    db().execute("UPDATE HF0913DEUDAS SET Correl = '001'");
    Frm913& frm = Abre({1, QStringLiteral("0"), 2, QStringLiteral("0"), QStringLiteral("001")});
    frm.TDBGrid_DblClick(1);
    EXPECT_TRUE(script.formsShown().isEmpty());
    EXPECT_EQ(frm.TDBGrid[1]->model()->rowCount(), 1);
}

struct CasoCelda {
    int nGrilla;
    int nColumna;
    const char* sValor;
    const char* sMuestra;
};

void PrintTo(const CasoCelda& c, std::ostream* os)
{
    *os << c.nGrilla << ":" << c.nColumna << " " << c.sValor;
}

class Frm913CeldaTest : public Frm913Test, public ::testing::WithParamInterface<CasoCelda> {};

TEST_P(Frm913CeldaTest, CellsShowPeriodsAmountsAndAnswers)
{
    InsertaCabecera({});
    Frm913& frm = Abre({});
    const CasoCelda& c = GetParam();
    EXPECT_EQ(frm.TDBGrid_FormatText(c.nGrilla, c.nColumna, QString::fromLatin1(c.sValor)),
              QString::fromLatin1(c.sMuestra));
}

INSTANTIATE_TEST_SUITE_P(Celdas, Frm913CeldaTest,
                         ::testing::Values(CasoCelda{1, 0, "200903", "03/2009"}, CasoCelda{1, 4, "1234.5", "1,234.50"},
                                           CasoCelda{2, 15, "1234.5", "1,234.50"},
                                           CasoCelda{1, 5, "1234.5", "1,235"}, CasoCelda{1, 24, "1", "SI"},
                                           CasoCelda{1, 24, "2", "NO"}, CasoCelda{1, 19, "16", "16"},
                                           CasoCelda{1, 15, "1234.5", "1234.5"}));

// ---------------------------------------------------------------------------
// Grid layout

struct CasoColumnas {
    int nGrilla;
    std::vector<int> columnas; // the captioned columns, in grid order
    std::vector<int> importes;
    std::vector<int> enteras; // columns whose values always show whole
};

void PrintTo(const CasoColumnas& c, std::ostream* os)
{
    *os << "TDBGrid_" << c.nGrilla;
}

class Frm913ColumnasTest : public Frm913Test, public ::testing::WithParamInterface<CasoColumnas> {
protected:
    // The form at its own size, thirty debts in each grid, on the tab of the grid.
    QTableView& Grilla(int nGrilla)
    {
        InsertaCabecera({});
        for (int i = 0; i < 60; ++i) {
            DeudaPrueba d = Deuda(kDeudas[0]);
            d.sNumDoc = QStringLiteral("02300000000%1").arg(i, 2, 10, QLatin1Char('0'));
            d.sIndTipDeu = QString::fromLatin1(i < 30 ? "01" : "05");
            d.sActS = QStringLiteral("9999999.99");
            d.sActC = QStringLiteral("9999999");
            InsertaDeuda(db(), QStringLiteral("F0913DEUDAS"), d);
        }
        Frm913& frm = Abre({});
        frm.txtTelefono->setText(QStringLiteral("4441234"));
        frm.mkeFechaAcog->setText(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
        frm.Opt_Fusion[1]->click();
        frm.show();
        frm.SSTab1->setCurrentIndex(nGrilla);
        QCoreApplication::processEvents();
        return *frm.TDBGrid[nGrilla];
    }

    // Drags the right edge of the column's heading `nDesplazamiento` pixels.
    static void ArrastraBorde(QTableView& grilla, int nColumna, int nDesplazamiento)
    {
        QWidget& cabecera = *grilla.horizontalHeader()->viewport();
        const int x = grilla.columnViewportPosition(nColumna) + grilla.columnWidth(nColumna) - 1;
        const int y = cabecera.height() / 2;
        Raton(cabecera, QEvent::MouseButtonPress, Qt::LeftButton, QPoint(x, y));
        Raton(cabecera, QEvent::MouseMove, Qt::LeftButton, QPoint(x + nDesplazamiento, y));
        Raton(cabecera, QEvent::MouseButtonRelease, Qt::LeftButton, QPoint(x + nDesplazamiento, y));
    }
};

TEST_P(Frm913ColumnasTest, EveryHeadingIsReadableInItsColumn)
{
    const CasoColumnas& c = GetParam();
    QTableView& grilla = Grilla(c.nGrilla);
    const QHeaderView& cabecera = *grilla.horizontalHeader();
    const QFontMetrics letra = cabecera.fontMetrics();
    for (int nColumna : c.columnas) {
        const QString sTitulo = grilla.model()->headerData(nColumna, Qt::Horizontal).toString();
        for (const QString& sPalabra : sTitulo.split(QLatin1Char(' ')))
            EXPECT_LT(letra.horizontalAdvance(sPalabra), grilla.columnWidth(nColumna)) << qPrintable(sTitulo);
        const QRect espacio(0, 0, grilla.columnWidth(nColumna), 1000);
        EXPECT_LE(letra.boundingRect(espacio, Qt::AlignCenter | Qt::TextWordWrap, sTitulo).height(),
                  cabecera.height())
            << qPrintable(sTitulo);
    }
}

TEST_P(Frm913ColumnasTest, PeriodsNumbersAmountsAndAnswersShowWhole)
{
    const CasoColumnas& c = GetParam();
    QTableView& grilla = Grilla(c.nGrilla);
    const Frm913& frm = SharedForm<Frm913>::instance();
    const int nMargen = grilla.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &grilla) + 1;
    for (int nColumna : c.enteras) {
        const QString sTexto =
            frm.TDBGrid_FormatText(c.nGrilla, nColumna, grilla.model()->index(0, nColumna).data());
        EXPECT_LE(grilla.fontMetrics().horizontalAdvance(sTexto) + 2 * nMargen, grilla.columnWidth(nColumna))
            << qPrintable(sTexto);
    }
}

TEST_P(Frm913ColumnasTest, TheCaptionedColumnsShowWithoutScrollingSideways)
{
    const CasoColumnas& c = GetParam();
    QTableView& grilla = Grilla(c.nGrilla);
    ASSERT_TRUE(grilla.verticalScrollBar()->isVisible());
    EXPECT_EQ(grilla.horizontalScrollBar()->maximum(), 0);
    const int nUltima = c.columnas.back();
    EXPECT_LE(grilla.columnViewportPosition(nUltima) + grilla.columnWidth(nUltima), grilla.viewport()->width());
    for (int nColumna = 0; nColumna < grilla.model()->columnCount(); ++nColumna) {
        const bool bVisible = std::find(c.columnas.begin(), c.columnas.end(), nColumna) != c.columnas.end();
        EXPECT_EQ(grilla.isColumnHidden(nColumna), !bVisible) << nColumna;
    }
}

// The user widens a column by dragging the edge of its heading. As when a
// review dialog closes, the rows are loaded again: the dragged column keeps
// its width and the others still fit beside it.
TEST_P(Frm913ColumnasTest, ADraggedWidthStaysWhenTheRowsAreLoadedAgain)
{
    const int nGrilla = GetParam().nGrilla;
    QTableView& grilla = Grilla(nGrilla);
    const int nArrastrado = grilla.columnWidth(3) + 40;
    ArrastraBorde(grilla, 3, 40);
    SharedForm<Frm913>::instance().CargaTabIndex(nGrilla);
    EXPECT_EQ(grilla.columnWidth(3), nArrastrado);
    EXPECT_EQ(grilla.horizontalScrollBar()->maximum(), 0);
}

TEST_P(Frm913ColumnasTest, ACutCellShowsItsWholeTextAsItsTooltipAndAWholeOneNone)
{
    QTableView& grilla = Grilla(GetParam().nGrilla);
    const struct {
        int nColumna;
        int nAncho; // 0: as fitted
        QString sAyuda;
    } casos[] = {
        {0, 0, QString()},
        {2, 30, QStringLiteral("RESOLUCIÓN DE DETERMINACIÓN")},
        {4, 30, QStringLiteral("9,999,999.99")}, // as the cell shows it
    };
    for (const auto& c : casos) {
        if (c.nAncho > 0)
            grilla.setColumnWidth(c.nColumna, c.nAncho);
        const QPoint centro = grilla.visualRect(grilla.model()->index(0, c.nColumna)).center();
        QHelpEvent ayuda(QEvent::ToolTip, centro, grilla.viewport()->mapToGlobal(centro));
        QApplication::sendEvent(grilla.viewport(), &ayuda);
        EXPECT_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), c.sAyuda) << c.nColumna;
    }
}

TEST_P(Frm913ColumnasTest, AmountsAreRightAlignedAndTheRestIsNot)
{
    const CasoColumnas& c = GetParam();
    QTableView& grilla = Grilla(c.nGrilla);
    for (int nColumna : c.columnas) {
        const bool bImporte = std::find(c.importes.begin(), c.importes.end(), nColumna) != c.importes.end();
        const auto nAlineacion = Qt::Alignment(grilla.model()->index(0, nColumna).data(Qt::TextAlignmentRole).toInt());
        EXPECT_EQ(bool(nAlineacion & Qt::AlignRight), bImporte) << nColumna;
    }
}

INSTANTIATE_TEST_SUITE_P(Grillas, Frm913ColumnasTest,
                         ::testing::Values(CasoColumnas{1, {0, 1, 2, 3, 4, 5, 24}, {4, 5}, {0, 3, 4, 5, 24}},
                                           CasoColumnas{2, {0, 1, 2, 3, 4, 5, 15, 25}, {4, 5, 15},
                                                        {0, 3, 4, 5, 15, 25}}));

TEST_F(Frm913Test, BoxesTheProgramFillsAreGrey)
{
    Frm913& frm = AbreConDeudas();
    std::vector<const QLineEdit*> cajas = {frm.TxtEntidad, frm.txtCorrel, &frm.txtmtototal(1), &frm.txtmtototal(2)};
    for (const auto& [nCasilla, numero] : frm.txtnumcas)
        cajas.push_back(numero);
    for (const QLineEdit* caja : cajas)
        EXPECT_EQ(Fondo(caja), QColor(0xC0, 0xC0, 0xC0)) << caja->objectName().toStdString();
}

// ---------------------------------------------------------------------------
// The host stand-in's sample declarations

TEST_F(Frm913Test, EverySampleDeclarationOpensFilled)
{
    hostkit::seedSampleDeclarations(db());
    for (const hostkit::SampleDeclaration& d : hostkit::sampleDeclarations()) {
        SCOPED_TRACE(d.entidad);
        nModo = 1;
        sPeriodo = d.periodo;
        nEntidad = d.entidad;
        bEnviadas = false;
        SharedForm<Frm913>::release();
        Frm913& frm = SharedForm<Frm913>::instance();
        frm.EstableceDeclaracion({6, d.docId, QString(), QString(), {}});
        frm.Form_Load();
        frm.Form_Activate();
        EXPECT_EQ(frm.TDBGrid[1]->model()->rowCount(), d.deudas + 1);
        EXPECT_EQ(frm.TDBGrid[2]->model()->rowCount(), d.otrasResoluciones);
        EXPECT_EQ(frm.SSTab1->isTabEnabled(2), d.otrasResoluciones > 0);
        EXPECT_EQ(sBuenContrib, d.buenContrib ? QStringLiteral("1") : QStringLiteral("0"));
        EXPECT_EQ(frm.txtTelefono->text(), QStringLiteral("014441234"));
        frm.SSTab1->setCurrentIndex(3);
        EXPECT_EQ(frm.SSTab1->currentIndex(), 3);
        EXPECT_NE(frm.txtValor.at(frm.CasillaBase())->text(), QString());
    }
    EXPECT_TRUE(script.shown().isEmpty());
}

// ---------------------------------------------------------------------------
// Closing

TEST_F(Frm913Test, ClosingWithoutChangesAsksNothingAndEmptiesTheWorkTables)
{
    Frm913& frm = AbreConDeudas();
    EXPECT_EQ(Filas("TMP_F0913DEUDAS"), 3);
    frm.CmdCancelar_Click();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_EQ(Filas("TMP_F0913DEUDAS"), 0);
    EXPECT_EQ(FormularioSolicitud(), nullptr);
}

TEST_F(Frm913Test, CancelInTheClosingQuestionKeepsTheFormAndItsChanges)
{
    Frm913& frm = AbreConDeudas();
    EXPECT_EQ(FormularioSolicitud(), &frm);
    frm.OptRectifica_Click(1);
    script.answer(Cancel);
    frm.CmdCancelar_Click();
    EXPECT_EQ(script.lastText(), kPregunta);
    EXPECT_EQ(script.shown().last().style, YesNoCancel | Question);
    EXPECT_EQ(Filas("TMP_F0913DEUDAS"), 3);
    EXPECT_TRUE(frm.Modificado());

    script.answer(No);
    frm.CmdCancelar_Click();
    EXPECT_EQ(Filas("TMP_F0913DEUDAS"), 0);
}

TEST_F(Frm913Test, ASentDeclarationClosesWithoutAsking)
{
    InsertaCabecera({1, QStringLiteral("0"), 2, QStringLiteral("0"), QStringLiteral("001")});
    Frm913& frm = Abre({1, QStringLiteral("0"), 2, QStringLiteral("0"), QStringLiteral("001")});
    frm.OptRectifica_Click(0);
    frm.CmdCancelar_Click();
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(Frm913Test, AFormThatDidNotLoadIsNotShownSaysSoAndUnloads)
{
    InsertaCabecera({});
    InsertaDeuda(db(), "F0913DEUDAS", Deuda(kDeudas[0]));
    db().execute("DROP TABLE F0913MOTIVO");
    nModo = 1;
    sPeriodo = kPeriodo;
    nEntidad = 1;
    script.answer(Ok);
    EXPECT_EQ(Frm913::MuestraDeclaracion({6, kRuc, kNombre, QStringLiteral("ENTIDAD"), {}}), QDialog::Rejected);
    EXPECT_EQ(script.lastText(),
              QStringLiteral("Ha habido problemas en la carga del formulario. Reintente de nuevo la operación"));
    EXPECT_EQ(script.shown().last().style, Critical | OkOnly);
    EXPECT_EQ(script.shown().last().title, Titulo());
    EXPECT_TRUE(script.formsShown().isEmpty());
    EXPECT_EQ(FormularioSolicitud(), nullptr);
    EXPECT_EQ(Filas("TMP_F0913DEUDAS"), 0);
}

} // namespace
