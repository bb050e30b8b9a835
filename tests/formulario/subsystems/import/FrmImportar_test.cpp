#include "formulario/core/Fileproc.h"
#include "formulario/core/ModGen00.h"
#include "formulario/subsystems/import/FileBrowser.h"
#include "formulario/subsystems/import/ArchivoEstado.h"
#include "formulario/subsystems/import/CargaDeudas.h"
#include "formulario/subsystems/import/FrmImportar.h"
#include "formulario/core/ControlValor.h"
#include "platform/database.h"
#include "platform/databasetesting.h"
#include "platform/textfile.h"
#include "tests/support/HostTest.h"
#include "tests/support/ProcesoInterrumpido.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TintaCaja.h"
#include "tools/hostkit/statement.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <csignal>
#include <sys/wait.h>

using namespace platform::mb;
using hostkit::Statement;
using hostkit::StatementDebt;

namespace {

const QString kTitulo = QStringLiteral("Importar información de Estado de Adeudos");
const QString kExito = QStringLiteral("La importación ha terminado satisfactoriamente");
const QString kNoValido = QStringLiteral("El archivo a importar no es válido");
const QString kDescomprimir = QStringLiteral("Ha ocurrido un error al descomprimir. Reintente la operación!!!.");
const QString kProblemasCarga =
    QStringLiteral("Se han encontrado problemas al momento de cargar la información a las tablas. "
                   "Reintente de nuevo la operación");
const QString kTecnico =
    QStringLiteral("Se han presentado problemas técnicos al momento de importar su información. Favor de "
                   "comunicarse con ALCOR informando lo sucedido e indicando el número de error técnico.");
const QString kNoEsDeHoy = QStringLiteral(
    "El archivo personalizado no es de hoy día, por favor descargue y procese nuevamente el archivo");
const QString kYaExiste = QStringLiteral(
    "Ya existe una declaración para el RUC seleccionado. Elimine la declaración e importe el archivo nuevamente.");

const QStringList kTablas = {QStringLiteral("F0913DEUDAS"), QStringLiteral("CAB"), QStringLiteral("DET"),
                             QStringLiteral("F0913GARANTIA")};

class ImportTest : public HostTest {
public:
    void SetUp() override
    {
        HostTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_TRUE(db().tableExists(QStringLiteral("F0913DEUDAS"))) << "the form's tables are not installed";
        descargas = paths().root + QStringLiteral("/descargas/");
        QDir().mkpath(descargas);
        FijaCarpetaPrograma(paths().root);
        ruc = hostkit::sampleDeclarants().first().docId;
        form = std::make_unique<FrmImportar>();
        form->Form_Load();
    }

    void TearDown() override
    {
        form.reset();
        FijaCarpetaPrograma(QString());
        HostTest::TearDown();
    }

    // Chooses the declarant and the entity, shows the download folder and
    // picks the first archive listed.
    void elige(const QString& sRuc, int nEntidadElegida)
    {
        form->CmbRuc->setCurrentIndex(-1);
        for (int i = 0; i < form->CmbRuc->count(); ++i) {
            if (form->CmbRuc->itemText(i).startsWith(sRuc))
                form->CmbRuc->setCurrentIndex(i);
        }
        form->CmbEntidad->setCurrentIndex(
            form->CmbEntidad->findText(QString::number(nEntidadElegida), Qt::MatchStartsWith));
        form->CmbRuc_Click();
        form->DirList->setPath(descargas);
        form->DirList_Change();
        form->flListaFiles->setCurrentRow(0);
    }

    QString escribe(const Statement& estado) { return hostkit::writeStatementArchive(descargas, estado); }

    // An archive of this declarant and entity holding these entries.
    void escribeZip(const QList<QPair<QString, QByteArray>>& entradas, int nEntidadElegida = 1)
    {
        hostkit::writeZip(descargas + hostkit::statementArchiveName(ruc, nEntidadElegida), entradas);
    }

    // An archive holding one statement file of this content, named by its digest.
    void escribeContenido(const QByteArray& contenido)
    {
        escribeZip({{hostkit::statementFileName(contenido), contenido}});
    }

    Statement estado(int nDeudas, int nEntidadElegida = 1)
    {
        return hostkit::sampleStatement(ruc, nEntidadElegida, nDeudas);
    }

    // Runs the import expecting these boxes, in order, each answered OK.
    // The next box is answered once another program has written to the
    // database: no box waits on the user while the import holds the write lock.
    void respondeSinBloqueo(int nBoton = Ok, const std::function<void()>& antes = {})
    {
        script.answer([this, nBoton, antes](const platform::ShownMessage& m) {
            if (antes)
                antes();
            platform::OpenOptions opciones;
            opciones.busyTimeoutMs = 0;
            EXPECT_NO_THROW({
                const auto otro = platform::Database::open(paths().dbFile, opciones);
                otro->beginTrans();
                otro->commitTrans();
            }) << "the write lock is held while \"" << m.text.toStdString() << "\" waits";
            return nBoton;
        });
    }

    void importa(const QStringList& mensajes)
    {
        for (int i = 0; i < mensajes.size(); ++i)
            respondeSinBloqueo();
        script.clear();
        form->CmdGrabar_Click();
        QStringList vistos;
        for (const platform::ShownMessage& m : script.shown())
            vistos.append(m.text);
        EXPECT_EQ(vistos, mensajes);
    }

    // Every row of the tables the import writes.
    QStringList volcado()
    {
        QStringList filas;
        for (const QString& tabla : kTablas) {
            for (const QString& fila : rows(QStringLiteral("SELECT * FROM %1").arg(tabla), {}, QStringLiteral("<null>")))
                filas.append(tabla + u'|' + fila);
        }
        filas.sort();
        return filas;
    }

    std::unique_ptr<platform::Recordset> fila(const QString& sql, const QVariantList& params = {})
    {
        auto rs = db().openRecordset(sql, params, platform::RecordsetType::Dynaset);
        EXPECT_FALSE(rs->eof()) << sql.toStdString();
        return rs;
    }

    // The stored control value is the one the row's columns give.
    void controlCorrecto(platform::Recordset& rs, const char* columna, int nParticion)
    {
        const QString guardado = rs.field(QString::fromLatin1(columna)).text();
        rs.edit();
        EXPECT_EQ(guardado, FormateaCampo(rs, nParticion));
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d{6}$")).match(guardado).hasMatch());
        rs.cancelUpdate();
    }

    // Another program runs `sql` once the import has begun: while it lets
    // pending events run, after it has looked for a declaration and before
    // the statement is loaded.
    void mientrasImporta(const QString& sql)
    {
        QMetaObject::invokeMethod(
            qApp, [this, sql] { platform::Database::open(paths().dbFile)->execute(sql); }, Qt::QueuedConnection);
    }

    QString carpetaTemporal() const { return sSysPath + QStringLiteral("TMP/REG") + ruc + QStringLiteral("/"); }

    // Runs the import in a child process that is killed when the update hook has
    // seen `nFilas` rows added to `sTabla`; returns the child's wait status.
    int importaYMuere(const char* sTabla, int nFilas)
    {
        return EjecutaYMuere(paths().dbFile, sTabla, nFilas, [this] {
            for (int i = 0; i < 10; ++i)
                script.answer(Ok);
            form->CmdGrabar_Click();
        });
    }

    QString descargas;
    QString ruc;
    std::unique_ptr<FrmImportar> form;
};

// ------------------------------------------------------------ a good import

TEST_F(ImportTest, StoresEveryRecordTheHeaderTheGuaranteeBoxAndTheGuaranteeRow)
{
    Statement e = estado(2);
    e.bcolibrad = QStringLiteral("37");
    e.buenContrib = QStringLiteral("1X");
    e.indGarantia = QStringLiteral("101");
    e.indPersona = QStringLiteral("2");
    e.mtoDeuda = QStringLiteral("15000.50");
    e.mtoDeudaGarantia = QStringLiteral("9000.00");
    e.debts[0].codFor = QStringLiteral("123");
    e.debts[0].mtoInt = QStringLiteral("11.11");
    e.debts[0].mtoIntCap = QStringLiteral("22.22");
    e.debts[0].numCuo = QStringLiteral("3");
    e.debts[0].indValor.clear();
    e.debts[0].codForDj.clear();
    e.debts[1].codFor = QStringLiteral("1234");
    e.debts[2].mtoIntCap = QStringLiteral("33.33"); // the summary
    e.debts[2].mtoInt = QStringLiteral("44.44");
    escribe(e);
    elige(ruc, 1);
    nModo = 1;

    importa({kExito});

    const QDate hoy = QDate::currentDate();
    const QString periodo = hoy.toString(QStringLiteral("yyyyMM"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS")).toInt(), 3);

    auto deuda = fila(QStringLiteral("SELECT * FROM F0913DEUDAS WHERE Num_doc = ?"), {e.debts[0].numDoc});
    const auto texto = [](platform::Recordset& rs, const char* columna) {
        return rs.field(QString::fromLatin1(columna)).isNull() ? QStringLiteral("<null>")
                                                               : rs.field(QString::fromLatin1(columna)).text();
    };
    EXPECT_EQ(deuda->value(QStringLiteral("tip_doc_d")).toInt(), 6);
    EXPECT_EQ(texto(*deuda, "doc_id_d"), ruc);
    EXPECT_EQ(texto(*deuda, "periodo"), periodo);
    EXPECT_EQ(texto(*deuda, "formulario"), QStringLiteral("0913"));
    EXPECT_EQ(deuda->value(QStringLiteral("semana")).toInt(), 1);
    EXPECT_EQ(texto(*deuda, "Ind_tip_deu"), QStringLiteral("01"));
    EXPECT_EQ(texto(*deuda, "per_doc"), e.debts[0].perDoc);
    EXPECT_EQ(texto(*deuda, "cod_tri"), e.debts[0].codTri);
    EXPECT_EQ(texto(*deuda, "Cod_for"), QStringLiteral("0123"));
    EXPECT_EQ(texto(*deuda, "Cod_tip_doc"), e.debts[0].codTipDoc);
    EXPECT_EQ(texto(*deuda, "Cod_tri_aso"), e.debts[0].codTriAso);
    EXPECT_EQ(texto(*deuda, "Ind_ver_deu"), QStringLiteral("00"));
    const QDateTime emitido = deuda->value(QStringLiteral("Fec_des_deu")).toDateTime();
    EXPECT_EQ(emitido.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")),
              e.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")));
    EXPECT_EQ(deuda->value(QStringLiteral("Num_cuo")).toInt(), 3);
    EXPECT_EQ(deuda->value(QStringLiteral("Fec_ult_cap")).toDate(), QDate(2015, 7, 31));
    EXPECT_EQ(texto(*deuda, "Num_pro"), e.debts[0].numPro);
    EXPECT_EQ(texto(*deuda, "mto_tributo_s"), e.debts[0].mtoTributo);
    EXPECT_EQ(texto(*deuda, "mto_int_cap_s"), QStringLiteral("22.22"));
    EXPECT_EQ(texto(*deuda, "mto_int_s"), QStringLiteral("11.11"));
    EXPECT_EQ(texto(*deuda, "mto_act_s"), e.debts[0].mtoAct);
    for (const char* vacia : {"ind_acog", "ind_conf", "mto_tributo_c", "mto_int_cap_c", "mto_int_c", "mto_act_c",
                              "Num_ord_dj"})
        EXPECT_EQ(texto(*deuda, vacia), QStringLiteral("<null>")) << vacia;
    EXPECT_EQ(texto(*deuda, "Cod_for_dj"), QString()); // an empty field stays an empty text
    EXPECT_EQ(deuda->value(QStringLiteral("Ind_valor")).toInt(), 0);
    EXPECT_EQ(deuda->value(QStringLiteral("Ind_deuda_dj")).toInt(), 0);
    EXPECT_EQ(texto(*deuda, "Ind_impugnado"), QStringLiteral("00"));
    controlCorrecto(*deuda, "cnumero", 7);

    auto otra = fila(QStringLiteral("SELECT * FROM F0913DEUDAS WHERE Num_doc = ?"), {e.debts[1].numDoc});
    EXPECT_EQ(texto(*otra, "Cod_for"), QStringLiteral("1234"));
    EXPECT_EQ(texto(*otra, "Ind_tip_deu"), QStringLiteral("04"));
    EXPECT_EQ(otra->value(QStringLiteral("Ind_valor")).toInt(), 1);
    controlCorrecto(*otra, "cnumero", 7);

    auto resumen = fila(QStringLiteral("SELECT * FROM F0913DEUDAS WHERE Ind_tip_deu = '06'"));
    EXPECT_EQ(texto(*resumen, "per_doc"), QStringLiteral("200508"));
    for (const char* cero : {"cod_tri", "Num_doc", "Cod_for", "Cod_tip_doc", "Cod_tri_aso", "Ind_ver_deu"})
        EXPECT_EQ(texto(*resumen, cero), QStringLiteral("0")) << cero;
    EXPECT_EQ(resumen->value(QStringLiteral("Num_cuo")).toInt(), 0);
    EXPECT_EQ(resumen->value(QStringLiteral("Fec_ult_cap")).toDate(), QDate(1901, 1, 1));
    EXPECT_EQ(texto(*resumen, "mto_int_cap_s"), QStringLiteral("33.33"));
    EXPECT_EQ(texto(*resumen, "mto_int_s"), QStringLiteral("44.44"));
    for (const char* aceptado : {"mto_tributo_c", "mto_int_cap_c", "mto_int_c", "mto_act_c"})
        EXPECT_EQ(texto(*resumen, aceptado), QStringLiteral("0.00")) << aceptado;
    for (const char* vacia : {"Ind_deuda_dj", "Cod_for_dj", "ind_acog", "ind_conf", "Num_ord_dj"})
        EXPECT_EQ(texto(*resumen, vacia), QStringLiteral("<null>")) << vacia;
    controlCorrecto(*resumen, "cnumero", 7);

    auto cab = fila(QStringLiteral("SELECT * FROM CAB"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM CAB")).toInt(), 1);
    EXPECT_EQ(cab->value(QStringLiteral("tip_doc_d")).toInt(), 6);
    EXPECT_EQ(texto(*cab, "doc_id_d"), ruc);
    EXPECT_EQ(texto(*cab, "periodo"), periodo);
    EXPECT_EQ(texto(*cab, "Formulario"), QStringLiteral("0913"));
    EXPECT_EQ(cab->value(QStringLiteral("Semana")).toInt(), 1);
    EXPECT_EQ(cab->value(QStringLiteral("bcolibrad")).toInt(), 37);
    EXPECT_EQ(texto(*cab, "nrocheque"), hoy.toString(QStringLiteral("dd/MM/yyyy")));
    EXPECT_EQ(texto(*cab, "efectivo"), QString());
    EXPECT_EQ(texto(*cab, "cheque"), QStringLiteral("1"));
    EXPECT_EQ(cab->value(QStringLiteral("Rectifica")).toInt(), 0);
    EXPECT_EQ(cab->value(QStringLiteral("estado")).toInt(), 9);
    controlCorrecto(*cab, "cNumero", 5);

    auto det = fila(QStringLiteral("SELECT * FROM DET"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM DET")).toInt(), 1);
    EXPECT_EQ(texto(*det, "doc_id_d"), ruc);
    EXPECT_EQ(texto(*det, "periodo"), periodo);
    EXPECT_EQ(texto(*det, "Casilla"), QStringLiteral("506"));
    EXPECT_EQ(texto(*det, "i_valor"), QStringLiteral("101"));
    EXPECT_EQ(texto(*det, "idcasilla"), QStringLiteral("01"));
    EXPECT_EQ(texto(*det, "estado"), QStringLiteral("9"));
    controlCorrecto(*det, "cNumero", 6);

    auto garantia = fila(QStringLiteral("SELECT * FROM F0913GARANTIA"));
    EXPECT_EQ(texto(*garantia, "doc_id_d"), ruc);
    EXPECT_EQ(texto(*garantia, "periodo"), periodo);
    EXPECT_EQ(garantia->value(QStringLiteral("Semana")).toInt(), 1);
    EXPECT_EQ(texto(*garantia, "ind_garantia"), QStringLiteral("101"));
    EXPECT_EQ(texto(*garantia, "ind_persona"), QStringLiteral("2"));
    EXPECT_EQ(texto(*garantia, "mto_deuda"), QStringLiteral("15000.50"));
    EXPECT_EQ(texto(*garantia, "mto_deuda_garantia"), QStringLiteral("9000.00"));

    // What the import leaves for the rest of the program and on screen.
    EXPECT_EQ(nModo, 0);
    EXPECT_EQ(nEntidad, 1);
    EXPECT_EQ(sPeriodo, periodo);
    EXPECT_EQ(nBcolibrad, 37);
    EXPECT_EQ(sBuenContrib, QStringLiteral("1"));
    EXPECT_EQ(script.shown().first().title, kTitulo);
    EXPECT_EQ(script.shown().first().style, Information);
    EXPECT_EQ(form->pbar1->value(), 10);
    EXPECT_EQ(form->lblbar1->text(), QStringLiteral("Proceso finalizado satisfactoriamente."));
    EXPECT_TRUE(form->Frame3->isHidden());
    EXPECT_TRUE(QDir(carpetaTemporal()).exists());
    EXPECT_TRUE(QDir(carpetaTemporal()).isEmpty()); // the extracted file is deleted
}

TEST_F(ImportTest, EachEntityGetsItsOwnGuaranteeBoxAndTheTemporaryFolderServesThemAll)
{
    const QList<QPair<int, QString>> cajas = {
        {1, QStringLiteral("506")}, {2, QStringLiteral("513")}, {3, QStringLiteral("520")},
        {5, QStringLiteral("527")}, {8, QStringLiteral("534")},
    };
    for (const auto& [entidad, casilla] : cajas) {
        SCOPED_TRACE(entidad);
        escribe(estado(3, entidad));
        elige(ruc, entidad);
        importa({kExito});
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT Casilla FROM DET WHERE Semana = ?"), {entidad}).toString(), casilla);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS WHERE semana = ?"), {entidad}).toInt(), 4);
    }
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM CAB")).toInt(), 5);
}

TEST_F(ImportTest, TheSharedValuesAreThoseOfTheLastRecord)
{
    Statement e = estado(1);
    const QByteArray primero = hostkit::statementContent(e);
    e.bcolibrad = QStringLiteral("200");
    e.buenContrib = QStringLiteral("0");
    e.indGarantia = QStringLiteral("010");
    e.fecha = e.fecha.addDays(1); // a record dated tomorrow passes
    e.debts = {hostkit::sampleDebt(7)};
    escribeContenido(primero + hostkit::statementContent(e));
    elige(ruc, 1);

    importa({kExito});

    EXPECT_EQ(nBcolibrad, 200);
    EXPECT_EQ(sBuenContrib, QStringLiteral("0"));
    EXPECT_EQ(sPeriodo, e.fecha.date().toString(QStringLiteral("yyyyMM")));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT i_valor FROM DET")).toString(), QStringLiteral("010"));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT nrocheque FROM CAB")).toString(),
              e.fecha.date().toString(QStringLiteral("dd/MM/yyyy")));
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS")).toInt(), 3);
}

TEST_F(ImportTest, ASummaryRecordWithTwentyFieldsLeavesItsMissingValuesEmpty)
{
    const Statement e = estado(1);
    const QString completo = hostkit::statementRecord(e, e.debts.last());
    const QString corto = completo.section(u'|', 0, 19) + u'|';
    escribeContenido(platform::toCp1252(hostkit::statementRecord(e, e.debts.first()) + QStringLiteral("\r\n") + corto
                                        + QStringLiteral("\r\n")));
    elige(ruc, 1);

    importa({kExito});

    EXPECT_EQ(sBuenContrib, QString());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT Ind_valor FROM F0913DEUDAS WHERE Ind_tip_deu = '06'")).toInt(), 0);
    auto garantia = fila(QStringLiteral("SELECT * FROM F0913GARANTIA"));
    for (const char* columna : {"ind_garantia", "ind_persona", "mto_deuda", "mto_deuda_garantia"})
        EXPECT_TRUE(garantia->field(QString::fromLatin1(columna)).isNull()) << columna;
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT i_valor FROM DET")).toString(), QString());
}

TEST_F(ImportTest, AStaleFileInTheTemporaryFolderIsNeitherCheckedNorLoadedAndSubFoldersStay)
{
    QDir().mkpath(carpetaTemporal() + QStringLiteral("vieja"));
    for (const QString& nombre : {QStringLiteral("0.txt"), QStringLiteral("vieja/1.txt")}) {
        QFile viejo(carpetaTemporal() + nombre);
        ASSERT_TRUE(viejo.open(QIODevice::WriteOnly));
        viejo.write("basura|");
    }
    escribe(estado(2));
    elige(ruc, 1);

    importa({kExito});

    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS")).toInt(), 3);
    EXPECT_EQ(QDir(carpetaTemporal()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList{"vieja"});
    EXPECT_TRUE(QFile::exists(carpetaTemporal() + QStringLiteral("vieja/1.txt")));
}

TEST_F(ImportTest, EveryLineEndStoresTheSameRows)
{
    const QByteArray conCrLf = hostkit::statementContent(estado(3));
    ASSERT_TRUE(conCrLf.contains("\r\n"));
    QStringList filas;
    for (const QByteArray& fin : {QByteArray("\r\n"), QByteArray("\n"), QByteArray("\r")}) {
        SCOPED_TRACE(fin.toHex().toStdString());
        db().execute(QStringLiteral("DELETE FROM F0913DEUDAS"));
        for (const char* tabla : {"CAB", "DET", "F0913GARANTIA"})
            db().execute(QStringLiteral("DELETE FROM %1").arg(QLatin1String(tabla)));
        QByteArray contenido = conCrLf;
        escribeContenido(contenido.replace("\r\n", fin));
        elige(ruc, 1);
        importa({kExito});
        if (filas.isEmpty())
            filas = volcado();
        EXPECT_EQ(volcado(), filas);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS")).toInt(), 4);
    }
}

// One debt dated in the future (so it passes on any day), written out field by field.
const QByteArray kDeudaFija = "P1|D1|123|2|201501|3031|2015-07-31|100.00|5.00|1.00|106.00|1|0|01|1|"
                              "31/12/2099 10:20:30|7|N||||0|S||1|2|3|4|1|\r\n";

TEST_F(ImportTest, ControlValuesOfAnImportedDebtItsHeaderAndItsBox)
{
    ASSERT_EQ(ruc, QStringLiteral("20100070970"));
    escribeContenido(kDeudaFija);
    elige(ruc, 1);
    importa({kExito});

    // Value part: 6 + 20100070970 + 209912 + 913 + 1 + 1 (Ind_tip_deu 01) + 201501 = 20100483304.
    // Characters of cod_tri "3031" through Ind_impugnado "N" (cod_for "0123", the dates
    // 20991231 and 20150731, the byte columns 2, 1 and 0, the amounts as stored): 8352.
    EXPECT_EQ(fila(QStringLiteral("SELECT cnumero FROM F0913DEUDAS"))->field(0).text(), QStringLiteral("304352"));
    // 6 + 20100070970 + 209912 + 913 + 1 = 20100281802; characters of estado "9",
    // Rectifica "0", bcolibrad "7", cheque "S" and nrocheque "31/12/2099": 3078.
    EXPECT_EQ(fila(QStringLiteral("SELECT cNumero FROM CAB"))->field(0).text(), QStringLiteral("802078"));
    // The header's sum and the box 506: 20100282308; "1" + "01" (1 + 2 x 49) + "9": 252.
    EXPECT_EQ(fila(QStringLiteral("SELECT cNumero FROM DET"))->field(0).text(), QStringLiteral("308252"));
}

TEST_F(ImportTest, AnEarlierRecordsLongGuaranteeValueIsNotStoredAndDoesNotCount)
{
    QByteArray anterior = kDeudaFija;
    anterior.replace("|S||1|2|", "|S||1|123456|").replace("P1|D1|", "P0|D0|");
    escribeContenido(anterior + kDeudaFija);
    elige(ruc, 1);
    importa({kExito});
    EXPECT_EQ(fila(QStringLiteral("SELECT ind_persona FROM F0913GARANTIA"))->field(0).text(), QStringLiteral("2"));
}

TEST_F(ImportTest, AnInstallationFolderWithABlankImports)
{
    sSysPath = paths().root + QStringLiteral("/Archivos de programa/");
    QDir().mkpath(sSysPath);
    escribe(estado(2));
    elige(ruc, 1);
    importa({kExito});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS")).toInt(), 3);
}

TEST_F(ImportTest, ALinkedTemporaryFolderIsRefusedAndWhatItPointsToIsKept)
{
    const QString sAjena = paths().root + QStringLiteral("/ajena/");
    QDir().mkpath(sAjena);
    QFile ajeno(sAjena + QStringLiteral("importante.txt"));
    ASSERT_TRUE(ajeno.open(QIODevice::WriteOnly));
    ajeno.write("no se borra");
    ajeno.close();
    QDir().mkpath(sSysPath + QStringLiteral("TMP"));
    ASSERT_TRUE(QFile::link(sAjena, carpetaTemporal().chopped(1)));
    escribe(estado(2));
    elige(ruc, 1);
    const QStringList antes = volcado();

    importa({kDescomprimir});

    EXPECT_EQ(QDir(sAjena).entryList(QDir::Files), QStringList{"importante.txt"});
    EXPECT_EQ(volcado(), antes);
}

TEST_F(ImportTest, ALinkInsideTheTemporaryFolderIsNeitherFollowedNorRemoved)
{
    const QString sAjeno = paths().root + QStringLiteral("/ajeno.txt");
    QFile ajeno(sAjeno);
    ASSERT_TRUE(ajeno.open(QIODevice::WriteOnly));
    ajeno.write("no se borra");
    ajeno.close();
    QDir().mkpath(carpetaTemporal());
    ASSERT_TRUE(QFile::link(sAjeno, carpetaTemporal() + QStringLiteral("0enlace.txt")));
    escribe(estado(2));
    elige(ruc, 1);

    importa({kExito});

    EXPECT_TRUE(QFileInfo(carpetaTemporal() + QStringLiteral("0enlace.txt")).isSymLink());
    QFile leido(sAjeno);
    ASSERT_TRUE(leido.open(QIODevice::ReadOnly));
    EXPECT_EQ(leido.readAll(), "no se borra");
}

// ------------------------------------------------------------ the dialog

TEST_F(ImportTest, TheDeclarantsNameReadsDarkOnGrey)
{
    elige(ruc, 1);
    ASSERT_FALSE(form->txtNombre->text().isEmpty());
    EXPECT_EQ(form->txtNombre->palette().color(QPalette::Base), QColor(0xC0, 0xC0, 0xC0));
    EXPECT_LT(TintaMasOscura(*form->txtNombre), 0x50);
}

TEST_F(ImportTest, OnlyTheArchiveOfTheChosenDeclarantAndEntityIsListed)
{
    escribe(estado(1, 1));
    escribe(estado(1, 2));
    Statement otro = estado(1, 1);
    otro.ruc = hostkit::sampleDeclarants().at(1).docId;
    hostkit::writeStatementArchive(descargas, otro);
    QFile(descargas + QStringLiteral("otro.zip")).open(QIODevice::WriteOnly);

    form->DirList->setPath(descargas);
    form->DirList_Change();
    EXPECT_EQ(form->flListaFiles->count(), 0); // nothing before a declarant and an entity are chosen

    elige(ruc, 2);
    ASSERT_EQ(form->flListaFiles->count(), 1);
    EXPECT_EQ(form->flListaFiles->item(0)->text(), hostkit::statementArchiveName(ruc, 2));
    EXPECT_EQ(form->txtNombre->text(), hostkit::sampleDeclarants().first().nombre);
    EXPECT_FALSE(form->txtNombre->isEnabled());
    EXPECT_EQ(FrmImportar::KeyNombreArchivo(ruc, QStringLiteral("2")), QStringLiteral("0913") + ruc + u'2');
    EXPECT_EQ(FrmImportar::KeyNombreArchivo(ruc.left(10), QStringLiteral("2")), QString());
    EXPECT_EQ(FrmImportar::KeyNombreArchivo(ruc, QStringLiteral("12")), QString());
    EXPECT_EQ(FrmImportar::KeyNombreArchivo(QStringLiteral("/../../x/yz"), QStringLiteral("1")), QString());
}

TEST_F(ImportTest, RefusesToStartWithoutADeclarantAnEntityOrTheirArchive)
{
    escribe(estado(1));
    const QStringList antes = volcado();

    importa({QStringLiteral("Debe seleccionar algún número de ruc")});
    EXPECT_EQ(script.shown().first().style, Exclamation);

    form->CmbRuc->setCurrentIndex(0);
    form->CmbRuc_Click();
    importa({QStringLiteral("Debe seleccionar alguna entidad")});

    // A file that was listed for another entity is not taken.
    elige(ruc, 1);
    form->CmbEntidad->setCurrentIndex(form->CmbEntidad->findText(QStringLiteral("2"), Qt::MatchStartsWith));
    importa({QStringLiteral("No se ha encontrado el archivo de información para el RUC y entidad seleccionado")});

    elige(ruc, 3);
    importa({QStringLiteral("No se ha encontrado el archivo de información para el RUC y entidad seleccionado")});
    EXPECT_EQ(volcado(), antes);
    EXPECT_FALSE(QDir(carpetaTemporal()).exists());
}

TEST_F(ImportTest, ADeclarationThatAlreadyExistsIsNeitherUnzippedNorTouched)
{
    escribe(estado(2));
    elige(ruc, 1);
    importa({kExito});
    const QStringList antes = volcado();

    escribe(estado(5));
    elige(ruc, 1);
    importa({kYaExiste});
    EXPECT_EQ(volcado(), antes);
    EXPECT_TRUE(QDir(carpetaTemporal()).isEmpty());
}

TEST_F(ImportTest, APressOfAceptarWaitingWhileTheWaitFrameIsShownStartsNoImportInsideTheImport)
{
    escribe(estado(2));
    elige(ruc, 1);
    // A second press of "&Aceptar" (the space bar on the button) is waiting
    // when the import lets the wait frame show.
    QCoreApplication::postEvent(form->CmdGrabar, new QKeyEvent(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier));
    QCoreApplication::postEvent(form->CmdGrabar, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier));

    importa({kExito});
    script.clear();
    QCoreApplication::processEvents();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS")).toInt(), 3);
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM CAB")).toInt(), 1);

    // The button works again once the import is over.
    importa({kYaExiste});
}

// ------------------------------------------------------------ bad input

struct Malo {
    const char* caso;
    std::function<void(ImportTest&)> prepara;
    QStringList mensajes;
};

TEST_F(ImportTest, BadArchivesAndFilesAreRefusedAndLeaveEveryTableAsItWas)
{
    // Another declaration already stored must stay as it is.
    Statement previo = estado(2, 3);
    escribe(previo);
    elige(ruc, 3);
    importa({kExito});
    const QStringList antes = volcado();
    ASSERT_EQ(antes.size(), 3 + 1 + 1 + 1);

    const auto contenido = [](ImportTest& t, const std::function<void(Statement&)>& cambia) {
        Statement e = t.estado(3);
        cambia(e);
        t.escribeContenido(hostkit::statementContent(e));
    };
    const auto tecnico = [](int numero) { return QStringList{kTecnico, kProblemasCarga} << QString::number(numero); };

    const QList<Malo> casos = {
        {"not a zip",
         [](ImportTest& t) {
             QFile f(t.descargas + hostkit::statementArchiveName(t.ruc, 1));
             f.open(QIODevice::WriteOnly);
             f.write("PK esto no es un zip");
         },
         {kDescomprimir}},
        {"no file", [](ImportTest& t) { t.escribeZip({}); }, {kDescomprimir}},
        {"only a folder", [](ImportTest& t) { t.escribeZip({{QStringLiteral("carpeta/"), {}}}); }, {kNoValido}},
        {"a folder and a file",
         [](ImportTest& t) {
             const QByteArray c = hostkit::statementContent(t.estado(1));
             t.escribeZip({{QStringLiteral("carpeta/"), {}}, {hostkit::statementFileName(c), c}});
         },
         {kNoValido}},
        {"several files",
         [](ImportTest& t) {
             const QByteArray a = hostkit::statementContent(t.estado(1));
             const QByteArray b = hostkit::statementContent(t.estado(2));
             t.escribeZip({{hostkit::statementFileName(a), a}, {hostkit::statementFileName(b), b}});
         },
         {kNoValido}},
        {"a path that climbs out",
         [](ImportTest& t) {
             const QByteArray c = hostkit::statementContent(t.estado(1));
             t.escribeZip({{QStringLiteral("../../") + hostkit::statementFileName(c), c}});
         },
         {kNoValido}},
        {"a name that is not the digest",
         [](ImportTest& t) {
             const QByteArray c = hostkit::statementContent(t.estado(1));
             t.escribeZip({{hostkit::statementFileName(c + "x"), c}});
         },
         {kNoValido}},
        {"the digest in upper case",
         [](ImportTest& t) {
             const QByteArray c = hostkit::statementContent(t.estado(1));
             t.escribeZip({{hostkit::statementFileName(c).toUpper(), c}});
         },
         {kNoValido}},
        {"a name shorter than four characters",
         [](ImportTest& t) { t.escribeZip({{QStringLiteral("abc"), hostkit::statementContent(t.estado(1))}}); },
         {kNoValido}},
        {"the digest without its extension",
         [](ImportTest& t) {
             const QByteArray c = hostkit::statementContent(t.estado(1));
             t.escribeZip({{hostkit::statementFileName(c).left(40), c}});
         },
         {kNoValido}},
        {"a file that expands past its limit",
         [](ImportTest& t) {
             t.escribeZip({{QStringLiteral("0123456789012345678901234567890123456789.txt"),
                            QByteArray(kLargoMaximoEstado + 1, '0')}});
         },
         {kNoValido}},
        {"a line longer than its limit",
         [](ImportTest& t) {
             t.escribeContenido(hostkit::statementContent(t.estado(1)) + QByteArray(kLargoMaximoLinea + 1, '|'));
         },
         {kNoValido}},
        {"an empty file", [](ImportTest& t) { t.escribeContenido({}); },
         {QStringLiteral("El archivo personalizado esta en blanco.")}},
        {"a record dated yesterday",
         [&](ImportTest& t) {
             contenido(t, [](Statement& e) { e.fecha = e.fecha.addDays(-1); });
         },
         {kNoEsDeHoy}},
        {"the last record dated yesterday",
         [](ImportTest& t) {
             Statement viejo = t.estado(1);
             viejo.fecha = viejo.fecha.addDays(-1);
             viejo.debts = {hostkit::sampleDebt(9)};
             t.escribeContenido(hostkit::statementContent(t.estado(2)) + hostkit::statementContent(viejo));
         },
         {kNoEsDeHoy}},
        {"a field longer than its column",
         [&](ImportTest& t) { contenido(t, [](Statement& e) { e.debts[1].numDoc = QString(18, u'9'); }); },
         tecnico(platform::dberr::FieldTooSmall)},
        {"a guarantee field longer than its column",
         [&](ImportTest& t) { contenido(t, [](Statement& e) { e.indPersona = QStringLiteral("123456"); }); },
         tecnico(platform::dberr::FieldTooSmall)},
        {"a field of more than 254 characters",
         [&](ImportTest& t) { contenido(t, [](Statement& e) { e.debts[2].codTriAso = QString(255, u'1'); }); },
         tecnico(6)},
        {"a bank code out of a byte's range",
         [&](ImportTest& t) { contenido(t, [](Statement& e) { e.bcolibrad = QStringLiteral("256"); }); },
         tecnico(6)},
        {"a bank code that is no number",
         [&](ImportTest& t) { contenido(t, [](Statement& e) { e.bcolibrad = QStringLiteral("X"); }); },
         tecnico(13)},
        {"a Byte column out of range",
         [&](ImportTest& t) { contenido(t, [](Statement& e) { e.debts[0].numCuo = QStringLiteral("300"); }); },
         tecnico(platform::dberr::NumericOverflow)},
        {"a date that is no date",
         [&](ImportTest& t) {
             contenido(t, [](Statement& e) { e.debts[1].fecUltCap = QDate(); });
         },
         tecnico(13)},
        {"a control character in a code",
         [&](ImportTest& t) { contenido(t, [](Statement& e) { e.debts[1].numDoc = QStringLiteral("12\u0001" "3"); }); },
         tecnico(13)},
        {"a duplicate debt",
         [&](ImportTest& t) { contenido(t, [](Statement& e) { e.debts[1] = e.debts[0]; }); },
         tecnico(platform::dberr::DuplicateKey)},
    };

    for (const Malo& caso : casos) {
        SCOPED_TRACE(caso.caso);
        QDir(descargas).removeRecursively();
        QDir().mkpath(descargas);
        caso.prepara(*this);
        elige(ruc, 1);
        QStringList mensajes = caso.mensajes;
        QString numero;
        if (mensajes.first() == kTecnico)
            numero = mensajes.takeLast();
        importa(mensajes);
        if (!numero.isEmpty() && !script.shown().isEmpty())
            EXPECT_EQ(script.shown().first().title, QStringLiteral("Error tecnico : ") + numero);
        for (const platform::ShownMessage& m : script.shown()) {
            if (m.text != kTecnico)
                EXPECT_EQ(m.title, kTitulo);
            EXPECT_EQ(m.style & 0x70, Critical);
        }
        EXPECT_EQ(volcado(), antes);
        EXPECT_EQ(db().transactionLevel(), 0);
        EXPECT_TRUE(form->Frame3->isHidden());
        EXPECT_TRUE(QDir(carpetaTemporal()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot).isEmpty());
    }

    // After all of them a good statement still goes in.
    escribe(estado(2));
    elige(ruc, 1);
    importa({kExito});
    EXPECT_EQ(volcado().size(), antes.size() + 3 + 1 + 1 + 1);
}

// The folder the import extracts to lies on a full disk: no room, or no
// inode, left for the statement's file, or for the folder itself at the
// declarant's first import; on a disk where a folder takes a block, too.
TEST_F(ImportTest, AFullDiskWhileUnzippingIsToldAndLeavesNothing)
{
    escribe(estado(2));
    elige(ruc, 1);
    const QStringList antes = volcado();
    const struct {
        const char* caso;
        SmallDisk::Kind disco;
        bool bSinInodos;
        bool bPrimera; // no folder of the declarant's yet
    } casos[] = {
        {"no room left", SmallDisk::Kind::Tmpfs, false, false},
        {"no inode left", SmallDisk::Kind::Tmpfs, true, false},
        {"no inode left, first import", SmallDisk::Kind::Tmpfs, true, true},
        {"no block left, first import", SmallDisk::Kind::Ext2, false, true},
    };
    QStringList sinMontar;
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.caso);
        const SmallDisk disco(sSysPath + QStringLiteral("TMP"), 2048, caso.disco);
        if (!disco.mounted()) {
            sinMontar.append(QString::fromLatin1(caso.caso));
            continue;
        }
        if (!caso.bPrimera)
            ASSERT_TRUE(QDir().mkpath(carpetaTemporal()));
        caso.bSinInodos ? disco.fillInodes() : disco.fillRoom();

        importa({QStringLiteral("\n\nDescripción del error : [61] Disco lleno. No se puede continuar con la ejecución "
                                "del módulo\n\n"),
                 kDescomprimir});

        ASSERT_EQ(script.shown().size(), 2);
        EXPECT_EQ(script.shown().first().title, QStringLiteral("Error crítico: 61 (Rutina: CmdGrabar_Click) "));
        EXPECT_EQ(volcado(), antes);
        EXPECT_EQ(db().transactionLevel(), 0);
        EXPECT_TRUE(form->Frame3->isHidden());
        EXPECT_EQ(QDir(carpetaTemporal()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList());
    }
    if (!sinMontar.isEmpty())
        GTEST_SKIP() << "only root mounts a tmpfs, or an ext2 image on a loop device; not run: "
                     << sinMontar.join(QStringLiteral(", ")).toStdString();
}

// What the load finds in CAB, or fails to read there, inside the
// transaction is told once the transaction is rolled back (importa answers
// each box only when another program can write).
TEST_F(ImportTest, WhatTheLoadMeetsInCabIsToldAfterTheRollback)
{
    escribe(estado(2));
    elige(ruc, 1);
    importa({kExito});
    const struct {
        const char* caso;
        const char* durante;
        const char* despues;
        QString titulo;
        QStringList mensajes;
    } casos[] = {
        {"a declaration stored meanwhile", "UPDATE CAB SET Semana = 1", "", QStringLiteral("Información"),
         {kYaExiste, kProblemasCarga}},
        {"CAB unreadable", "ALTER TABLE CAB RENAME TO CAB_APARTE", "ALTER TABLE CAB_APARTE RENAME TO CAB",
         QStringLiteral("Error tecnico : 3078"), {kTecnico, kProblemasCarga}},
    };
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.caso);
        db().execute(QStringLiteral("UPDATE CAB SET Semana = 9")); // not this entity's any more
        escribe(estado(3));
        elige(ruc, 1);
        mientrasImporta(QString::fromLatin1(caso.durante));

        importa(caso.mensajes);

        if (*caso.despues)
            db().execute(QString::fromLatin1(caso.despues));
        ASSERT_FALSE(script.shown().isEmpty());
        EXPECT_EQ(script.shown().first().title, caso.titulo);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS")).toInt(), 3);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM CAB")).toInt(), 1);
        EXPECT_EQ(db().transactionLevel(), 0);
        EXPECT_TRUE(form->Frame3->isHidden());
    }
}

// Another program still reads the database when the import commits, for
// longer than the import waits for it: the retry is asked for once the
// transaction is rolled back, and "Reintentar" runs the whole import again.
TEST_F(ImportTest, ALockMetInsideTheTransactionIsAskedAboutOnceItIsRolledBack)
{
    escribe(estado(2));
    elige(ruc, 1);
    const QStringList antes = volcado();
    const auto otro = platform::Database::open(paths().dbFile);
    auto lectura =
        otro->openRecordset(QStringLiteral("SELECT name FROM sqlite_master"), {}, platform::RecordsetType::ForwardOnly);
    respondeSinBloqueo(Retry, [&] { lectura.reset(); });
    respondeSinBloqueo();
    script.clear();

    form->CmdGrabar_Click();

    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_TRUE(script.shown().first().title.startsWith(QStringLiteral("Reintentos de acceso ")));
    EXPECT_EQ(script.shown().last().text, kExito);
    EXPECT_EQ(volcado().size(), antes.size() + 3 + 1 + 1 + 1);
}

// Another program holds the write lock as the import begins its transaction,
// and the user gives up at the retry: nothing is stored, and the taxpayer's
// statement is not left in the import folder.
TEST_F(ImportTest, AnImportCancelledAtALockLeavesNoStatementBehind)
{
    escribe(estado(2));
    elige(ruc, 1);
    const QStringList antes = volcado();
    const auto otro = platform::Database::open(paths().dbFile);
    otro->beginTrans();
    script.answer(Cancel);
    script.answer(Ok);
    script.clear();

    form->CmdGrabar_Click();

    otro->rollback();
    ASSERT_EQ(script.shown().size(), 2);
    EXPECT_TRUE(script.shown().first().title.startsWith(QStringLiteral("Reintentos de acceso ")));
    EXPECT_EQ(script.shown().last().text, QStringLiteral("Proceso de recepción cancelado por el usuario.\n"
                                                         "Reintente la recepción del disquete nuevamente."));
    EXPECT_EQ(volcado(), antes);
    EXPECT_EQ(QDir(carpetaTemporal()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList());
}

TEST_F(ImportTest, ADatabaseFailureAfterTheLoadRollsBackAndEndsTheProgram)
{
    escribe(estado(3));
    elige(ruc, 1);
    db().execute(QStringLiteral("DROP TABLE DET"));
    const QStringList antes = [&] {
        QStringList filas;
        for (const QString& tabla : {QStringLiteral("F0913DEUDAS"), QStringLiteral("CAB"), QStringLiteral("F0913GARANTIA")})
            filas.append(db().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(tabla)).toString());
        return filas;
    }();

    respondeSinBloqueo(); // the central handler's fatal message
    EXPECT_THROW(form->CmdGrabar_Click(), platform::ProgramEnded);

    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.shown().first().title.startsWith(QStringLiteral("Error crítico: ")));
    EXPECT_TRUE(script.shown().first().title.contains(QStringLiteral("CmdGrabar_Click")));
    EXPECT_EQ(db().transactionLevel(), 0);
    for (int i = 0; i < 3; ++i) {
        const QString tabla = QStringList{"F0913DEUDAS", "CAB", "F0913GARANTIA"}.at(i);
        EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM %1").arg(tabla)).toString(), antes.at(i)) << tabla.toStdString();
    }
}

TEST_F(ImportTest, EachWriteOfTheImportFailingInTurnLeavesEveryTableAsItWas)
{
    escribe(estado(3));
    elige(ruc, 1);
    const QStringList antes = volcado();
    int nEscrituras = 0;
    {
        platform::testing::FailWriteNumber cuenta(0);
        importa({kExito});
        nEscrituras = cuenta.writesDone();
    }
    constexpr int kFilasEstado = 4; // three debts and the summary
    EXPECT_EQ(nEscrituras, kFilasEstado + 3); // then CAB, DET and F0913GARANTIA
    for (const QString& tabla : kTablas)
        db().execute(QStringLiteral("DELETE FROM %1").arg(tabla));
    ASSERT_EQ(volcado(), antes);

    for (int n = 1; n <= nEscrituras; ++n) {
        SCOPED_TRACE(n);
        escribe(estado(3));
        elige(ruc, 1);
        // A row of the statement fails as a record (two messages); a header
        // row reaches the central handler, whose end ends the program.
        const bool bFilaEstado = n <= kFilasEstado;
        for (int i = 0; i < (bFilaEstado ? 2 : 1); ++i)
            script.answer(Ok);
        script.clear();
        platform::testing::FailWriteNumber falla(n);
        bool bTerminado = false;
        try {
            form->CmdGrabar_Click();
        } catch (const platform::ProgramEnded&) {
            bTerminado = true;
        }
        EXPECT_EQ(bTerminado, !bFilaEstado);
        EXPECT_TRUE(falla.failed());
        EXPECT_EQ(script.pendingAnswers(), 0);
        EXPECT_EQ(db().transactionLevel(), 0);
        EXPECT_EQ(volcado(), antes);
    }
}

// ------------------------------------------------------------ killed midway

// Killed once the statement is read: nothing is stored, and the taxpayer's
// statement, read before the transaction began, is no longer on the disk.
TEST_F(ImportTest, AProcessKilledInTheMiddleOfAnImportLeavesTheDatabaseAsItWas)
{
    escribe(estado(3000));
    elige(ruc, 1);
    const QStringList antes = volcado();

    for (const auto& [tabla, filas] : {std::pair{"F0913DEUDAS", 1500}, std::pair{"CAB", 1}}) {
        SCOPED_TRACE(tabla);
        const int estado = importaYMuere(tabla, filas);
        ASSERT_TRUE(WIFSIGNALED(estado) && WTERMSIG(estado) == SIGKILL) << estado;
        EXPECT_EQ(volcado(), antes);
        EXPECT_EQ(QDir(carpetaTemporal()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList())
            << "the statement outlived its reading";
    }

    importa({kExito});
    EXPECT_EQ(db().scalar(QStringLiteral("SELECT count(*) FROM F0913DEUDAS")).toInt(), 3001);
}

} // namespace
