#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/subsystems/review/FrmNoNotificada.h"
#include "platform/database.h"
#include "platform/databasetesting.h"
#include "tests/formulario/subsystems/review/Frm913Simulado.h"
#include "tests/formulario/subsystems/review/SalidaDeCaja.h"
#include "tests/support/ControlValorPrueba.h"
#include "tests/support/HostTest.h"
#include "tests/support/OnDisplay.h"
#include "tests/support/TintaCaja.h"

#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <functional>

using namespace platform::mb;

namespace {

const QString kDeclarante = QStringLiteral("20100070970");
const QString kFusionada = QStringLiteral("20456712381");
const QString kTitulo = QStringLiteral("Otras Resoluciones - (Nuevo)");
const QString kGrabo = QStringLiteral("La información se grabó con éxito");

// What the user types for one debt.
struct Entrada {
    QString sPeriodo = QStringLiteral("03/2004");
    QString sTipo = QStringLiteral("017001");
    QString sNumero = QStringLiteral("0230170000123");
    QString sRuc = kFusionada;
    QString sTributo = QStringLiteral("1000.00");
    QString sInteresCap = QStringLiteral("50.00");
    QString sInteres = QStringLiteral("25.40");
};

class NoNotificadaTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        if (HasFatalFailure())
            return;
        frm.nTab = 2;
        sRucDeclarante = kDeclarante;
        Declaracion(1);
        EstableceFormularioSolicitud(&frm);
    }
    void TearDown() override
    {
        form.reset();
        EstableceFormularioSolicitud(nullptr);
        HostTest::TearDown();
    }

    void Declaracion(int nEntidadDeclarada)
    {
        nEntidad = nEntidadDeclarada;
        sPeriodo = QStringLiteral("201003");
        sPeriodoMMAAAA = QStringLiteral("03/2010");
        Recarga();
    }
    void Recarga()
    {
        frm.CargaTabIndex(1);
        frm.CargaTabIndex(2);
        frm.llamadas.clear();
    }

    void Abre(const QString& sOperacion)
    {
        frm.sOperacion = sOperacion;
        form = std::make_unique<FrmNoNotificada>();
        form->Form_Load();
    }

    void Llena(const Entrada& e)
    {
        form->mkePeriodo->setText(e.sPeriodo);
        form->cboDocumento->setCurrentIndex(form->cboDocumento->findText(e.sTipo, Qt::MatchStartsWith));
        form->txtNumDocumento->setText(e.sNumero);
        form->TxtRuc->setText(e.sRuc);
        form->txtmtoTributo->setText(e.sTributo);
        if (!form->TxtMtoInteresesCAP->isReadOnly())
            form->TxtMtoInteresesCAP->setText(e.sInteresCap);
        form->TxtMtoIntereses->setText(e.sInteres);
    }

    // Presses "Aceptar", answering each box with OK; the boxes shown.
    QList<platform::ShownMessage> Acepta(int nCajas = 1)
    {
        for (int i = 0; i < nCajas; ++i)
            script.answer(Ok);
        script.clear();
        form->cmdOpcion_Click(0);
        return script.shown();
    }

    // A notified debt of the declaration.
    void InsertaNotificada(const QString& sNumDoc, int nIndValor, const QString& sFecha, const QString& sNumPro)
    {
        db().execute(QStringLiteral("INSERT INTO TMP_F0913DEUDAS (tip_doc_d, doc_id_d, periodo, formulario, semana, "
                                    "Ind_tip_deu, per_doc, cod_tri, Num_doc, Cod_for, Cod_tip_doc, Cod_tri_aso, "
                                    "Ind_ver_deu, Fec_des_deu, Num_pro, ind_acog, ind_valor, mto_act_c) VALUES "
                                    "(6, ?, '201003', '0913', ?, '01', '200403', '080201', ?, '0', '017001', "
                                    "'000000', '00', ?, ?, 1, ?, '500')"),
                     {kDeclarante, nEntidad, sNumDoc, sFecha.isEmpty() ? QVariant() : QVariant(sFecha), sNumPro,
                      nIndValor});
        Recarga();
    }

    // Every row of kind "05", each column as text.
    QStringList Filas()
    {
        QStringList filas;
        auto rs = db().openRecordset(QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE Ind_tip_deu = '05' "
                                                    "ORDER BY per_doc"));
        for (; !rs->eof(); rs->moveNext()) {
            QStringList valores;
            for (int i = 0; i < rs->fieldCount(); ++i)
                valores << (rs->field(i).isNull() ? QStringLiteral("<null>") : rs->field(i).text());
            filas << valores.join(u'|');
        }
        return filas;
    }

    // The stored control value is the one the row's columns give with that split.
    void ControlCorrecto(int nParticion)
    {
        ControlesCorrectos(db(), QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE Ind_tip_deu = '05'"), {},
                           nParticion);
    }

    Frm913Simulado frm{kDeclarante, QStringLiteral("COMERCIAL PEÑA HERMANOS S.A.C.")};
    std::unique_ptr<FrmNoNotificada> form;
};

// ------------------------------------------------------------ adding

TEST_F(NoNotificadaTest, ANewDebtIsStoredWithEveryColumnAndTheDialogIsEmptiedForTheNext)
{
    InsertaNotificada(QStringLiteral("0230170000999"), 1, QStringLiteral("2009-05-20 00:00:00"),
                      QStringLiteral("PRO123"));
    frm.txtmtototal(2).setText(QStringLiteral("1"));
    Abre(QStringLiteral("N"));
    EXPECT_EQ(form->windowTitle(), kTitulo);
    EXPECT_EQ(form->Frame1->title(), QStringLiteral("Otras Resoluciones"));
    Llena(Entrada());
    EXPECT_EQ(form->lblMtoAcogido->text(), QStringLiteral("1,075.00"));

    const auto cajas = Acepta();
    ASSERT_EQ(cajas.size(), 1);
    EXPECT_EQ(cajas[0].text, kGrabo);
    EXPECT_EQ(cajas[0].title, kTitulo);
    EXPECT_EQ(cajas[0].style, Information);
    EXPECT_TRUE(bDeudaGrabada);

    const QStringList filas = Filas();
    ASSERT_EQ(filas.size(), 1);
    EXPECT_TRUE(filas[0].startsWith(QStringLiteral(
        "6|20100070970|201003|0913|1|05|200403|080201|0230170000123|0|017001|000000|00|20/05/2009|0|01/01/1901|"
        "PRO123|0.00|0.00|0.00|0.00|1|1|1000.00|50.00|25.40|1075|0|20456712381|1|0|<null>|")))
        << filas[0].toStdString();
    ControlCorrecto(9);

    EXPECT_EQ(frm.lblTab[2].text(), QStringLiteral("Total de registros : 1 de 1"));
    EXPECT_EQ(frm.txtmtototal(2).text(), QStringLiteral("1,075"));
    EXPECT_EQ(frm.llamadas, (QStringList{"CalculaMontoTotal(2)", "CargaTabIndex(2)"}));
    EXPECT_EQ(form->mkePeriodo->displayText(), QStringLiteral("__/____"));
    EXPECT_EQ(form->cboDocumento->currentIndex(), -1);
    for (QLineEdit* caja : {form->txtNumDocumento, form->TxtRuc, form->txtmtoTributo, form->TxtMtoIntereses,
                            form->lblMtoAcogido, form->txtTributo})
        EXPECT_EQ(caja->text(), QString()) << caja->objectName().toStdString();
}

TEST_F(NoNotificadaTest, WithoutAnyDebtOnTheFormTheDateAndProcessAreLeftEmpty)
{
    frm.txtmtototal(2).setText(QStringLiteral("0"));
    Abre(QStringLiteral("N"));
    Llena(Entrada());
    EXPECT_EQ(Acepta().value(0).text, kGrabo);
    EXPECT_TRUE(Filas().value(0).contains(QStringLiteral("|00|<null>|0|01/01/1901|<null>|")));
    EXPECT_EQ(frm.llamadas, QStringList{"CargaTabIndex(2)"}); // a total reading "0" is not recomputed
}

struct CasoTipo {
    int nEntidad;
    const char* sPeriodo;
    const char* sTipo;
    const char* sNumero;
    const char* sPerDoc;
    const char* sTributo;
    const char* sTexto; // txtTributo
};

TEST_F(NoNotificadaTest, EachDocumentTypeAndEntityStoresItsTribute)
{
    const CasoTipo casos[] = {
        {1, "03/2004", "017001", "0230170000123", "200403", "080201", "080201 - REPROGRAMACIÓN - TESORO"},
        {1, "07/2005", "017501", "0230170000124", "200507", "080209", "080209 - REPROGRAMACIÓN REAF - TESORO"},
        {1, "14/1995", "017004", "0230170000125", "199514", "080201", "080201 - REPROGRAMACIÓN - TESORO"},
        {2, "05/2006", "017004", "0231040000126", "200605", "052106", "052106 - REPROGRAMACIÓN - ESSALUD"},
        {2, "08/2005", "017504", "0230170000127", "200508", "052307", "052307 - REPROGRAMACIÓN REAF - ESSALUD"},
        {3, "01/2007", "017004", "0231140000128", "200701", "053105", "053105 - REPROGRAMACIÓN - ONP"},
        {3, "07/2005", "017501", "0230170000129", "200507", "053301", "053301 - REPROGRAMACIÓN REAF - ONP"},
        {5, "02/2003", "017001", "023400001", "200302", "050301", "050301 - REPROGRAMACIÓN - FONAVI"},
        {5, "09/2008", "017504", "0230170000130", "200809", "050509", "050509 - REPROGRAMACIÓN REAF - FONAVI"},
        {8, "10/2009", "017004", "0230170000131", "200910", "072001", "072001 - REPROGRAMACIÓN - FONCOMUN"},
        {8, "03/2010", "017501", "0230170000132", "201003", "072002", "072002 - REPROGRAMACIÓN REAF - FONCOMUN"},
    };
    for (const CasoTipo& caso : casos) {
        SCOPED_TRACE(caso.sNumero);
        Declaracion(caso.nEntidad);
        Abre(QStringLiteral("N"));
        Entrada e;
        e.sPeriodo = QString::fromLatin1(caso.sPeriodo);
        e.sTipo = QString::fromLatin1(caso.sTipo);
        e.sNumero = QString::fromLatin1(caso.sNumero);
        Llena(e);
        EXPECT_EQ(form->txtTributo->text(), QString::fromUtf8(caso.sTexto));
        EXPECT_EQ(Acepta().value(0).text, kGrabo);
        const auto rs = db().openRecordset(QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE num_doc = ?"),
                                           {QString::fromLatin1(caso.sNumero)});
        ASSERT_FALSE(rs->eof());
        EXPECT_EQ(rs->field(QStringLiteral("semana")).text(), QString::number(caso.nEntidad));
        EXPECT_EQ(rs->field(QStringLiteral("per_doc")).text(), QString::fromLatin1(caso.sPerDoc));
        EXPECT_EQ(rs->field(QStringLiteral("cod_tri")).text(), QString::fromLatin1(caso.sTributo));
        EXPECT_EQ(rs->field(QStringLiteral("cod_tip_doc")).text(), QString::fromLatin1(caso.sTipo));
    }
}

TEST_F(NoNotificadaTest, AnOtherDocumentTypeShowsNoTribute)
{
    Abre(QStringLiteral("N"));
    form->cboDocumento->setCurrentIndex(form->cboDocumento->findText(QStringLiteral("017011"), Qt::MatchStartsWith));
    EXPECT_EQ(form->txtTributo->text(), QStringLiteral("00 - "));
    EXPECT_EQ(form->txtDocumento->text(), QStringLiteral("ORDEN DE PAGO"));
}

TEST_F(NoNotificadaTest, TheSameResolutionTwiceIsRefusedAndTheDialogKeepsIt)
{
    Abre(QStringLiteral("N"));
    Llena(Entrada());
    Acepta();
    Llena(Entrada());

    const auto cajas = Acepta();
    ASSERT_EQ(cajas.size(), 1);
    EXPECT_EQ(cajas[0].text, QStringLiteral("La información que quiere actualizar ya se encuentra registrada."));
    EXPECT_EQ(cajas[0].style, Exclamation);
    EXPECT_EQ(Filas().size(), 1);
    EXPECT_EQ(form->txtNumDocumento->text(), Entrada().sNumero);
    EXPECT_EQ(form->mkePeriodo->displayText(), Entrada().sPeriodo);
}

// ------------------------------------------------------------ changing

TEST_F(NoNotificadaTest, AChangeRewritesTheAmountsAndTheRucAndCloses)
{
    Abre(QStringLiteral("N"));
    Llena(Entrada());
    Acepta();
    form.reset();
    Recarga();
    Abre(QStringLiteral("E"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Otras Resoluciones - (Modificación)"));
    EXPECT_EQ(form->mkePeriodo->displayText(), QStringLiteral("03/2004"));
    EXPECT_EQ(form->cboDocumento->currentText().left(6), QStringLiteral("017001"));
    EXPECT_EQ(form->txtNumDocumento->text(), QStringLiteral("0230170000123"));
    EXPECT_EQ(form->TxtRuc->text(), kFusionada);
    EXPECT_EQ(form->lblMtoAcogido->text(), QStringLiteral("1075"));
    for (QWidget* fijo : {static_cast<QWidget*>(form->mkePeriodo), static_cast<QWidget*>(form->cboDocumento),
                          static_cast<QWidget*>(form->txtNumDocumento)})
        EXPECT_FALSE(fijo->isEnabled()) << fijo->objectName().toStdString();
    // What the user may not change is still read: dark text on grey.
    for (QLineEdit* fijo : {form->mkePeriodo, form->txtDocumento, form->txtTributo, form->txtNumDocumento})
        EXPECT_LT(TintaMasOscura(*fijo), 0x50) << fijo->objectName().toStdString();
    const QString antes = Filas().value(0);

    form->TxtRuc->setText(QStringLiteral("20512345671"));
    form->txtmtoTributo->setText(QStringLiteral("2,000.50"));
    const auto cajas = Acepta();
    ASSERT_EQ(cajas.size(), 1);
    EXPECT_EQ(cajas[0].text, QStringLiteral("La información se modificó con éxito"));
    EXPECT_EQ(form->result(), QDialog::Accepted);
    QString despues = antes;
    despues.replace(QStringLiteral("|1000.00|50.00|25.40|1075|0|20456712381|"),
                    QStringLiteral("|2000.50|50.00|25.40|2076|0|20512345671|"));
    EXPECT_EQ(Filas().value(0).section(u'|', 0, -2), despues.section(u'|', 0, -2));
    ControlCorrecto(10);
}

TEST_F(NoNotificadaTest, AChangeOfARowThatIsGoneWritesNothing)
{
    Abre(QStringLiteral("N"));
    Llena(Entrada());
    Acepta();
    form.reset();
    Recarga();
    Abre(QStringLiteral("E"));
    db().execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS"));

    const auto cajas = Acepta();
    ASSERT_EQ(cajas.size(), 1);
    EXPECT_EQ(cajas[0].text, QStringLiteral("Error de integridad. No se encontró el registro a actualizar."));
    EXPECT_EQ(cajas[0].style, Critical);
    EXPECT_TRUE(Filas().isEmpty());
    EXPECT_NE(form->result(), QDialog::Accepted);
}

TEST_F(NoNotificadaTest, SalirClosesWithoutAQuestionOrASave)
{
    Abre(QStringLiteral("N"));
    Llena(Entrada());
    form->cmdOpcion_Click(1);
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_TRUE(Filas().isEmpty());
}

TEST_F(NoNotificadaTest, TheRequestFormShowsItModallyAndReleasesIt)
{
    frm.sOperacion = QStringLiteral("N");
    script.onForm(QStringLiteral("FrmNoNotificada"), [](QWidget& ventana) {
        EXPECT_EQ(ventana.windowTitle(), kTitulo);
        return 0;
    });
    MuestraFormularioNuevo<FrmNoNotificada>();
    EXPECT_EQ(script.formsShown(), QStringList{QStringLiteral("FrmNoNotificada")});
    EXPECT_FALSE(SharedForm<FrmNoNotificada>::exists());
}

// ------------------------------------------------------------ the save failing

TEST_F(NoNotificadaTest, EachFailedWriteLeavesTheTableAsItWasAndTheDialogUsable)
{
    // A dialog holding a change of the tax owed, over the table it starts from.
    const auto prepara = [this](const QString& sOperacion) {
        db().execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS"));
        if (sOperacion == QLatin1String("E")) {
            Abre(QStringLiteral("N"));
            Llena(Entrada());
            Acepta();
            Recarga();
        }
        Abre(sOperacion);
        Llena(Entrada());
        form->txtmtoTributo->setText(QStringLiteral("3,000.00"));
    };
    const QMap<QString, QString> titulos = {{QStringLiteral("N"), QStringLiteral("Otras Resoluciones - (Nuevo)")},
                                            {QStringLiteral("E"), QStringLiteral("Otras Resoluciones - (Modificación)")}};
    for (const QString& sOperacion : {QStringLiteral("N"), QStringLiteral("E")}) {
        SCOPED_TRACE(sOperacion.toStdString());
        prepara(sOperacion);
        int nEscrituras = 0;
        {
            platform::testing::FailWriteNumber cuenta(0);
            Acepta();
            nEscrituras = cuenta.writesDone();
        }
        ASSERT_GE(nEscrituras, 1);
        for (int n = 1; n <= nEscrituras; ++n) {
            prepara(sOperacion);
            const QStringList antes = Filas();
            {
                platform::testing::FailWriteNumber falla(n);
                const auto cajas = Acepta();
                EXPECT_TRUE(falla.failed());
                ASSERT_EQ(cajas.size(), 1);
                EXPECT_EQ(cajas[0].text, QStringLiteral("Error Número : 3043\nError de disco o de red.\n\n"
                                                        "No se ha grabado ningún cambio."));
                EXPECT_EQ(cajas[0].title, titulos.value(sOperacion));
            }
            EXPECT_EQ(Filas(), antes);
            EXPECT_NE(form->result(), QDialog::Accepted);
            EXPECT_EQ(form->txtmtoTributo->text(), QStringLiteral("3,000.00"));
            EXPECT_TRUE(Acepta().value(0).text.startsWith(QStringLiteral("La información se "))); // usable again
        }
    }
}

// ------------------------------------------------------------ refusals

struct Rechazo {
    const char* sCaso;
    std::function<void(Entrada&)> cambia;
    QString sMensaje;
    bool bTituloError; // "Error" rather than the caption
    int nEntidad = 1;
};

TEST_F(NoNotificadaTest, ThePeriodRunsToTheOpenDeclarationsPeriodWhateverThePickerLastSet)
{
    for (const QString& sDelSelector : {QString(), QStringLiteral("12/2015")}) {
        SCOPED_TRACE(sDelSelector.toStdString());
        db().execute(QStringLiteral("DELETE FROM TMP_F0913DEUDAS"));
        sPeriodoMMAAAA = sDelSelector;
        Abre(QStringLiteral("N"));
        Entrada e;
        e.sPeriodo = QStringLiteral("04/2010");
        Llena(e);
        EXPECT_EQ(Acepta().value(0).text, QStringLiteral("El periodo no es válido"));
        e.sPeriodo = QStringLiteral("03/2010");
        Llena(e);
        EXPECT_EQ(Acepta().value(0).text, kGrabo);
        EXPECT_EQ(Filas().size(), 1);
    }
}

TEST_F(NoNotificadaTest, EveryRefusalShowsItsMessageAndWritesNothing)
{
    const QString kNoAcogible = QStringLiteral("Error en el Nº de resolución. Tipo de resolución no acogible.");
    const QString kRucDe = QStringLiteral("El RUC de la empresa absorvida y/o fusionada ");
    const QList<Rechazo> rechazos = {
        {"sin periodo", [](Entrada& e) { e.sPeriodo.clear(); }, QStringLiteral("Debe registrar el periodo"), true},
        {"mes 14 tarde", [](Entrada& e) { e.sPeriodo = "14/1998"; }, QStringLiteral("El periodo no es válido"), true},
        {"mes 13", [](Entrada& e) { e.sPeriodo = "13/2000"; }, QStringLiteral("El periodo no es válido"), true},
        {"después de la declaración", [](Entrada& e) { e.sPeriodo = "04/2010"; },
         QStringLiteral("El periodo no es válido"), true},
        {"sin tipo", [](Entrada& e) { e.sTipo = "ninguno"; }, QStringLiteral("Debe seleccionar el tipo de resolución"),
         true},
        {"REAF antes de julio de 2005",
         [](Entrada& e) {
             e.sPeriodo = "06/2005";
             e.sTipo = "017501";
         },
         QStringLiteral("El periodo para resoluciones del  REAF debe ser mayor o igual a Julio de 2005"), true},
        {"sin número", [](Entrada& e) { e.sNumero.clear(); },
         QStringLiteral("Debe ingresar un Nº de resolución válido para el tributo seleccionado."), false},
        {"oficina sin nombre", [](Entrada& e) { e.sNumero = "0990170000123"; }, kNoAcogible, false},
        {"oficina desconocida", [](Entrada& e) { e.sNumero = "5550170000123"; }, kNoAcogible, false},
        {"13 sin 017", [](Entrada& e) { e.sNumero = "0231040000123"; }, kNoAcogible, false},
        {"9 sin 4", [](Entrada& e) { e.sNumero = "023300001"; }, kNoAcogible, false},
        {"10 caracteres", [](Entrada& e) { e.sNumero = "0230170000"; }, kNoAcogible, false},
        {"ESSALUD otro tipo", [](Entrada& e) { e.sNumero = "0231140000123"; }, kNoAcogible, false, 2},
        {"ESSALUD 104 sin multa", [](Entrada& e) { e.sNumero = "0231040000123"; },
         QStringLiteral("Tipo de Resolución errado, para el número de documento ingresado corresponde seleccionar el "
                        "tipo de resolución 017004"),
         false, 2},
        {"ONP otro tipo", [](Entrada& e) { e.sNumero = "0231040000123"; }, kNoAcogible, false, 3},
        {"ONP 114 sin multa", [](Entrada& e) { e.sNumero = "0231140000123"; },
         QStringLiteral("Tipo de Resolución errado, corresponde seleccionar el tipo de resolución 017004"), false, 3},
        {"sin RUC", [](Entrada& e) { e.sRuc = "  "; },
         QStringLiteral("Debe registrar el RUC de la empresa absorvida y/o fusionada."), false},
        {"RUC corto", [](Entrada& e) { e.sRuc = "2045671238"; }, kRucDe + "debe ser de 11 dígitos.", false},
        {"RUC inválido", [](Entrada& e) { e.sRuc = "20456712380"; }, kRucDe + "no es válido.", false},
        {"RUC del declarante", [](Entrada& e) { e.sRuc = kDeclarante; },
         kRucDe + "no debe ser igual al RUC del declarante.", false},
        {"sin tributo", [](Entrada& e) { e.sTributo.clear(); },
         QStringLiteral("Debe registrar el monto del tributo adeudado"), true},
        {"tributo cero", [](Entrada& e) { e.sTributo = "0.00"; },
         QStringLiteral("El monto de tributo insoluto debe ser mayor a cero."), false},
        {"tributo de 11 enteros", [](Entrada& e) { e.sTributo = "12345678901.00"; },
         QStringLiteral("Registre como máximo 10 enteros y 2 decimales"), false},
        {"sin interés capitalizado",
         [](Entrada& e) {
             e.sPeriodo = "11/2005";
             e.sInteresCap.clear();
         },
         QStringLiteral("Debe registrar el interés capitalizado del tributo adeudado"), true},
        {"interés capitalizado negativo", [](Entrada& e) { e.sInteresCap = "-5.00"; },
         QStringLiteral("Debe registrar el interés capitalizado del tributo adeudado correctamente"), false},
        {"interés capitalizado de 11 enteros", [](Entrada& e) { e.sInteresCap = "12345678901"; },
         QStringLiteral("Registre como máximo 10 enteros y 2 decimales"), false},
        {"sin interés", [](Entrada& e) { e.sInteres.clear(); },
         QStringLiteral("Debe registrar el interés no capitalizado del tributo adeudado"), true},
        {"interés negativo", [](Entrada& e) { e.sInteres = "-1"; },
         QStringLiteral("Debe registrar el interés no capitalizado del tributo adeudado correctamente"), false},
        {"interés de 11 enteros", [](Entrada& e) { e.sInteres = "12345678901"; },
         QStringLiteral("Registre como máximo 10 enteros y 2 decimales"), false},
        {"total bajo 5",
         [](Entrada& e) {
             e.sTributo = "1.00";
             e.sInteresCap = "1.00";
             e.sInteres = "1.00";
         },
         QStringLiteral("El monto acogido debe ser mayor o igual a 5 soles."), false},
    };
    for (const Rechazo& rechazo : rechazos) {
        SCOPED_TRACE(rechazo.sCaso);
        Declaracion(rechazo.nEntidad);
        Abre(QStringLiteral("N"));
        Entrada e;
        rechazo.cambia(e);
        Llena(e);
        const auto cajas = Acepta();
        ASSERT_EQ(cajas.size(), 1);
        EXPECT_EQ(cajas[0].text, rechazo.sMensaje);
        EXPECT_EQ(cajas[0].title, rechazo.bTituloError ? QStringLiteral("Error") : kTitulo);
        EXPECT_TRUE(Filas().isEmpty());
    }
}

TEST_F(NoNotificadaTest, AResolutionAmongTheNotifiedDebtsIsRefused)
{
    InsertaNotificada(Entrada().sNumero, 1, {}, QStringLiteral("P1"));
    Abre(QStringLiteral("N"));
    Llena(Entrada());
    const auto cajas = Acepta();
    ASSERT_EQ(cajas.size(), 1);
    EXPECT_EQ(cajas[0].text, QStringLiteral("La resolución ya se encuentra registrado en la opción resoluciones"));
    EXPECT_EQ(cajas[0].style, Critical);
    EXPECT_TRUE(Filas().isEmpty());
}

TEST_F(NoNotificadaTest, AnAcceptedNotifiedDebtOfAnotherKindBlocksAddingAndChanging)
{
    Abre(QStringLiteral("N"));
    Llena(Entrada());
    Acepta();
    const QStringList antes = Filas();
    InsertaNotificada(QStringLiteral("0230170000999"), 0, {}, QStringLiteral("P1"));
    const QString kMezcla = QStringLiteral(
        "No se puede combinar deudas de persona natural generadoras de rentas de capital y/o trabajo (tributos 3071, "
        "3072, 3073, 3074) con el resto de deudas. Por favor, elija deudas de un solo tipo en la solicitud.");
    for (const QString& sOperacion : {QStringLiteral("N"), QStringLiteral("E")}) {
        Abre(sOperacion);
        Entrada e;
        e.sNumero = QStringLiteral("0230170000124");
        if (sOperacion == QLatin1String("N"))
            Llena(e);
        form->txtmtoTributo->setText(QStringLiteral("999.00"));
        const auto cajas = Acepta();
        ASSERT_EQ(cajas.size(), 1);
        EXPECT_EQ(cajas[0].text, kMezcla);
        EXPECT_EQ(cajas[0].style, Information);
        EXPECT_EQ(Filas(), antes);
    }
}

// ------------------------------------------------------------ fields

TEST_F(NoNotificadaTest, ThePeriodLocksTheCapitalisedInterestFromDecember2005)
{
    Abre(QStringLiteral("N"));
    const struct { const char* sPeriodo; bool bCerrado; } casos[] = {
        {"12/2005", true}, {"11/2005", false}, {"01/2010", true}, {"1_/____", false}, {"03/1999", false}};
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.sPeriodo);
        form->TxtMtoInteresesCAP->setText(QStringLiteral("7.00"));
        form->mkePeriodo->setText(QString::fromLatin1(caso.sPeriodo).remove(u'_'));
        EXPECT_EQ(form->TxtMtoInteresesCAP->isReadOnly(), caso.bCerrado);
        EXPECT_EQ(form->TxtMtoInteresesCAP->text(), caso.bCerrado ? QStringLiteral("0") : QStringLiteral("7.00"));
        EXPECT_EQ(form->TxtMtoInteresesCAP->palette().color(QPalette::Base),
                  caso.bCerrado ? QColor(0xC0, 0xC0, 0xC0) : QColor(Qt::white));
        if (caso.bCerrado)
            form->mkePeriodo->setText(QStringLiteral("11/2005"));
    }
}

TEST_F(NoNotificadaTest, AmountBoxesKeepARunningTotalAndTheirFormats)
{
    Abre(QStringLiteral("N"));
    form->txtmtoTributo->setText(QStringLiteral("10.40"));
    form->TxtMtoInteresesCAP->setText(QStringLiteral("0.30"));
    form->TxtMtoIntereses->setText(QStringLiteral("0.20"));
    EXPECT_EQ(form->lblMtoAcogido->text(), QStringLiteral("11.00"));
    for (QLineEdit* caja : {form->txtmtoTributo, form->TxtMtoInteresesCAP, form->TxtMtoIntereses})
        caja->clear();
    EXPECT_EQ(form->lblMtoAcogido->text(), QString());

    form->txtmtoTributo->setText(QStringLiteral("1234.5"));
    form->Monto_LostFocus(*form->txtmtoTributo);
    EXPECT_EQ(form->txtmtoTributo->text(), QStringLiteral("1,234.50"));
    form->Monto_GotFocus(*form->txtmtoTributo);
    EXPECT_EQ(form->txtmtoTributo->text(), QStringLiteral("1234.50"));
    form->Monto_GotFocus(*form->TxtMtoIntereses);
    EXPECT_EQ(form->TxtMtoIntereses->text(), QStringLiteral("0.00"));

    form->TxtMtoIntereses->clear();
    Teclea(*form->TxtMtoIntereses, QStringLiteral(".5.x"));
    EXPECT_EQ(form->TxtMtoIntereses->text(), QStringLiteral("0.5"));
}

// An amount box is formatted only when the cursor moves on to another field:
// closing the dialog or going to another window leaves it as typed, and back
// in the dialog the user types on.
TEST_F(NoNotificadaTest, AnAmountBoxIsLeftOnlyForAnotherControlOfTheDialog)
{
    const std::pair<Salida, QString> casos[] = {
        {Salida::Escape, QStringLiteral("1234.5")},        {Salida::BotonCerrar, QStringLiteral("1234.5")},
        {Salida::OtraVentana, QStringLiteral("1234.56")},  {Salida::OtroPrograma, QStringLiteral("1234.56")},
        {Salida::Tab, QStringLiteral("1,234.50")},
    };
    for (const auto& [eSalida, sTexto] : casos) {
        SCOPED_TRACE(NombreSalida(eSalida));
        Abre(QStringLiteral("N"));
        TecleaYSale(*form, *form->txtmtoTributo, QStringLiteral("1234.5"), eSalida, QStringLiteral("6"));
        EXPECT_EQ(form->txtmtoTributo->text(), sTexto);
        EXPECT_EQ(form->isVisible(), !CierraElDialogo(eSalida));
        EXPECT_TRUE(script.shown().isEmpty());
    }
}

// A refusal's box closes and the focus goes to the box at fault while the
// dialog waits to be active again: the box is entered all the same.
TEST_F(NoNotificadaTest, TheBoxAtFaultIsEnteredAfterTheRefusalsBox)
{
    REQUIRE_DISPLAY();
    Abre(QStringLiteral("N"));
    Entrada e;
    e.sInteres = QStringLiteral("-1,234.50");
    Llena(e);
    form->show();
    form->activateWindow();
    form->cmdOpcion[0]->setFocus();
    ASSERT_TRUE(waitUntil([&] { return QApplication::focusWidget() == form->cmdOpcion[0]; }));

    script.answerOnScreen();
    answerShownBox(QStringLiteral("Aceptar"));
    form->cmdOpcion_Click(0);
    form->activateWindow(); // as the window manager does once the box is gone
    ASSERT_TRUE(waitUntil([&] { return QApplication::focusWidget() == form->TxtMtoIntereses; }));

    EXPECT_EQ(script.lastText(),
              QStringLiteral("Debe registrar el interés no capitalizado del tributo adeudado correctamente"));
    EXPECT_EQ(form->TxtMtoIntereses->text(), QStringLiteral("1234.50"));
    EXPECT_EQ(form->TxtMtoIntereses->maxLength(), 13);
    EXPECT_TRUE(Filas().isEmpty());
}

TEST_F(NoNotificadaTest, NoBoxTakesPastedText)
{
    Abre(QStringLiteral("N"));
    for (QLineEdit* caja : {form->mkePeriodo, form->txtNumDocumento, form->TxtRuc, form->txtmtoTributo,
                            form->TxtMtoInteresesCAP, form->TxtMtoIntereses}) {
        SCOPED_TRACE(caja->objectName().toStdString());
        const QString antes = caja->text();
        for (const auto& [tecla, modificador] : {std::pair{Qt::Key_Insert, Qt::ShiftModifier},
                                                 std::pair{Qt::Key_V, Qt::ControlModifier}}) {
            QGuiApplication::clipboard()->setText(QStringLiteral("123"));
            QKeyEvent pegar(QEvent::KeyPress, tecla, modificador);
            QCoreApplication::sendEvent(caja, &pegar);
            EXPECT_EQ(caja->text(), antes);
            EXPECT_EQ(QGuiApplication::clipboard()->text(), QString());
        }
        QGuiApplication::clipboard()->setText(QStringLiteral("123"));
        QMouseEvent derecho(QEvent::MouseButtonPress, QPointF(2, 2), QPointF(2, 2), Qt::RightButton,
                            Qt::RightButton, Qt::NoModifier);
        QCoreApplication::sendEvent(caja, &derecho);
        EXPECT_EQ(QGuiApplication::clipboard()->text().isEmpty(), caja != form->mkePeriodo);
        EXPECT_EQ(caja->contextMenuPolicy(), Qt::NoContextMenu);
        EXPECT_FALSE(caja->acceptDrops());
    }
}

} // namespace
