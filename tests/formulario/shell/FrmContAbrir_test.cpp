#include "formulario/shell/FrmContAbrir.h"
#include "formulario/shell/FrmContAbrirE.h"
#include "formulario/core/GrillaRecordset.h"
#include "formulario/core/Formularios.h"
#include "formulario/shell/MDIFrm.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/SharedForm.h"
#include "platform/database.h"
#include "platform/profile.h"
#include "platform/statusbar.h"
#include "tests/support/EventosUsuario.h"
#include "tests/support/HostTest.h"
#include "tests/support/OnDisplay.h"

#include <QApplication>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>

using namespace platform::mb;

namespace {

// One declaration's key.
struct Clave {
    int nTipDoc;
    QString sDocId;
    QString sPeriodo;
    int nSemana;
    QString sCorrel; // sent declarations
};

const QStringList kTablasActuales{"CAB", "DET", "F0913DEUDAS", "F0913MOTIVO", "F0913SUSTEN", "F0913GARANTIA"};
const QStringList kTablasEnviadas{"HCAB", "HDET", "HF0913DEUDAS", "HF0913MOTIVO", "HF0913SUSTEN"};
const QStringList kTablasTrabajo{"TMP_F0913DEUDAS", "TMP_F0913MOTIVO", "TMP_F0913SUSTEN"};

// Declarations of the sample declarants (and one of a declarant missing from CONT).
const Clave kPena1{6, "20100070970", "201003", 1, {}};      // CONTADOR1
const Clave kPena2{6, "20100070970", "201003", 2, {}};      // same declarant and period, ESSALUD
const Clave kAcuna{6, "20456712381", "201506", 3, {}};      // CONTADOR1
const Clave kNunez{6, "10412345679", "201001", 1, {}};      // CONTADOR2
const Clave kQuispe{1, "41234567", "201012", 5, {}};        // ADMIN, a DNI
const Clave kSinRegistro{6, "20999999991", "201003", 1, {}}; // not in CONT
const Clave kEnviada1{6, "20100070970", "201003", 1, "001"};
const Clave kEnviada2{6, "20100070970", "201003", 1, "002"};

class SelectoresTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        if (HasFatalFailure())
            return;
        for (const Clave& clave : {kPena1, kPena2, kAcuna, kNunez, kQuispe, kSinRegistro})
            InsertaActual(clave);
        InsertaTrabajo(kPena1);
        for (const Clave& clave : {kEnviada1, kEnviada2})
            InsertaEnviada(clave);
    }
    void TearDown() override
    {
        SharedForm<FrmContAbrir>::release();
        SharedForm<FrmContAbrirE>::release();
        SharedForm<MDIFrm>::release();
        HostTest::TearDown();
    }

    void Inserta(const QString& sTabla, const Clave& clave, const QStringList& columnas, const QVariantList& valores)
    {
        QStringList nombres{"tip_doc_d", "doc_id_d", "periodo", "formulario", "Semana"};
        QVariantList todos{clave.nTipDoc, clave.sDocId, clave.sPeriodo, QStringLiteral("0913"), clave.nSemana};
        if (!clave.sCorrel.isEmpty()) {
            nombres << QStringLiteral("Correl");
            todos << clave.sCorrel;
        }
        nombres << columnas;
        todos << valores;
        const QString sMarcas = QStringList(QList<QString>(nombres.size(), QStringLiteral("?"))).join(u',');
        db().execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(sTabla, nombres.join(u','), sMarcas), todos);
    }

    // The detail rows of one declaration in the tables named with `sPrefijo` ("", "H" or "TMP_").
    void InsertaDetalle(const QString& sPrefijo, const Clave& clave)
    {
        const QStringList deuda{"Ind_tip_deu", "per_doc", "cod_tri", "Num_doc", "Cod_for"};
        for (const QString& sNumDoc : {QStringLiteral("0230010001"), QStringLiteral("0230010002")}) {
            const QVariantList valores{"01", clave.sPeriodo, "010101", sNumDoc, "0621"};
            Inserta(sPrefijo + "F0913DEUDAS", clave, deuda + QStringList{"Cod_tip_doc", "Cod_tri_aso"},
                    valores + QVariantList{"017001", "000000"});
            Inserta(sPrefijo + "F0913MOTIVO", clave, deuda + QStringList{"cod_motivo"}, valores + QVariantList{2});
            Inserta(sPrefijo + "F0913SUSTEN", clave, deuda + QStringList{"cod_motivo", "num_sust"},
                    valores + QVariantList{2, 1});
        }
    }

    void InsertaActual(const Clave& clave)
    {
        Inserta("CAB", clave, {"estado", "nrocheque", "efectivo"}, {9, "15/03/2010", "E" + clave.sDocId});
        Inserta("DET", clave, {"Casilla", "i_valor"}, {"506", "1"});
        Inserta("DET", clave, {"Casilla", "i_valor"}, {"500", "12345"});
        InsertaDetalle(QString(), clave);
        Inserta("F0913GARANTIA", clave, {"ind_garantia"}, {"1"});
    }

    void InsertaTrabajo(const Clave& clave) { InsertaDetalle(QStringLiteral("TMP_"), clave); }

    void InsertaEnviada(const Clave& clave)
    {
        Inserta("HCAB", clave, {"estado", "nrocheque", "efectivo"}, {0, "20/03/2010", "S" + clave.sCorrel});
        Inserta("HDET", clave, {"Casilla", "i_valor"}, {"506", "1"});
        InsertaDetalle(QStringLiteral("H"), clave);
    }

    // Rows of every table, by table.
    QMap<QString, int> CuentaTodo()
    {
        QMap<QString, int> filas;
        for (const QStringList& tablas : {kTablasActuales, kTablasEnviadas, kTablasTrabajo}) {
            for (const QString& sTabla : tablas)
                filas[sTabla] = db().scalar("SELECT COUNT(*) FROM " + sTabla).toInt();
        }
        return filas;
    }

    int Filas(const QString& sTabla, const Clave& clave)
    {
        QString sConsulta = "SELECT COUNT(*) FROM " + sTabla
            + " WHERE tip_doc_d = ? AND doc_id_d = ? AND periodo = ? AND Semana = ?";
        QVariantList params{clave.nTipDoc, clave.sDocId, clave.sPeriodo, clave.nSemana};
        if (!clave.sCorrel.isEmpty()) {
            sConsulta += " AND Correl = ?";
            params << clave.sCorrel;
        }
        return db().scalar(sConsulta, params).toInt();
    }

    template <class Picker>
    Picker& Carga(int nModoPicker, const QString& sUsuario = QStringLiteral("ADMIN"))
    {
        nModo = nModoPicker;
        sSysUser = sUsuario;
        SharedForm<Picker>::release();
        Picker& frm = SharedForm<Picker>::instance();
        frm.Form_Load();
        return frm;
    }

    // The picker is Qt's active window and its list has the keyboard.
    static bool ListaConTeclado(FrmContAbrir& frm)
    {
        return waitUntil([&frm] { return frm.isActiveWindow() && QApplication::focusWidget() == frm.grdContrib; });
    }

    // A fresh updating picker, the active window with its list on the keyboard.
    FrmContAbrir& CargaEnPantalla(Qt::WindowModality modalidad = Qt::NonModal)
    {
        auto& frm = Carga<FrmContAbrir>(1);
        frm.setWindowModality(modalidad);
        frm.show();
        frm.activateWindow();
        frm.grdContrib->setFocus();
        EXPECT_TRUE(ListaConTeclado(frm));
        return frm;
    }

    // Chooses the declaration in a fresh deleting picker, presses the action
    // button and answers the confirmation.
    template <class Picker>
    Picker& Elimina(const Clave& clave, int nRespuesta)
    {
        auto& frm = Carga<Picker>(3);
        EXPECT_TRUE(Elige(frm, clave));
        script.answer(nRespuesta);
        frm.CmdOpciones_Click(0);
        return frm;
    }

    static QStringList Columna(const SelectorDeclaraciones& frm, int nColumna)
    {
        QStringList valores;
        for (int i = 0; i < frm.DtaNew->rowCount(); ++i)
            valores << frm.DtaNew->Texto(i, nColumna);
        return valores;
    }

    // Makes the declaration's row current; false when it is not listed.
    static bool Elige(SelectorDeclaraciones& frm, const Clave& clave)
    {
        for (int i = 0; i < frm.DtaNew->rowCount(); ++i) {
            if (frm.DtaNew->Texto(i, 2) == clave.sDocId && frm.DtaNew->Texto(i, 7).toInt() == clave.nSemana
                && (clave.sCorrel.isEmpty() || frm.DtaNew->Texto(i, 10) == clave.sCorrel)) {
                frm.grdContrib->setCurrentIndex(frm.DtaNew->index(i, 2));
                return true;
            }
        }
        return false;
    }
};

// ---------------------------------------------------------------------------
// The list

TEST_F(SelectoresTest, AnAdministratorSeesEveryRegisteredDeclarantInNumberOrder)
{
    auto& frm = Carga<FrmContAbrir>(1);
    EXPECT_EQ(Columna(frm, 2),
              (QStringList{"10412345679", "20100070970", "20100070970", "20456712381", "41234567"}));
    EXPECT_TRUE(frm.grdContrib->isEnabled());
    EXPECT_FALSE(bEnviadas);
}

TEST_F(SelectoresTest, AnotherUserSeesOnlyHisOwnDeclarants)
{
    auto& frm = Carga<FrmContAbrir>(1, QStringLiteral("CONTADOR1"));
    EXPECT_EQ(Columna(frm, 2), (QStringList{"20100070970", "20100070970", "20456712381"}));
    auto& frm2 = Carga<FrmContAbrir>(1, QStringLiteral("CONTADOR2"));
    EXPECT_EQ(Columna(frm2, 2), (QStringList{"10412345679"}));
    // A user without a CLAVES row counts as type "1".
    auto& frm3 = Carga<FrmContAbrir>(1, QStringLiteral("NADIE"));
    EXPECT_EQ(frm3.DtaNew->rowCount(), 0);
}

TEST_F(SelectoresTest, TheUserNameIsAValueNotSqlText)
{
    auto& frm = Carga<FrmContAbrir>(1, QStringLiteral("X' OR 'a'='a"));
    EXPECT_EQ(frm.DtaNew->rowCount(), 0);
}

TEST_F(SelectoresTest, RowsShowTheirColumnsAsListed)
{
    auto& frm = Carga<FrmContAbrir>(1);
    ASSERT_TRUE(Elige(frm, kPena2));
    EXPECT_EQ(frm.ColumnaActual(0), QStringLiteral("6"));
    EXPECT_EQ(frm.ColumnaActual(1).trimmed(), QStringLiteral("R.U.C."));
    EXPECT_EQ(frm.ColumnaActual(3), QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C."));
    EXPECT_EQ(frm.ColumnaActual(4), QStringLiteral("0913"));
    EXPECT_EQ(frm.ColumnaActual(5), QStringLiteral("9"));
    EXPECT_EQ(frm.ColumnaActual(6).trimmed(), QStringLiteral("ESSALUD"));
    EXPECT_EQ(frm.ColumnaActual(7), QStringLiteral("2"));
    EXPECT_EQ(frm.ColumnaActual(8), QStringLiteral("032010"));
    EXPECT_EQ(frm.ColumnaActual(9), QStringLiteral("15/03/2010"));
    EXPECT_EQ(frm.ColumnaActual(10), QStringLiteral("E20100070970"));

    QStringList titulos;
    for (int i = 0; i < frm.DtaNew->columnCount(); ++i)
        titulos << frm.DtaNew->headerData(i, Qt::Horizontal).toString();
    EXPECT_EQ(titulos, (QStringList{"tip_doc_d", "Tipo docum.", "R.U.C.", "Razón Social", "Formulario", "Estado",
                                    "Entidad", "SEMANA", "Periodo", "FechaVenc", "fec_venc_renta"}));
    // The state shows as a picture.
    EXPECT_FALSE(frm.DtaNew->data(frm.DtaNew->index(0, 5), Qt::DecorationRole).isNull());
    EXPECT_TRUE(frm.DtaNew->data(frm.DtaNew->index(0, 5), Qt::DisplayRole).isNull());
}

TEST_F(SelectoresTest, SentDeclarationsAddTheirCorrelative)
{
    auto& frm = Carga<FrmContAbrirE>(1);
    EXPECT_TRUE(bEnviadas);
    EXPECT_EQ(Columna(frm, 10), (QStringList{"001", "002"}));
    EXPECT_EQ(Columna(frm, 11), (QStringList{"S001", "S002"}));
    EXPECT_EQ(frm.DtaNew->headerData(10, Qt::Horizontal).toString(), QStringLiteral("Correlativo"));
    EXPECT_EQ(frm.DtaNew->headerData(11, Qt::Horizontal).toString(), QStringLiteral("fec_venc_renta"));
    EXPECT_EQ(frm.Frame1->title(), QStringLiteral("Declaraciones Enviadas"));
}

TEST_F(SelectoresTest, TextsFollowTheMode)
{
    struct Caso {
        bool bEnviadas;
        int nModo;
        const char* boton;
        const char* etiqueta;
        const char* titulo;
    };
    const Caso casos[] = {
        {false, 1, "&Actualizar", "Seleccione la declaración que desea actualizar :", "Actualizar Declaraciones"},
        {false, 3, "&Eliminar", "Seleccione la declaración que desea eliminar :", "Eliminar Declaraciones"},
        {true, 1, "&Ver Declaración", "Seleccione la declaración enviada que desea ver :", "Ver Declaraciones"},
        {true, 3, "&Eliminar", "Seleccione la declaración enviada que desea eliminar :",
         "Eliminar Declaraciones enviadas"},
    };
    for (const Caso& caso : casos) {
        SelectorDeclaraciones& frm = caso.bEnviadas ? static_cast<SelectorDeclaraciones&>(Carga<FrmContAbrirE>(caso.nModo))
                                                    : Carga<FrmContAbrir>(caso.nModo);
        EXPECT_EQ(frm.CmdOpciones[0]->text(), QString::fromUtf8(caso.boton));
        EXPECT_EQ(frm.Label1->text(), QString::fromUtf8(caso.etiqueta));
        EXPECT_EQ(frm.windowTitle(), QString::fromUtf8(caso.titulo));
        EXPECT_EQ(frm.CmdOpciones[1]->text(), QStringLiteral("&Salir"));
    }
    EXPECT_EQ(Carga<FrmContAbrir>(1).Frame1->title(), QStringLiteral("Declaraciones Registradas"));
}

TEST_F(SelectoresTest, HeadingsSortTheList)
{
    auto& frm = Carga<FrmContAbrir>(1);
    frm.grdContrib_HeadClick(3);
    EXPECT_EQ(Columna(frm, 3).first(), QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C."));
    EXPECT_EQ(Columna(frm, 3).last(), QStringLiteral("QUISPE MAMANI ROSA ÁNGELA"));
    frm.grdContrib_HeadClick(1);
    EXPECT_EQ(Columna(frm, 0).first(), QStringLiteral("1"));
    frm.grdContrib_HeadClick(2);
    EXPECT_EQ(Columna(frm, 2).first(), QStringLiteral("10412345679"));
    frm.grdContrib_HeadClick(4);
    EXPECT_EQ(frm.DtaNew->rowCount(), 5);
    // A click on the heading reaches the same procedure.
    emit frm.grdContrib->horizontalHeader()->sectionClicked(3);
    EXPECT_EQ(Columna(frm, 3).first(), QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C."));
}

TEST_F(SelectoresTest, AnEmptyListDisablesTheGridAndSaysSoOnAction)
{
    auto& frm = Carga<FrmContAbrir>(1, QStringLiteral("NADIE"));
    EXPECT_FALSE(frm.grdContrib->isEnabled());
    script.answer(Ok);
    frm.CmdOpciones_Click(0);
    EXPECT_EQ(script.lastText(), QStringLiteral("No existen registros disponibles para actualizar"));
    EXPECT_TRUE(script.formsShown().isEmpty());
}

TEST_F(SelectoresTest, AListThatCannotBeReadStaysEmptyAndSaysWhy)
{
    auto& frm = Carga<FrmContAbrir>(1);
    ASSERT_EQ(frm.DtaNew->rowCount(), 5);
    db().execute("ALTER TABLE CONT RENAME TO CONT_APARTE");
    script.answer(Ok);
    frm.grdContrib_HeadClick(3);
    script.answer(Ok);
    auto& otro = Carga<FrmContAbrirE>(1);
    ASSERT_EQ(script.shown().size(), 2);
    for (const platform::ShownMessage& mensaje : script.shown()) {
        EXPECT_EQ(mensaje.title, QStringLiteral("Error"));
        EXPECT_EQ(mensaje.style, OkOnly);
    }
    for (const SelectorDeclaraciones* selector : {static_cast<SelectorDeclaraciones*>(&frm),
                                                  static_cast<SelectorDeclaraciones*>(&otro)}) {
        EXPECT_EQ(selector->DtaNew->rowCount(), 0);
        EXPECT_FALSE(selector->grdContrib->isEnabled());
    }
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(SelectoresTest, MovingInTheListFillsTheStatusBarAndClosingEmptiesIt)
{
    auto& frm = Carga<FrmContAbrir>(1);
    ASSERT_TRUE(Elige(frm, kAcuna));
    platform::HostStatusBar& barra = *SharedForm<MDIFrm>::instance().BarradeEstadoVRD1;
    EXPECT_EQ(barra.numdoc(), QStringLiteral("20456712381"));
    EXPECT_EQ(barra.razonsocial(), QStringLiteral("INVERSIONES ACUÑA Y ASOCIADOS S.R.L."));
    EXPECT_EQ(barra.periodo_ejercicio(), QStringLiteral("062015"));
    EXPECT_EQ(barra.formulario(), QStringLiteral("0913"));
    EXPECT_EQ(nEntidad, 3);

    frm.CmdOpciones[1]->click();
    EXPECT_TRUE(barra.numdoc().isEmpty());
    EXPECT_TRUE(barra.razonsocial().isEmpty());
    EXPECT_TRUE(barra.periodo_ejercicio().isEmpty());
    EXPECT_TRUE(barra.formulario().isEmpty());
    EXPECT_EQ(frm.result(), QDialog::Rejected);
}

// ---------------------------------------------------------------------------
// Opening

TEST_F(SelectoresTest, OpeningSetsTheDeclarationAndShowsTheRequestForm)
{
    auto& frm = Carga<FrmContAbrir>(1);
    ASSERT_TRUE(Elige(frm, kPena2));
    nEntidad = 8; // left by something else
    QStringList leido;
    script.onForm(QStringLiteral("Frm913"), [&leido, &frm](QWidget&) {
        leido << sPeriodo << sPeriodoMMAAAA << QString::number(nEntidad) << sFecActualiza << sEfectivo
              << frm.ColumnaActual(2) << QString::number(frm.isEnabled());
        return 0;
    });
    frm.CmdOpciones_Click(0);
    EXPECT_EQ(leido, (QStringList{"201003", "03/2010", "2", "15/03/2010", "E20100070970", "20100070970", "0"}));
    EXPECT_TRUE(frm.isEnabled());
    EXPECT_EQ(frm.ColumnaActual(7), QStringLiteral("2"));
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(SelectoresTest, OpeningASentDeclarationLeavesTheCurrentPeriodText)
{
    sPeriodoMMAAAA = QStringLiteral("07/2014");
    auto& frm = Carga<FrmContAbrirE>(1);
    ASSERT_TRUE(Elige(frm, kEnviada2));
    QStringList leido;
    script.onForm(QStringLiteral("Frm913"), [&leido, &frm](QWidget&) {
        leido << sPeriodo << sEfectivo << frm.ColumnaActual(10) << QString::number(bEnviadas);
        return 0;
    });
    frm.CmdOpciones_Click(0);
    EXPECT_EQ(leido, (QStringList{"201003", "S002", "002", "1"}));
    EXPECT_EQ(sPeriodoMMAAAA, QStringLiteral("07/2014"));
}

TEST_F(SelectoresTest, EnterAndDoubleClickOpenOtherKeysDoNothing)
{
    auto& frm = Carga<FrmContAbrir>(1);
    int nVeces = 0;
    script.onForm(QStringLiteral("Frm913"), [&nVeces](QWidget&) { return ++nVeces, 0; });

    QKeyEvent letra(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(frm.grdContrib, &letra);
    EXPECT_EQ(nVeces, 0);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(frm.grdContrib, &enter);
    EXPECT_EQ(nVeces, 1);
    emit frm.grdContrib->doubleClicked(frm.grdContrib->currentIndex());
    EXPECT_EQ(nVeces, 2);
    // Moving keys still move.
    QKeyEvent abajo(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(frm.grdContrib, &abajo);
    EXPECT_EQ(frm.FilaActual(), 1);
}

TEST_F(SelectoresTest, AfterTheRequestFormThePositionStaysWithinTheRowsLeft)
{
    auto& frm = Carga<FrmContAbrir>(1);
    ASSERT_TRUE(Elige(frm, kQuispe)); // the last row
    const int nUltima = frm.FilaActual();
    ASSERT_EQ(nUltima, 4);
    script.onForm(QStringLiteral("Frm913"), [this](QWidget&) {
        db().execute("DELETE FROM CAB WHERE doc_id_d IN ('41234567', '20456712381')");
        return 0;
    });
    frm.CmdOpciones_Click(0);
    EXPECT_EQ(frm.DtaNew->rowCount(), 3);
    EXPECT_EQ(frm.FilaActual(), 2);
    EXPECT_EQ(frm.ColumnaActual(2), QStringLiteral("20100070970"));
}

// Back from the request form Enter opens the row shown again and the arrows
// move, with no Tab first.
TEST_F(SelectoresTest, AfterTheRequestFormTheListHasTheKeyboard)
{
    auto& frm = Carga<FrmContAbrir>(1);
    frm.show();
    QApplication::setActiveWindow(&frm);
    frm.grdContrib->setFocus();
    ASSERT_TRUE(Elige(frm, kQuispe));
    int nVeces = 0;
    script.onForm(QStringLiteral("Frm913"), [&nVeces](QWidget&) { return ++nVeces, 0; });

    Pulsa(*frm.grdContrib, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    ASSERT_EQ(nVeces, 1);
    ASSERT_EQ(QApplication::focusWidget(), frm.grdContrib);
    EXPECT_EQ(frm.FilaActual(), 4);
    Pulsa(*frm.grdContrib, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(nVeces, 2);
    Pulsa(*frm.grdContrib, Qt::Key_Up);
    EXPECT_EQ(frm.FilaActual(), 3);
}

TEST_F(SelectoresTest, AFailingRequestFormLeavesThePickerUsable)
{
    auto& frm = Carga<FrmContAbrir>(1);
    script.onForm(QStringLiteral("Frm913"), [](QWidget&) -> int {
        throw platform::DbError(platform::dberr::NoCurrentRecord, QStringLiteral("No hay registro activo."));
    });
    script.answer(Ok);
    frm.CmdOpciones_Click(0);
    EXPECT_EQ(script.lastText(), QStringLiteral("No hay registro activo.\n 3021"));
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Error"));
    EXPECT_TRUE(frm.isEnabled());
    EXPECT_FALSE(QApplication::overrideCursor());
}

// A request form that ends on an error, or leaves the list empty, while the
// picker stays the active window (the error's box answered unseen): the list
// has the keyboard again or, empty, the action button.
TEST_F(SelectoresTest, AfterAFailedRequestFormOrAnEmptiedListThePickerHasTheKeyboard)
{
    REQUIRE_DISPLAY();
    auto& frm = CargaEnPantalla();

    script.onForm(QStringLiteral("Frm913"), [](QWidget&) -> int {
        throw platform::DbError(platform::dberr::NoCurrentRecord, QStringLiteral("No hay registro activo."));
    });
    script.answer(Ok);
    Pulsa(*frm.grdContrib, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    ASSERT_EQ(script.lastText(), QStringLiteral("No hay registro activo.\n 3021"));
    EXPECT_EQ(QApplication::focusWidget(), frm.grdContrib);

    script.onForm(QStringLiteral("Frm913"), [this](QWidget&) {
        db().execute("DELETE FROM CAB");
        return 0;
    });
    Pulsa(*frm.grdContrib, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    EXPECT_EQ(QApplication::focusWidget(), frm.CmdOpciones[0]);
}

// Another program holds the database's write lock, so the request form
// cannot load. It never shows, half loaded: its box, then the retry of its
// unloading stand over the picker, shown modally as the main window shows
// it. Once the lock is gone the picker has the keyboard again.
TEST_F(SelectoresTest, ARequestFormThatCannotLoadIsNeverShown)
{
    REQUIRE_DISPLAY();
    auto& frm = CargaEnPantalla(Qt::ApplicationModal);
    ASSERT_FALSE(HasFailure());
    const auto otro = platform::Database::open(paths().dbFile);
    otro->beginTrans();

    const auto solicitudVisible = [] {
        const QWidgetList ventanas = QApplication::topLevelWidgets();
        return std::any_of(ventanas.begin(), ventanas.end(), [](QWidget* ventana) {
            return ventana->objectName() == QLatin1String("Frm913") && ventana->isVisible();
        });
    };
    QStringList vistos;
    script.answerOnScreen();
    script.answerOnScreen();
    whenBoxActive([&](QMessageBox* carga) {
        vistos << carga->text();
        EXPECT_FALSE(solicitudVisible());
        EXPECT_EQ(carga->parentWidget(), &frm);
        whenBoxActive([&](QMessageBox* reintento) {
            vistos << reintento->windowTitle();
            EXPECT_FALSE(solicitudVisible());
            EXPECT_EQ(reintento->parentWidget(), &frm);
            otro->commitTrans();
            clickBoxButton(reintento, QStringLiteral("&Reintentar"));
        });
        clickBoxButton(carga, QStringLiteral("Aceptar"));
    });
    Pulsa(*frm.grdContrib, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));

    EXPECT_EQ(vistos, (QStringList{"Ha habido problemas en la carga del formulario. Reintente de nuevo la operación",
                                   "Reintentos de acceso S1000"}));
    EXPECT_TRUE(script.formsShown().isEmpty());
    EXPECT_EQ(db().scalar("SELECT count(*) FROM TMP_F0913DEUDAS").toInt(), 0);
    EXPECT_TRUE(frm.isEnabled());
    EXPECT_TRUE(ListaConTeclado(frm));
}

// Another window made active while the picker is open, then the picker again
// and "Salir": the main window has the keyboard, as it had before.
TEST_F(SelectoresTest, ClosingThePickerGivesTheMainWindowTheKeyboard)
{
    REQUIRE_DISPLAY();
    MDIFrm& principal = SharedForm<MDIFrm>::instance();
    principal.show();
    auto& frm = Carga<FrmContAbrir>(1);
    QWidget otra;
    otra.show();
    for (QWidget* ventana : {static_cast<QWidget*>(&principal), static_cast<QWidget*>(&frm), &otra,
                             static_cast<QWidget*>(&frm)}) {
        ventana->show();
        ventana->activateWindow();
        ASSERT_TRUE(waitUntil([ventana] { return ventana->isActiveWindow(); }));
    }

    QTest::mouseClick(frm.CmdOpciones[1], Qt::LeftButton);
    EXPECT_TRUE(waitUntil([&principal] { return principal.isActiveWindow(); }));
    EXPECT_EQ(QGuiApplication::focusWindow(), principal.windowHandle());
}

// Tab and Shift+Tab leave the list for the buttons, as in any window.
TEST_F(SelectoresTest, TabLeavesTheListForTheNextControl)
{
    REQUIRE_DISPLAY();
    auto& frm = CargaEnPantalla();
    const struct {
        int nTecla;
        Qt::KeyboardModifiers modificadores;
        QPushButton* destino;
    } casos[] = {
        {Qt::Key_Tab, Qt::NoModifier, frm.CmdOpciones[0]},
        {Qt::Key_Backtab, Qt::ShiftModifier, frm.CmdOpciones[1]},
    };
    for (const auto& c : casos) {
        frm.grdContrib->setFocus();
        Pulsa(*frm.grdContrib, c.nTecla, c.modificadores);
        EXPECT_EQ(QApplication::focusWidget(), c.destino) << c.nTecla;
    }
}

TEST_F(SelectoresTest, ADeclarantWithoutDocumentTypeTextIsNotSelectable)
{
    db().execute("INSERT INTO CONT (tip_doc_d, doc_id_d, nombre, usuario) VALUES (9, '99999999', 'SIN TIPO', 'ADMIN')");
    Inserta("CAB", {9, "99999999", "201003", 1, {}}, {"estado"}, {0});
    auto& frm = Carga<FrmContAbrir>(1);
    ASSERT_TRUE(Elige(frm, {9, "99999999", "201003", 1, {}}));
    script.answer(Ok);
    frm.CmdOpciones_Click(0);
    EXPECT_EQ(script.lastText(), QStringLiteral("Debe seleccionar algún registro para realizar la operación actualizar"));
    EXPECT_TRUE(script.formsShown().isEmpty());
}

// ---------------------------------------------------------------------------
// Deleting

TEST_F(SelectoresTest, DeletingRemovesExactlyTheChosenDeclarationEverywhere)
{
    const QMap<QString, int> antes = CuentaTodo();
    auto& frm = Carga<FrmContAbrir>(3);
    ASSERT_TRUE(Elige(frm, kPena1));
    nEntidad = 2; // as if the other entity's row had been current before

    script.answer(Yes);
    frm.CmdOpciones_Click(0);

    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown()[0].text, QStringLiteral("¿Confirma que va a eliminar la declaración seleccionada?"));
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Eliminar Declaraciones"));
    EXPECT_EQ(script.shown()[0].style, YesNo | Question | DefaultButton2);
    QMap<QString, int> esperado = antes;
    for (const QString& sTabla : kTablasActuales) {
        EXPECT_EQ(Filas(sTabla, kPena1), 0) << sTabla.toStdString();
        esperado[sTabla] -= sTabla == "CAB" || sTabla == "F0913GARANTIA" ? 1 : 2;
    }
    EXPECT_EQ(CuentaTodo(), esperado);
    EXPECT_EQ(Filas("CAB", kPena2), 1);
    EXPECT_EQ(Filas("F0913DEUDAS", kPena2), 2);
    EXPECT_EQ(Filas("TMP_F0913DEUDAS", kPena1), 2);
    EXPECT_EQ(db().transactionLevel(), 0);
    // The list is read again in number order.
    EXPECT_EQ(Columna(frm, 2), (QStringList{"10412345679", "20100070970", "20456712381", "41234567"}));
}

TEST_F(SelectoresTest, DeletingTheFirstRowWithoutMovingTakesItsOwnEntity)
{
    auto& frm = Carga<FrmContAbrir>(3, QStringLiteral("CONTADOR2"));
    ASSERT_EQ(frm.FilaActual(), 0);
    nEntidad = 5;
    sPeriodo.clear();
    script.answer(Yes);
    frm.CmdOpciones_Click(0);
    EXPECT_EQ(Filas("CAB", kNunez), 0);
    EXPECT_EQ(Filas("F0913DEUDAS", kNunez), 0);
}

TEST_F(SelectoresTest, AnsweringNoDeletesNothing)
{
    const QMap<QString, int> antes = CuentaTodo();
    Elimina<FrmContAbrir>(kAcuna, No);
    EXPECT_EQ(CuentaTodo(), antes);
}

TEST_F(SelectoresTest, DeletingASentDeclarationTakesOnlyItsCorrelative)
{
    const QMap<QString, int> antes = CuentaTodo();
    auto& frm = Elimina<FrmContAbrirE>(kEnviada1, Yes);
    EXPECT_EQ(script.shown().first().title, QStringLiteral("Eliminar Declaraciones enviadas"));
    QMap<QString, int> esperado = antes;
    for (const QString& sTabla : kTablasEnviadas) {
        EXPECT_EQ(Filas(sTabla, kEnviada1), 0) << sTabla.toStdString();
        EXPECT_GT(Filas(sTabla, kEnviada2), 0) << sTabla.toStdString();
        esperado[sTabla] -= sTabla == "HCAB" || sTabla == "HDET" ? 1 : 2;
    }
    EXPECT_EQ(CuentaTodo(), esperado);
    EXPECT_EQ(Columna(frm, 10), (QStringList{"002"}));
}

TEST_F(SelectoresTest, AFailedDeleteKeepsEveryRowAndSaysSo)
{
    const QMap<QString, int> antes = CuentaTodo();
    // A failing statement; then one after which the engine ends the whole
    // transaction, so that a later delete would stand on its own.
    for (const char* sAccion : {"ABORT", "ROLLBACK"}) {
        SCOPED_TRACE(sAccion);
        script.clear();
        db().execute(QStringLiteral("CREATE TRIGGER NoBorrar BEFORE DELETE ON F0913SUSTEN "
                                    "BEGIN SELECT RAISE(%1, 'bloqueada'); END")
                         .arg(QLatin1String(sAccion)));
        script.answer(Yes);
        Elimina<FrmContAbrir>(kAcuna, Ok); // the confirmation, then the error
        EXPECT_EQ(CuentaTodo(), antes);
        ASSERT_EQ(script.shown().size(), 2);
        EXPECT_EQ(script.shown()[1].title, QStringLiteral("Error"));
        EXPECT_TRUE(script.lastText().contains(QStringLiteral("La declaración no fue eliminada.")));
        EXPECT_EQ(db().transactionLevel(), 0);
        db().execute(QStringLiteral("DROP TRIGGER NoBorrar"));
    }
}

// ---------------------------------------------------------------------------
// The grid over a record set

TEST_F(SelectoresTest, GridDataKeepsItsRows)
{
    auto rs = db().openRecordset("SELECT doc_id_d, nombre, tip_doc_d FROM CONT ORDER BY doc_id_d");
    GrillaRecordset grilla({{"Número", "doc_id_d"}, {"Nombre", "NOMBRE"}, {"Falta", "no_existe"}});
    grilla.CargaRecordset(*rs);
    rs.reset();
    ASSERT_EQ(grilla.rowCount(), 6);
    EXPECT_EQ(grilla.Texto(0, 0), QStringLiteral("10412345679"));
    EXPECT_TRUE(grilla.Texto(0, 2).isEmpty());
    EXPECT_TRUE(grilla.Texto(99, 0).isEmpty());
    grilla.Limpia();
    EXPECT_EQ(grilla.rowCount(), 0);
}

} // namespace
