#include "formulario/core/Fileproc.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Registros.h"
#include "platform/database.h"
#include "tests/formulario/core/HostSinFormulario.h"

#include <QStandardItemModel>
#include <QTableView>

using namespace platform::mb;

// --- Key filters -----------------------------------------------------------------

TEST(FiltrosTeclas, SoloNumerosKeepsDigitsBackspaceAndEnter)
{
    for (int nTecla : {int('0'), int('5'), int('9'), 8, 13}) {
        int nKeyAscii = nTecla;
        EXPECT_TRUE(SoloNumeros(nKeyAscii)) << nTecla;
        EXPECT_EQ(nKeyAscii, nTecla);
    }
    for (int nTecla : {int('a'), int('-'), int('.'), int(' '), int('/'), int(':'), 9, 27, 0}) {
        int nKeyAscii = nTecla;
        EXPECT_FALSE(SoloNumeros(nKeyAscii)) << nTecla;
        EXPECT_EQ(nKeyAscii, 0);
    }
}

TEST(FiltrosTeclas, SoloAlfanumericosKeepsLettersDigitsAndCodes164And165)
{
    for (int nTecla : {int('A'), int('Z'), int('a'), int('z'), int('0'), int('9'), 8, 13, 164, 165}) {
        int nKeyAscii = nTecla;
        EXPECT_TRUE(SoloAlfanumericos(nKeyAscii)) << nTecla;
        EXPECT_EQ(nKeyAscii, nTecla);
    }
    for (int nTecla : {int(' '), int('-'), int('@'), int('['), int('`'), int('{'), 163, 166, 209, 225, 241}) {
        int nKeyAscii = nTecla;
        EXPECT_FALSE(SoloAlfanumericos(nKeyAscii)) << nTecla;
        EXPECT_EQ(nKeyAscii, 0);
    }
}

// --- Tax codes --------------------------------------------------------------------

TEST(Codigos, FormateaCodigoBothWays)
{
    EXPECT_EQ(FormateaCodigo(QStringLiteral("8021"), true), QStringLiteral("080201"));
    EXPECT_EQ(FormateaCodigo(QStringLiteral(" 8021 "), true), QStringLiteral("080201"));
    EXPECT_EQ(FormateaCodigo(QString(), true), QStringLiteral("00"));
    EXPECT_EQ(FormateaCodigo(QStringLiteral("080201"), false), QStringLiteral("8021"));
    EXPECT_EQ(FormateaCodigo(QStringLiteral("080201 "), false), QStringLiteral("802 "));
}

// --- Grid selection ----------------------------------------------------------------

TEST(Grilla, EmptyGridShowsOnlyTheFirstMessage)
{
    platform::DialogScript script;
    QTableView grilla;
    QStandardItemModel modelo(0, 3);
    grilla.setModel(&modelo);
    script.answer(Ok);
    EXPECT_FALSE(ValidaSeleccionGrilla(grilla, operacionGrilla::Eliminar));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.lastText(), QStringLiteral("No existen registros disponibles para eliminar"));
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Información"));
    EXPECT_EQ(script.shown().last().style, Information | OkOnly);

    QTableView sinModelo;
    script.answer(Ok);
    EXPECT_FALSE(ValidaSeleccionGrilla(sinModelo, operacionGrilla::Actualizar));
    EXPECT_EQ(script.lastText(), QStringLiteral("No existen registros disponibles para actualizar"));
}

TEST(Grilla, CurrentRowMustHaveADocumentType)
{
    platform::DialogScript script;
    QTableView grilla;
    QStandardItemModel modelo(2, 3);
    modelo.setData(modelo.index(0, 1), QStringLiteral("R.U.C."));
    grilla.setModel(&modelo);

    script.answer(Ok);
    EXPECT_FALSE(ValidaSeleccionGrilla(grilla, operacionGrilla::VerEnviadas)); // no current row
    EXPECT_EQ(script.lastText(),
              QStringLiteral("Debe seleccionar algún registro para realizar la operación ver declaraciones enviadas"));

    grilla.setCurrentIndex(modelo.index(1, 0));
    script.answer(Ok);
    EXPECT_FALSE(ValidaSeleccionGrilla(grilla, operacionGrilla::Actualizar));
    EXPECT_EQ(script.lastText(), QStringLiteral("Debe seleccionar algún registro para realizar la operación actualizar"));

    grilla.setCurrentIndex(modelo.index(0, 2));
    EXPECT_TRUE(ValidaSeleccionGrilla(grilla, operacionGrilla::Actualizar));
    EXPECT_EQ(script.shown().size(), 2);
}

// --- Declaration rows ------------------------------------------------------------------

namespace {

class Registros : public HostSinFormulario {
protected:
    void SetUp() override
    {
        HostSinFormulario::SetUp();
        sPeriodo = QStringLiteral("202401");
        nEntidad = 1;
        db().createTable(QStringLiteral("tmp_prueba"),
                         {{QStringLiteral("tip_doc_d"), platform::FieldType::Byte},
                          {QStringLiteral("doc_id_d"), platform::FieldType::Text, 15},
                          {QStringLiteral("periodo"), platform::FieldType::Text, 6},
                          {QStringLiteral("formulario"), platform::FieldType::Text, 4},
                          {QStringLiteral("Semana"), platform::FieldType::Byte}});
    }

    void Agrega(const QString& sTabla, const QString& sRuc, const QString& sPeriodoFila, int nSemana,
                const QString& sCorrel = QString())
    {
        QString sColumnas = QStringLiteral("tip_doc_d, doc_id_d, periodo, formulario, Semana");
        QVariantList valores{6, sRuc, sPeriodoFila, QStringLiteral("0913"), nSemana};
        if (!sCorrel.isEmpty()) {
            sColumnas += QStringLiteral(", Correl");
            valores << sCorrel;
        }
        const QString sMarcas = QStringLiteral("?, ").repeated(valores.size() - 1) + u'?';
        db().execute(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(sTabla, sColumnas, sMarcas), valores);
    }
    int Filas(const QString& sTabla) { return db().scalar(QStringLiteral("SELECT COUNT(*) FROM ") + sTabla).toInt(); }
};

const QString kRuc = QStringLiteral("20100070970");

} // namespace

TEST_F(Registros, EliminaDataTablaWithoutFilterEmptiesTheTable)
{
    Agrega(QStringLiteral("tmp_prueba"), kRuc, QStringLiteral("202401"), 1);
    Agrega(QStringLiteral("tmp_prueba"), QStringLiteral("20456712381"), QStringLiteral("202312"), 2);
    EliminaDataTabla(QStringLiteral("tmp_prueba"), 6, kRuc, 0, QString());
    EXPECT_EQ(Filas(QStringLiteral("tmp_prueba")), 0);
}

TEST_F(Registros, EliminaDataTablaWithFilterDeletesOnlyTheDeclaration)
{
    Agrega(QStringLiteral("CAB"), kRuc, QStringLiteral("202401"), 1);
    Agrega(QStringLiteral("CAB"), kRuc, QStringLiteral("202312"), 1);
    Agrega(QStringLiteral("CAB"), kRuc, QStringLiteral("202401"), 2);
    Agrega(QStringLiteral("CAB"), QStringLiteral("20456712381"), QStringLiteral("202401"), 1);
    EliminaDataTabla(QStringLiteral("CAB"), 6, kRuc, 1, QStringLiteral("001"));
    EXPECT_EQ(Filas(QStringLiteral("CAB")), 3);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM CAB WHERE doc_id_d = ? AND periodo = '202401' AND Semana = 1"),
                          {kRuc})
                  .toInt(),
              0);
}

TEST_F(Registros, EliminaDataTablaOfSentDeclarationKeysTheCorrelative)
{
    bEnviadas = true;
    Agrega(QStringLiteral("HCAB"), kRuc, QStringLiteral("202401"), 1, QStringLiteral("001"));
    Agrega(QStringLiteral("HCAB"), kRuc, QStringLiteral("202401"), 1, QStringLiteral("002"));
    EliminaDataTabla(QStringLiteral("hcab"), 6, kRuc, 1, QStringLiteral("002"));
    EXPECT_EQ(Filas(QStringLiteral("HCAB")), 1);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Correl FROM HCAB")).toString(), QStringLiteral("001"));

    // A work table has no correlative, whatever the case of its name.
    Agrega(QStringLiteral("tmp_prueba"), kRuc, QStringLiteral("202401"), 1);
    EliminaDataTabla(QStringLiteral("tmp_prueba"), 6, kRuc, 1, QStringLiteral("002"));
    EXPECT_EQ(Filas(QStringLiteral("tmp_prueba")), 0);
}

TEST_F(Registros, EliminaDataTablaIgnoresItsErrors)
{
    EliminaDataTabla(QStringLiteral("NO_EXISTE"), 6, kRuc, 1, QString());
    EXPECT_TRUE(script.shown().isEmpty());
    // A document number is a value, never part of the statement.
    Agrega(QStringLiteral("tmp_prueba"), kRuc, QStringLiteral("202401"), 1);
    EliminaDataTabla(QStringLiteral("tmp_prueba"), 6, QStringLiteral("x' OR '1'='1"), 1, QString());
    EXPECT_EQ(Filas(QStringLiteral("tmp_prueba")), 1);
}

TEST_F(Registros, VerificaTablaValorFindsTheRucAndEntityInAnyPeriod)
{
    Agrega(QStringLiteral("CAB"), kRuc, QStringLiteral("201912"), 1);
    EXPECT_TRUE(VerificaTablaValor(kRuc, 0));
    EXPECT_TRUE(script.shown().isEmpty());
    nEntidad = 2;
    EXPECT_FALSE(VerificaTablaValor(kRuc, 1));
    EXPECT_FALSE(VerificaTablaValor(QStringLiteral("20456712381"), 1));
    EXPECT_TRUE(script.shown().isEmpty());

    nEntidad = 1;
    script.answer(Ok);
    EXPECT_TRUE(VerificaTablaValor(kRuc, 1));
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.lastText(), QStringLiteral("Ya existe una declaración para el RUC seleccionado. Elimine la "
                                                "declaración e importe el archivo nuevamente."));
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Información"));
    EXPECT_EQ(script.shown().last().style, Exclamation | OkOnly);
}

TEST_F(Registros, VerificaTablaValorErrorGoesToTheCentralHandler)
{
    db().execute(QStringLiteral("DROP TABLE CAB"));
    script.answer(Ok);
    EXPECT_THROW(VerificaTablaValor(kRuc, 1), platform::ProgramEnded);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_EQ(script.shown().last().title, QStringLiteral("Error crítico: 3078 (Rutina: VerificaTablaValor) "));
    EXPECT_TRUE(QFile::exists(paths().root + QStringLiteral("/errorlog.txt")));
}

// --- A table locked by another connection ----------------------------------------------

namespace {

class Bloqueo : public Registros {
protected:
    void SetUp() override
    {
        Registros::SetUp();
        // Short waits, so that a held lock fails at once.
        platform::OpenOptions opciones;
        opciones.workgroupFile = paths().workgroupFile;
        opciones.busyTimeoutMs = 20;
        oBaseDatos = platform::Database::open(paths().dbFile, opciones);
        otra = platform::Database::open(paths().dbFile, opciones);
        otra->beginTrans();
        otra->execute(QStringLiteral("INSERT INTO CLAVES (Usuario, Nombre, Tipo) VALUES ('OTRO', 'OTRO', '1')"));
    }
    void TearDown() override
    {
        otra.reset();
        Registros::TearDown();
    }

    void InsertaConReintento()
    {
        EjecutaConReintento(QStringLiteral("GrabaDatos"), [] {
            oBaseDatos->execute(QStringLiteral("INSERT INTO CLAVES (Usuario, Nombre, Tipo) VALUES ('NUEVO', 'NUEVO', '1')"));
        });
    }

    std::unique_ptr<platform::Database> otra;
};

} // namespace

TEST_F(Bloqueo, RetrySucceedsOnceTheOtherConnectionLetsGo)
{
    // The user waits, the other writer finishes, and the user chooses Retry.
    int nDialogos = 0;
    script.onUnexpected = [this, &nDialogos](const platform::ShownMessage& box) {
        ++nDialogos;
        EXPECT_EQ(box.title, QStringLiteral("Reintentos de acceso S1000"));
        EXPECT_EQ(box.style, RetryCancel | Exclamation);
        if (nDialogos == 2)
            otra->commitTrans();
    };
    InsertaConReintento();
    EXPECT_EQ(nDialogos, 2); // the first Retry met the lock again
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT COUNT(*) FROM CLAVES WHERE Usuario IN ('NUEVO', 'OTRO')")).toInt(), 2);
}

TEST_F(Bloqueo, CancelEndsTheProgram)
{
    script.answer(Cancel);
    script.answer(Ok);
    EXPECT_THROW(InsertaConReintento(), platform::ProgramEnded);
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_EQ(script.shown()[0].title, QStringLiteral("Reintentos de acceso S1000"));
    EXPECT_EQ(script.shown()[1].title, QStringLiteral("AVISO!"));
    EXPECT_FALSE(QFile::exists(paths().root + QStringLiteral("/errorlog.txt")));
}
