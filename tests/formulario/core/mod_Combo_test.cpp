#include "formulario/core/ModGen00.h"
#include "formulario/core/mod_Combo.h"
#include "platform/database.h"
#include "tests/formulario/core/HostSinFormulario.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QWidget>

using namespace platform::mb;

namespace {

class Consultas : public HostSinFormulario {
protected:
    void AgregaParam(const QString& sNumero, const QString& sArgumento, const QString& sFuncion)
    {
        db().execute(QStringLiteral("INSERT INTO Param (Numero, Argumento, Funcion, Correl_Param) VALUES (?, ?, ?, '000')"),
                     {sNumero, sArgumento, sFuncion});
    }
    void SiembraUIT()
    {
        const QList<QPair<QString, QString>> uits = {
            {"20060101", "00003400.00"}, {"20100101", "00003600.00"}, {"20110101", "00003600.00"},
            {"20120101", "00003650.00"}, {"20130101", "00003700.00"}, {"20140101", "00003800.00"},
            {"20160101", "00003950.00"}, {"20150101", "00003850.00"},
        };
        for (const auto& [sInicio, sMonto] : uits)
            AgregaParam(QStringLiteral("404"), sInicio, sMonto);
    }
    static QStringList Lineas(const QComboBox& oCombo)
    {
        QStringList lineas;
        for (int i = 0; i < oCombo.count(); ++i)
            lineas.append(oCombo.itemText(i));
        return lineas;
    }
};

} // namespace

// --- Param -------------------------------------------------------------------------

TEST_F(Consultas, FuncionParamCutsAsStoredLengthBeforeStart)
{
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("727"), QStringLiteral("2"), 10, 1), QStringLiteral("ESSALUD   "));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("727"), QStringLiteral("2"), 5, 23), QStringLiteral("EGURO"));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("871"), QStringLiteral("080201"), 30, 1),
              QStringLiteral("REPROGRAMACIÓN - TESORO"));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("727"), QStringLiteral("9"), 10, 1), QString());
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("871"), QStringLiteral("0802"), 30, 1), QString());
}

TEST_F(Consultas, FuncionParamTrimsOnRequest)
{
    AgregaParam(QStringLiteral("990"), QStringLiteral("A"), QStringLiteral("  Uno   Dos  "));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("990"), QStringLiteral("A"), 13, 1), QStringLiteral("  Uno   Dos  "));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("990"), QStringLiteral("A"), 13, 1, CorteFuncion::Recortado),
              QStringLiteral("Uno   Dos"));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("727"), QStringLiteral("2"), 10, 1, CorteFuncion::Recortado),
              QStringLiteral("ESSALUD"));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("990"), QStringLiteral("B"), 13, 1, CorteFuncion::Recortado), QString());
}

TEST_F(Consultas, FuncionParamOfList726MatchesTheFirstThreeCharactersOfTheKey)
{
    AgregaParam(QStringLiteral("726"), QStringLiteral("0830100"), QStringLiteral("SEGUNDO"));
    AgregaParam(QStringLiteral("726"), QStringLiteral("0820100"), QStringLiteral("PRIMERO"));
    AgregaParam(QStringLiteral("726"), QStringLiteral("0821"), QStringLiteral("OTRO"));
    AgregaParam(QStringLiteral("726"), QStringLiteral("08"), QStringLiteral("CORTO"));
    AgregaParam(QStringLiteral("990"), QStringLiteral("0820100"), QStringLiteral("EXACTO"));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("726"), QStringLiteral("082"), 7, 1), QStringLiteral("PRIMERO"));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("726"), QStringLiteral("083"), 7, 1), QStringLiteral("SEGUNDO"));
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("726"), QStringLiteral("0820100"), 7, 1), QString());
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("990"), QStringLiteral("082"), 7, 1), QString());
    EXPECT_EQ(ObtieneFuncionParam(QStringLiteral("990"), QStringLiteral("0820100"), 7, 1), QStringLiteral("EXACTO"));
}

TEST_F(Consultas, ComboParamListsMatchingKeysInOrderWithoutClearing)
{
    QComboBox combo;
    combo.addItem(QStringLiteral("previo"));
    CargaComboParam(combo, QStringLiteral("727"), QStringLiteral("*"), 20, 1);
    const QStringList lineas = Lineas(combo);
    ASSERT_EQ(lineas.size(), 6);
    EXPECT_EQ(lineas[0], QStringLiteral("previo"));
    EXPECT_EQ(lineas[1], QStringLiteral("1").leftJustified(17) + QStringLiteral("TESORO").leftJustified(20));
    EXPECT_EQ(lineas[5].left(12).trimmed(), QStringLiteral("8"));
    for (qsizetype i = 1; i < lineas.size(); ++i)
        EXPECT_EQ(lineas[i].left(11).trimmed(), QString(QStringLiteral("12358")[i - 1]));
    EXPECT_EQ(combo.currentIndex(), 0);

    QComboBox dos;
    CargaComboParam(dos, QStringLiteral("727"), QStringLiteral("[25]"), 7, 1);
    EXPECT_EQ(Lineas(dos), (QStringList{QStringLiteral("2").leftJustified(17) + QStringLiteral("ESSALUD"),
                                        QStringLiteral("5").leftJustified(17) + QStringLiteral("FONAVI ")}));
    EXPECT_EQ(dos.currentIndex(), -1); // the user has chosen no entity yet
}

TEST_F(Consultas, ComboParamMarkPositionAndBlankDescriptions)
{
    AgregaParam(QStringLiteral("990"), QStringLiteral("A"), QStringLiteral("0 1 Primero"));
    AgregaParam(QStringLiteral("990"), QStringLiteral("B"), QStringLiteral("0 0 Segundo"));
    AgregaParam(QStringLiteral("990"), QStringLiteral("C"), QStringLiteral("     "));
    AgregaParam(QStringLiteral("990"), QStringLiteral("D"), QStringLiteral("              X"));
    QComboBox marcados;
    CargaComboParam(marcados, QStringLiteral("990"), QStringLiteral("*"), 9, 5, 3);
    EXPECT_EQ(Lineas(marcados), QStringList{QStringLiteral("A").leftJustified(17) + QStringLiteral("Primero")});

    QComboBox todos;
    CargaComboParam(todos, QStringLiteral("990"), QStringLiteral("?"), 20, 1, 0);
    ASSERT_EQ(todos.count(), 4);
    EXPECT_EQ(todos.itemText(2), QStringLiteral("C") + QString(16, u' '));
    EXPECT_EQ(todos.itemText(3), QStringLiteral("D") + QString(16, u' ') + QString(14, u' ') + u'X');
}

// --- CLAVES --------------------------------------------------------------------------

TEST_F(Consultas, TipoUsuarioComesFromClavesOrIsOne)
{
    sSysUser = QStringLiteral("ADMIN");
    EXPECT_EQ(ObtieneTipoUsuario(), QStringLiteral("0"));
    sSysUser = QStringLiteral("CONTADOR1");
    EXPECT_EQ(ObtieneTipoUsuario(), QStringLiteral("1"));
    sSysUser = QStringLiteral("NADIE");
    EXPECT_EQ(ObtieneTipoUsuario(), QStringLiteral("1"));
    db().execute(QStringLiteral("UPDATE CLAVES SET Tipo = '0' WHERE Usuario = 'CONTADOR2'"));
    sSysUser = QStringLiteral("CONTADOR2");
    EXPECT_EQ(ObtieneTipoUsuario(), QStringLiteral("0"));
}

// --- UIT -----------------------------------------------------------------------------

TEST_F(Consultas, UitOfThePeriodFallsInTheRangeOfItsStartMonth)
{
    SiembraUIT();
    sPeriodo = QStringLiteral("201512");
    EXPECT_EQ(ObtieneUIT(), Moneda::DesdeEntero(3850));
    sPeriodo = QStringLiteral("201601");
    EXPECT_EQ(ObtieneUIT(), Moneda::DesdeEntero(3950));
    sPeriodo = QStringLiteral(" 203012 ");
    EXPECT_EQ(ObtieneUIT(), Moneda::DesdeEntero(3950));
    sPeriodo = QStringLiteral("200601");
    EXPECT_EQ(ObtieneUIT(), Moneda::DesdeEntero(3400));
    sPeriodo = QStringLiteral("200912");
    EXPECT_EQ(ObtieneUIT(), Moneda::DesdeEntero(3400));
    sPeriodo = QStringLiteral("200512");
    EXPECT_EQ(ObtieneUIT(), Moneda());
}

TEST_F(Consultas, UitWithoutRowsIsZero)
{
    sPeriodo = QStringLiteral("201601");
    EXPECT_EQ(ObtieneUIT(), Moneda());
}

TEST_F(Consultas, UitTakesEveryRowBeyondThirty)
{
    for (int nAnio = 1990; nAnio <= 2024; ++nAnio)
        AgregaParam(QStringLiteral("404"), QStringLiteral("%1%2").arg(nAnio).arg(nAnio % 2 ? "0701" : "0101"),
                    QStringLiteral("%1.50").arg(nAnio, 8, 10, QChar(u'0')));
    sPeriodo = QStringLiteral("202406");
    EXPECT_EQ(ObtieneUIT(), Moneda::DesdeUnidades(20245000));
    sPeriodo = QStringLiteral("202312");
    EXPECT_EQ(ObtieneUIT(), Moneda::DesdeUnidades(20235000));
    sPeriodo = QStringLiteral("202306");
    EXPECT_EQ(ObtieneUIT(), Moneda::DesdeUnidades(20225000));
}

// --- Declarants -------------------------------------------------------------------

TEST_F(Consultas, AdministratorSeesEveryDeclarantLaidOutIn20And60)
{
    sSysUser = QStringLiteral("ADMIN");
    QComboBox combo;
    combo.addItem(QStringLiteral("previo"));
    EXPECT_TRUE(CargaNumeroDocumento(combo, 6, QStringLiteral("20456712381"), 1));
    const QStringList lineas = Lineas(combo);
    ASSERT_EQ(lineas.size(), 5);
    EXPECT_EQ(lineas[0], QStringLiteral("10412345679").leftJustified(20) + QStringLiteral("NÚÑEZ CÁRDENAS JOSÉ MARÍA").leftJustified(60));
    EXPECT_EQ(lineas[2].left(11), QStringLiteral("20456712381"));
    EXPECT_EQ(lineas[4], QStringLiteral("20600112237").leftJustified(20)
                             + QStringLiteral("CORPORACIÓN INDUSTRIAL Y COMERCIAL DE LOS ANDES DEL PERÚ SOCIEDAD ANÓNIMA CERRADA").left(60));
    for (const QString& sLinea : lineas)
        EXPECT_EQ(sLinea.size(), 80);
    EXPECT_EQ(combo.currentIndex(), 2);
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(Consultas, OtherUsersSeeTheirOwnDeclarants)
{
    sSysUser = QStringLiteral("CONTADOR1");
    QComboBox combo;
    EXPECT_TRUE(CargaNumeroDocumento(combo, 6, QStringLiteral("20456712381"), 0));
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.itemText(0).left(11), QStringLiteral("20100070970"));
    EXPECT_EQ(combo.itemText(1).left(11), QStringLiteral("20456712381"));
    EXPECT_EQ(combo.currentIndex(), -1); // no declarant chosen for the user

    EXPECT_TRUE(CargaNumeroDocumento(combo, 6, QStringLiteral("2045671238"), 1));
    EXPECT_EQ(combo.currentIndex(), -1); // the number must match whole
}

TEST_F(Consultas, NoDeclarantsEmptiesTheComboAndAnswersFalse)
{
    sSysUser = QStringLiteral("CONTADOR1");
    QComboBox combo;
    combo.addItem(QStringLiteral("previo"));
    script.answer(Ok);
    EXPECT_FALSE(CargaNumeroDocumento(combo, 1, QString(), 0));
    EXPECT_EQ(combo.count(), 0);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.lastText(), QStringLiteral("No existen declarantes registrados. Para registrar un declarante salga "
                                                "de este módulo y en el menú principal elija la opción: "
                                                "Registro/Declarantes."));
    EXPECT_EQ(script.shown().last().style, Exclamation | OkOnly);
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Régimen de Reprogramación de Deudas "));
}

TEST_F(Consultas, DeclarantErrorGoesToTheCentralHandler)
{
    db().execute(QStringLiteral("DROP TABLE CONT"));
    QComboBox combo;
    script.answer(Ok);
    EXPECT_THROW(CargaNumeroDocumento(combo, 6, QString(), 0), platform::ProgramEnded);
    ASSERT_FALSE(script.shown().isEmpty());
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Error crítico: 3078 (Rutina: CargaNumeroDocumento) "));
}

// --- Drop-down width ------------------------------------------------------------------

TEST(AnchoCombo, DropDownIsNMinusTwoAverageCharacters)
{
    QWidget form;
    QFont fuente = form.font();
    fuente.setPointSize(14);
    form.setFont(fuente);
    QComboBox combo;
    const int nAncho = AnchoPromedioCaracter(form);
    EXPECT_EQ(nAncho, QFontMetrics(fuente).horizontalAdvance(
                          QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52);
    EXPECT_GT(nAncho, 0);
    AjustaAnchoCombo(form, combo, 50);
    EXPECT_EQ(combo.view()->minimumWidth(), 48 * nAncho);
    AjustaAnchoCombo(form, combo, 2);
    EXPECT_EQ(combo.view()->minimumWidth(), 0);
}
