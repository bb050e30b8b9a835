#include "formulario/core/ModGen00.h"
#include "formulario/core/modGen02.h"
#include "platform/dialogs.h"
#include "platform/utility.h"

#include <QApplication>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

using namespace platform::mb;

namespace {

// Message boxes are scripted; the utility object is in place as at start-up.
class Ayudantes : public ::testing::Test {
protected:
    void SetUp() override
    {
        oUtil = std::make_unique<platform::Utility>();
        script.onUnexpected = [](const platform::ShownMessage& box) {
            ADD_FAILURE() << "Unexpected box " << box.text.toStdString();
        };
    }
    void TearDown() override
    {
        oUtil.reset();
        sMensaje.clear();
        sTim.clear();
        FijaLectorFechaPersonalizado(nullptr);
    }

    static QString Fecha(const QDate& fecha) { return fecha.toString(QStringLiteral("dd/MM/yyyy")); }

    platform::DialogScript script;
};

} // namespace

// --- Padding -----------------------------------------------------------------

TEST(Relleno, IzquierdaTrimsAndPadsWithTheFill)
{
    EXPECT_EQ(RellenaIzquierda(QStringLiteral("  AB  "), 4, QStringLiteral(" ")), QStringLiteral("AB  "));
    EXPECT_EQ(RellenaIzquierda(QStringLiteral("  AB  "), 1, QStringLiteral(" ")), QStringLiteral("AB"));
    EXPECT_EQ(RellenaIzquierda(QStringLiteral("7"), 3, QStringLiteral("0x")), QStringLiteral("700"));
    EXPECT_EQ(RellenaIzquierda(QStringLiteral("ABC"), 3, QStringLiteral("*")), QStringLiteral("ABC"));
}

TEST(Relleno, DerechaRightAlignsWithAtMost200Blanks)
{
    EXPECT_EQ(RellenaDerecha(QStringLiteral("ABC"), 5), QStringLiteral("  ABC"));
    EXPECT_EQ(RellenaDerecha(QStringLiteral("ABC"), 2), QStringLiteral("ABC"));
    EXPECT_EQ(RellenaDerecha(QStringLiteral(" A "), 3), QStringLiteral(" A "));
    EXPECT_EQ(RellenaDerecha(QStringLiteral("A"), 300), QString(200, u' ') + u'A');
}

// --- Amounts -----------------------------------------------------------------

TEST(Montos, QuitaFormatoRemovesSeparatorsFromTheVariableToo)
{
    QString sMonto = QStringLiteral("1,234,567.89");
    EXPECT_EQ(QuitaFormatoMonto(sMonto), QStringLiteral("1234567.89"));
    EXPECT_EQ(sMonto, QStringLiteral("1234567.89"));

    for (const char* texto : {",", "", " ", "0", ".", " 0 ", ",,."})
        EXPECT_EQ(QuitaFormatoMonto(QString::fromLatin1(texto)), QStringLiteral("0.00")) << texto;
    QString sSoloComa = QStringLiteral(",");
    QuitaFormatoMonto(sSoloComa);
    EXPECT_EQ(sSoloComa, QString());
    EXPECT_EQ(QuitaFormatoMonto(QStringLiteral("0.0")), QStringLiteral("0.0"));
}

TEST(Montos, CeroSiNuloGivesZeroForNullOrBlank)
{
    EXPECT_EQ(CeroSiNulo(QVariant()), Moneda());
    EXPECT_EQ(CeroSiNulo(QStringLiteral("   ")), Moneda());
    EXPECT_EQ(CeroSiNulo(QStringLiteral(" 1,234.50 ")), Moneda::DesdeUnidades(12345000));
    EXPECT_EQ(CeroSiNulo(QVariant(15)), Moneda::DesdeEntero(15));
}

// The run-time error a text raises, for the caller's handler; 0 when none.
template <class Llamada>
int ErrorDeEjecucion(Llamada&& llamada)
{
    try {
        llamada();
    } catch (const platform::DbError& err) {
        return err.number();
    }
    return 0;
}

TEST(Montos, CeroSiNuloRaisesTheTypeMismatchForAnUnreadableAmount)
{
    for (const char* sTexto : {"abc", "12x", "1.2.3"}) {
        SCOPED_TRACE(sTexto);
        EXPECT_EQ(ErrorDeEjecucion([&] { CeroSiNulo(QString::fromLatin1(sTexto)); }), 13);
    }
}

TEST_F(Ayudantes, ValidaTeclaMontoPassesWithinTheLimits)
{
    QString sMonto = QStringLiteral("123456789012.12");
    EXPECT_TRUE(ValidaTeclaMonto(sMonto, 12, 2));
    EXPECT_TRUE(ValidaTeclaMonto(QStringLiteral("123456789012"), 12, 2));
    EXPECT_TRUE(ValidaTeclaMonto(QStringLiteral("1.1"), 12, 0));
    QString sVacio;
    EXPECT_TRUE(ValidaTeclaMonto(sVacio, 12, 2));
    EXPECT_EQ(sVacio, QStringLiteral("0.00"));
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(Ayudantes, ValidaTeclaMontoWritesTheDefaultOfTwoDecimalsBack)
{
    QString sMonto = QStringLiteral("1.25");
    int nDecimales = 0;
    EXPECT_TRUE(ValidaTeclaMonto(sMonto, 12, nDecimales));
    EXPECT_EQ(nDecimales, 2);
    int nTres = 3;
    EXPECT_TRUE(ValidaTeclaMonto(sMonto, 12, nTres));
    EXPECT_EQ(nTres, 3);
}

TEST_F(Ayudantes, ValidaTeclaMontoShowsTheLimitsWithTheCriticalIcon)
{
    script.answer(Ok);
    script.answer(Ok);
    EXPECT_FALSE(ValidaTeclaMonto(QStringLiteral("1234567890123"), 12, 2));
    EXPECT_FALSE(ValidaTeclaMonto(QStringLiteral("1.123"), 12, 0));
    ASSERT_EQ(script.shown().size(), 2);
    for (const platform::ShownMessage& box : script.shown()) {
        EXPECT_EQ(box.text, QStringLiteral("Registre como máximo 12 enteros y 2 decimales"));
        EXPECT_EQ(box.title, QStringLiteral("Validación"));
        EXPECT_EQ(box.style, Critical | OkOnly);
    }
}

TEST_F(Ayudantes, ValidaTeclaMontoShowsTheOnePointMessageWithoutIcon)
{
    script.answer(Ok);
    EXPECT_FALSE(ValidaTeclaMonto(QStringLiteral("1.2.3"), 10, 2, false, QStringLiteral("Deuda no notificada")));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.lastText(), QStringLiteral("No registre mas de un punto decimal"));
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Deuda no notificada"));
    EXPECT_EQ(script.shown().last().style, OkOnly);
}

TEST_F(Ayudantes, ValidaTeclaMontoSilentLeavesTheMessage)
{
    EXPECT_FALSE(ValidaTeclaMonto(QStringLiteral("12345678901"), 10, 2, true));
    EXPECT_EQ(sMensaje, QStringLiteral("Registre como máximo 10 enteros y 2 decimales"));
    EXPECT_TRUE(script.shown().isEmpty());
}

// --- Dates -------------------------------------------------------------------

TEST_F(Ayudantes, ValidaFechaEmptyMaskAsksForTheDate)
{
    script.answer(Ok);
    EXPECT_FALSE(ValidaFecha(QStringLiteral("PAG"), QStringLiteral("fecha de pago"), QStringLiteral("__/__/____"),
                             QStringLiteral("Sustento"), false));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.lastText(), QStringLiteral("Debe registrar la fecha de pago"));
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Sustento"));
    EXPECT_EQ(script.shown().last().style, Critical | OkOnly);

    EXPECT_FALSE(ValidaFecha(QStringLiteral("PAG"), QStringLiteral("fecha de pago"), QStringLiteral("__/__/____"),
                             QStringLiteral("Sustento"), true));
    EXPECT_EQ(sMensaje, QStringLiteral("Debe registrar la fecha de pago"));
    EXPECT_EQ(script.shown().size(), 1);
}

TEST_F(Ayudantes, ValidaFechaRefusesImpossibleDatesAndTheLimits)
{
    for (const char* texto : {"31/02/2020", "31/12/1849", "02/01/2500", "ab/cd/efgh"}) {
        EXPECT_FALSE(ValidaFecha(QStringLiteral("PAG"), QStringLiteral("fecha"), QString::fromLatin1(texto),
                                 QString(), true))
            << texto;
        EXPECT_EQ(sMensaje, QStringLiteral("La fecha no es válida")) << texto;
    }
}

TEST_F(Ayudantes, ValidaFechaPaymentDateMustNotBeAfterToday)
{
    const QDate hoy = QDate::currentDate();
    EXPECT_TRUE(ValidaFecha(QStringLiteral("PAG"), QStringLiteral("fecha de pago"), Fecha(hoy), QString(), true));
    EXPECT_TRUE(ValidaFecha(QStringLiteral("PAG"), QStringLiteral("fecha de pago"), QStringLiteral("01/01/1850"),
                            QString(), true));
    EXPECT_FALSE(ValidaFecha(QStringLiteral("PAG"), QStringLiteral("fecha de pago"), Fecha(hoy.addDays(1)), QString(),
                             true));
    EXPECT_EQ(sMensaje, QStringLiteral("La fecha de pago no debe ser mayor a la fecha del sistema "));
}

TEST_F(Ayudantes, ValidaFechaOtherKindsMustNotBeBeforeToday)
{
    const QDate hoy = QDate::currentDate();
    EXPECT_TRUE(ValidaFecha(QStringLiteral("VEN"), QStringLiteral("fecha"), Fecha(hoy), QString(), true));
    EXPECT_TRUE(ValidaFecha(QStringLiteral("VEN"), QStringLiteral("fecha"), QStringLiteral("01/01/2500"), QString(), true));
    EXPECT_FALSE(ValidaFecha(QStringLiteral("VEN"), QStringLiteral("fecha"), Fecha(hoy.addDays(-1)), QString(), true));
    EXPECT_EQ(sMensaje, QStringLiteral("La fecha no debe ser menor a la fecha del sistema "));
}

TEST_F(Ayudantes, ValidaFechaUpdateDateMustBeTheStatementDateOfToday)
{
    const QDate hoy = QDate::currentDate();
    FijaLectorFechaPersonalizado([hoy] { return hoy; });
    const QString sEtiqueta = QStringLiteral("Fecha de actualización");
    EXPECT_TRUE(ValidaFecha(QStringLiteral("PRE"), sEtiqueta, Fecha(hoy), QString(), true));

    EXPECT_FALSE(ValidaFecha(QStringLiteral("PRE"), sEtiqueta, Fecha(hoy.addDays(1)), QString(), true));
    EXPECT_EQ(sMensaje, QStringLiteral("La fecha de actualización no corresponde con la fecha del personalizado"));

    EXPECT_FALSE(ValidaFecha(QStringLiteral("PRE"), sEtiqueta, Fecha(hoy.addDays(-1)), QString(), true));
    EXPECT_EQ(sMensaje, QStringLiteral("La Fecha de actualización no debe ser menor a la fecha de pedido de archivo "
                                       "personalizado. Fecha de pedido de archivo personalizado: ")
                  + Fecha(hoy));
    script.answer(Ok);
    EXPECT_FALSE(ValidaFecha(QStringLiteral("PRE"), sEtiqueta, Fecha(hoy.addDays(-1)), QStringLiteral("Formulario"), false));
    EXPECT_EQ(script.lastText(), QStringLiteral("La Fecha de actualización no debe ser menor a la fecha de pedido de "
                                                "archivo personalizado. \nFecha de pedido de archivo personalizado: ")
                                     + Fecha(hoy));
}

TEST_F(Ayudantes, ValidaFechaStatementNotOfTodayFailsEvenOnItsOwnDate)
{
    const QDate ayer = QDate::currentDate().addDays(-1);
    FijaLectorFechaPersonalizado([ayer] { return ayer; });
    EXPECT_FALSE(ValidaFecha(QStringLiteral("PRE"), QStringLiteral("Fecha de actualización"), Fecha(ayer), QString(), true));
    EXPECT_EQ(sMensaje, QStringLiteral("El archivo personalizado no es de hoy día, por favor descargue y procese "
                                       "nuevamente el archivo"));
}

TEST_F(Ayudantes, ValidaFechaWithoutStatementDateFailsAsNotOfToday)
{
    EXPECT_EQ(LeeFechaPersonalizado(), QDate(1899, 12, 30));
    EXPECT_FALSE(ValidaFecha(QStringLiteral("PRE"), QStringLiteral("Fecha de actualización"),
                             Fecha(QDate::currentDate()), QString(), true));
    EXPECT_EQ(sMensaje, QStringLiteral("El archivo personalizado no es de hoy día, por favor descargue y procese "
                                       "nuevamente el archivo"));
    FijaLectorFechaPersonalizado([] { return QDate(); });
    EXPECT_EQ(LeeFechaPersonalizado(), QDate(1899, 12, 30));
}

TEST_F(Ayudantes, MuestraErrorShowsACriticalBox)
{
    script.answer(Ok);
    MuestraError(QStringLiteral("Texto"), QStringLiteral("Título"));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().last().style, Critical | OkOnly);
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Título"));
}

// --- Interest update ---------------------------------------------------------

namespace {

const QDate kDesde(2024, 1, 1);

QString Interes(const char* tim, const char* monto, const char* adicional, int nDias, const char* indicador = "0",
                const char* porcentaje = "0")
{
    sTim = QString::fromLatin1(tim);
    return CalculaInteres(QString::fromLatin1(monto), QString::fromLatin1(adicional), kDesde, kDesde.addDays(nDias),
                          QString::fromLatin1(indicador), QString::fromLatin1(porcentaje));
}

} // namespace

TEST_F(Ayudantes, InteresNoDaysGivesZero)
{
    EXPECT_EQ(Interes("1.2", "1000", "0", 0), QStringLiteral("0.00"));
    EXPECT_EQ(Interes("1.2", "1000", "0", -10), QStringLiteral("0.00"));
}

TEST_F(Ayudantes, InteresReducedRateForReturnsAt80And90Percent)
{
    // R = 0.96, D = 0.00032, F = 0.032.
    EXPECT_EQ(Interes("1.2", "1000", "0", 100, "1", "80"), QStringLiteral("32.00"));
    // R = 1.35, D = 0.00045, F = 0.0045.
    EXPECT_EQ(Interes("1.5", "1000", "", 10, "1", "90"), QStringLiteral("4.50"));
}

TEST_F(Ayudantes, InteresFullRateOtherwise)
{
    // D = 0.0005, F = 0.05.
    EXPECT_EQ(Interes("1.5", "1000", "0", 100, "1", "85"), QStringLiteral("50.00"));
    EXPECT_EQ(Interes("1.5", "1000", "0", 100, "0", "80"), QStringLiteral("50.00"));
    // The percentage is read only for a debt of a return: an empty one elsewhere is no error.
    EXPECT_EQ(Interes("1.5", "1000", "0", 100, "0", ""), QStringLiteral("50.00"));
}

TEST_F(Ayudantes, InteresRaisesTheRunTimeErrorOfWhatCannotBeTaken)
{
    struct Caso {
        const char* caso;
        const char* tim;
        const char* monto;
        const char* adicional;
        int nDias;
        const char* indicador;
        const char* porcentaje;
        int nError;
    };
    const Caso casos[] = {
        {"an amount with letters", "1.5", "12a", "0", 10, "0", "0", 13},
        {"a second amount with letters", "1.5", "1000", "x", 10, "0", "0", 13},
        {"a rate that is no number", "", "1000", "0", 10, "0", "0", 13},
        {"a percentage that is no number", "1.5", "1000", "0", 10, "1", "8O", 13},
        {"an empty percentage of a return", "1.5", "1000", "0", 10, "1", "", 13},
        {"more days than a 16-bit count", "1.5", "1000", "0", 32768, "0", "0", 6},
    };
    for (const Caso& c : casos) {
        SCOPED_TRACE(c.caso);
        EXPECT_EQ(ErrorDeEjecucion([&] { Interes(c.tim, c.monto, c.adicional, c.nDias, c.indicador, c.porcentaje); }),
                  c.nError);
    }
    EXPECT_EQ(Interes("1.5", "1000", "0", 32767), QStringLiteral("16,383.50"));
}

TEST_F(Ayudantes, InteresAddsBothAmountsAndWritesThousands)
{
    // F = 200 x 0.0005 = 0.1.
    EXPECT_EQ(Interes("1.5", "1,200,000", "0", 200), QStringLiteral("120,000.00"));
    EXPECT_EQ(Interes("1.5", "1,000,000", "200,000", 200), QStringLiteral("120,000.00"));
}

TEST_F(Ayudantes, InteresRoundsEachStepHalfAwayFromZero)
{
    // D = 0.5 / 100 / 30 = 0.0001666... -> 0.0001667; F = 50 x 0.0001667 =
    // 0.008335 -> 0.00834 (binary floating point would give 0.00833).
    EXPECT_EQ(Interes("0.5", "1000", "0", 50), QStringLiteral("8.34"));
    // D = 1 / 100 / 30 -> 0.0003333 (down); F = 3 x 0.0003333 = 0.0009999 -> 0.001.
    EXPECT_EQ(Interes("1", "1000", "0", 3), QStringLiteral("1.00"));
    // 0.5 x 0.01 = 0.005 -> 0.01.
    EXPECT_EQ(Interes("1.5", "0.5", "0", 20), QStringLiteral("0.01"));
    EXPECT_EQ(Interes("1.5", "0.49", "0", 20), QStringLiteral("0.00"));
}

TEST_F(Ayudantes, InteresWithoutAmountGivesEmptyText)
{
    EXPECT_EQ(Interes("1.2", "", "0", 100), QString());
    EXPECT_EQ(Interes("", "", "x", 100), QString());
}

// --- Focus -------------------------------------------------------------------

TEST(EnviaTabFoco, TabMovesTheFocusToTheNextControl)
{
    QWidget ventana;
    auto* primero = new QLineEdit(&ventana);
    auto* segundo = new QLineEdit(&ventana);
    auto* disposicion = new QVBoxLayout(&ventana);
    disposicion->addWidget(primero);
    disposicion->addWidget(segundo);
    ventana.show();
    QApplication::setActiveWindow(&ventana);
    primero->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), primero);

    EnviaTab(QStringLiteral("ENTER"));
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), primero);

    EnviaTab(QStringLiteral("TAB"));
    EXPECT_EQ(QApplication::focusWidget(), primero); // queued, as a typed key
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), segundo);
    EXPECT_TRUE(primero->text().isEmpty());
}

TEST(SinBlancos, RemovesOnlyTheBlanksAroundTheText)
{
    EXPECT_EQ(SinBlancos(u"  a b  "), QStringLiteral("a b"));
    EXPECT_EQ(SinBlancos(u"\ta\r"), QStringLiteral("\ta\r"));
    EXPECT_EQ(SinBlancos(u"\u00A0a "), QStringLiteral("\u00A0a"));
    EXPECT_EQ(SinBlancos(u"   "), QString());
}
