// The installer's input files "env913.txt" and "Par913.txt": how they are
// read, and what a missing or faulty one leaves in the database.

#include "tests/inserta/RavisolHost.h"

#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/textfile.h"
#include "tools/hostkit/installer_inputs.h"

#include <QFile>

namespace {

const QString kSelectEnvios = QStringLiteral(
    "SELECT tabla_o, tabla_d, tabla_ext, indice, obliga, c_tip_doc_d, c_doc_id_d, c_Formulario, c_periodo, "
    "c_estado, c_envio, c_semana FROM envio_t WHERE formulario = '0913' ORDER BY tabla_o");

class RavisolInputTest : public RavisolHost {
protected:
    QStringList envios() { return rows(kSelectEnvios); }
    QStringList parametro(const QString& sNumero, const QString& sArgumento)
    {
        return rows(QStringLiteral("SELECT Funcion, Correl_Param FROM Param WHERE Numero = ? AND Argumento = ?"),
                     {sNumero, sArgumento});
    }

    // A run that ends with one failure box about the given file.
    void esperaFallaDeArchivo(const ProgramRun& resultado, const QString& sArchivo, const QString& sDetalle)
    {
        const RunBox caja = esperaFalla(resultado, "Error de Ejecución", platform::mb::Critical);
        EXPECT_TRUE(caja.text.contains(sArchivo)) << caja.text.toStdString();
        EXPECT_TRUE(caja.text.contains(sDetalle)) << caja.text.toStdString();
    }

    // A first clean run, so that the form has its export definitions.
    QStringList instalaPrimero()
    {
        ejecutaSinMensajes();
        const QStringList registradas = envios();
        EXPECT_EQ(registradas.size(), envioInicial().size());
        return registradas;
    }
};

TEST_F(RavisolInputTest, ExportDefinitionsAreReadUpToTheFirstBlankLine)
{
    escribeEnvio({
        "0913|  F0913MOTIVO  |HF0913MOTIVO|  MOTIVO |4|0|1|2|4|3|0|0|5|",
        "0913|F0913GARANTIA||GARANTIA|6|1|1|2|4|3|0|0|5|ignored",
        "0913|F0913MOTIVO| HF0913MOTIVO |D'ARCY|7| 2 |1|2|4|3|0|0|5|",
        "   ",
        "0913|CAB|HCAB|CAB|1|1|1|2|4|3|6|0|5|",
    });

    ejecutaSinMensajes();

    // Source and extension trimmed, an empty target one blank, the later of two lines for one table.
    EXPECT_EQ(envios(), (QStringList{"F0913GARANTIA| |GARANTIA|6|1|1|2|4|3|0|0|5",
                                     "F0913MOTIVO| HF0913MOTIVO |D'ARCY|7|2|1|2|4|3|0|0|5"}));
}

TEST_F(RavisolInputTest, MissingExportFileKeepsTheRegisteredDefinitions)
{
    const QStringList registradas = instalaPrimero();
    borraEntrada("tmp/env913.txt");
    escribeParametros({"991|0913|OTRO|2|"});

    const ProgramRun resultado = ejecutaRavisol();

    esperaFallaDeArchivo(resultado, paths().sysPath + "tmp/env913.txt", QStringLiteral("No se encontró"));
    EXPECT_EQ(envios(), registradas);
    // The other steps were done.
    EXPECT_EQ(parametro("991", "0913"), QStringList{"OTRO|002"});
    EXPECT_EQ(rows(QStringLiteral("SELECT count(*) FROM reportes")), QStringList{"4"});
}

TEST_F(RavisolInputTest, FaultyExportFileKeepsTheRegisteredDefinitions)
{
    const struct {
        QStringList lineas;
        const char* detalle;
    } casos[] = {
        {{"0913|CAB|HCAB|CAB|1|1|1|2|4|3|6|0|5|", "0913|DET|HDET|DET|2|1|1|2|4|3|0|0|"}, "línea 2"},
        {{"0913|CAB|HCAB|CAB|1|x|1|2|4|3|6|0|5|"}, "campo 6 de la línea 1"},
        {{"0913|CAB|HCAB|CAB|256|1|1|2|4|3|6|0|5|"}, "campo 5 de la línea 1"},
        {{"0913|CAB|HCAB|CAB|1|1|1|2|4|3|6||5|"}, "campo 12 de la línea 1"},
        {{"", "0913|CAB|HCAB|CAB|1|1|1|2|4|3|6|0|5|"}, "no contiene definiciones"},
    };
    const QStringList registradas = instalaPrimero();
    for (const auto& caso : casos) {
        SCOPED_TRACE(caso.detalle);
        escribeEnvio(caso.lineas);

        esperaFallaDeArchivo(ejecutaRavisol(), paths().sysPath + "tmp/env913.txt", QString::fromUtf8(caso.detalle));

        EXPECT_EQ(envios(), registradas);
    }
}

TEST_F(RavisolInputTest, ParameterFileReplacesAndAddsRowsAsItStands)
{
    escribeParametros({
        "404|20160101|00004000.00|1|",
        "404|20170101|00004050.00|13|",
        "990|0913|SOLICITUD D'ACOGIMIENTO |7|extra",
        "990| 0914|CON BLANCOS||",
        "990|0916|CRÉDITO DEL AÑO|3|",
        "",
        "990|0915|DESPUES DEL BLANCO|1|",
    });

    ejecutaSinMensajes();

    EXPECT_EQ(parametro("404", "20160101"), QStringList{"00004000.00|001"});
    EXPECT_EQ(parametro("404", "20170101"), QStringList{"00004050.00|013"});
    EXPECT_EQ(parametro("990", "0913"), QStringList{"SOLICITUD D'ACOGIMIENTO |007"});
    EXPECT_EQ(parametro("990", " 0914"), QStringList{"CON BLANCOS|"});
    EXPECT_EQ(parametro("990", "0916"), QStringList{"CRÉDITO DEL AÑO|003"});
    EXPECT_TRUE(parametro("990", "0915").isEmpty());
}

TEST_F(RavisolInputTest, ParameterFileOfTheTmpFolderComesFirst)
{
    escribeParametros({"990|0913|EN TMP|1|"});
    escribeParametros({"990|0913|EN LA RAIZ|2|"}, QString());

    ejecutaSinMensajes();
    EXPECT_EQ(parametro("990", "0913"), QStringList{"EN TMP|001"});

    borraEntrada("tmp/Par913.txt");
    ejecutaSinMensajes();
    EXPECT_EQ(parametro("990", "0913"), QStringList{"EN LA RAIZ|002"});
}

TEST_F(RavisolInputTest, MissingParameterFileIsReportedAfterEverythingElse)
{
    borraEntrada("tmp/Par913.txt");

    const ProgramRun resultado = ejecutaRavisol();

    esperaFallaDeArchivo(resultado, paths().sysPath + "Par913.txt", QStringLiteral("No se encontró"));
    EXPECT_EQ(parametro("404", "20160101"), QStringList{"00003950.00|000"});
    EXPECT_EQ(envios().size(), envioInicial().size());
    EXPECT_TRUE(db().tableExists("F0913DEUDAS"));
}

TEST_F(RavisolInputTest, FaultyParameterFileWritesNoneOfItsRows)
{
    escribeParametros({"990|0913|PRIMERA|1|", "990|0914|SIN CORRELATIVO"});

    const ProgramRun resultado = ejecutaRavisol();

    esperaFallaDeArchivo(resultado, paths().sysPath + "tmp/Par913.txt", QStringLiteral("línea 2"));
    EXPECT_TRUE(parametro("990", "0913").isEmpty());
    EXPECT_EQ(parametro("856", "0913"), QStringList{"1.2 05/01/2016     790|000"});
}

TEST_F(RavisolInputTest, SampleInputsOfTheHostStandInAreWindowsTextOfFieldsEndedByBars)
{
    borraEntrada("tmp/env913.txt");
    borraEntrada("tmp/Par913.txt");
    hostkit::copyInstallerInputs(paths());

    const struct {
        const char* archivo;
        int campos;
    } muestras[] = {{"tmp/env913.txt", 13}, {"tmp/Par913.txt", 4}};
    for (const auto& muestra : muestras) {
        SCOPED_TRACE(muestra.archivo);
        QFile archivo(paths().sysPath + muestra.archivo);
        ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
        const QByteArray bytes = archivo.readAll();
        EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
        EXPECT_EQ(platform::toCp1252(platform::fromCp1252(bytes)), bytes);
        ASSERT_TRUE(bytes.endsWith("\r\n"));
        EXPECT_EQ(bytes.count("\n"), bytes.count("\r\n"));
        EXPECT_EQ(bytes.count("\r"), bytes.count("\r\n"));
        for (const QByteArray& linea : bytes.chopped(2).split('\n')) {
            EXPECT_TRUE(linea.endsWith("|\r") || linea.endsWith('|')) << linea.toStdString();
            EXPECT_EQ(linea.count('|'), muestra.campos) << linea.toStdString();
            EXPECT_FALSE(linea.trimmed().isEmpty());
        }
    }
}

TEST_F(RavisolInputTest, SampleInputsOfTheHostStandInAreTakenWhole)
{
    borraEntrada("tmp/env913.txt");
    borraEntrada("tmp/Par913.txt");
    hostkit::copyInstallerInputs(paths());

    ejecutaSinMensajes();

    EXPECT_EQ(rows(QStringLiteral("SELECT tabla_o, tabla_d FROM envio_t WHERE formulario = '0913' ORDER BY indice")),
              (QStringList{"CAB|HCAB", "DET|HDET", "F0913DEUDAS|HF0913DEUDAS", "F0913MOTIVO|HF0913MOTIVO",
                           "F0913SUSTEN|HF0913SUSTEN", "F0913GARANTIA| "}));
    EXPECT_EQ(parametro("856", "0913"), QStringList{"1.2 05/01/2016     790|000"});
    EXPECT_EQ(parametro("990", "0913"), QStringList{"SOLICITUD DE REFINANCIAMIENTO DE DEUDAS|001"});
    EXPECT_EQ(parametro("991", "0913"), QStringList{"Tarvel|002"});

    // Files already in the host are the host's own: they stay.
    escribeParametros({"990|0913|PROPIO|1|"});
    hostkit::copyInstallerInputs(paths());
    ejecutaSinMensajes();
    EXPECT_EQ(parametro("990", "0913"), QStringList{"PROPIO|001"});
}

} // namespace
