#include "formulario/subsystems/request/ValidaDeclaracion.h"

#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "platform/textfile.h"
#include "tests/formulario/subsystems/request/DeudasPrueba.h"
#include "tests/support/HostTest.h"
#include "tests/support/PlantedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

const QString kRuc = QStringLiteral("20100070970");

// Period 201003: UIT 3,600, so 10 % is 360 and 5 % is 180.
class ValidaTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        sPeriodo = QStringLiteral("201003");
        nEntidad = 1;
        sBuenContrib = QStringLiteral("0");
        InsertaDeuda(db(), "TMP_F0913DEUDAS", DeudaPrueba{});
        datos.clave.sNumDoc = kRuc;
        datos.clave.sPeriodo = sPeriodo;
        datos.clave.nEntidad = 1;
        datos.sCodTriGrilla1 = QStringLiteral("010101");
        // 12,000 above 3 UIT in 12 instalments: a minimum initial instalment of 8 %, 960.
        datos.casillas = {{500, "12,000"}, {501, "0"}, {503, "12"}, {504, "1,030"}, {506, "NO"}, {535, "960"}};
    }

    // A second notified debt on which the declarant has not decided yet.
    void InsertaPendiente()
    {
        DeudaPrueba pendiente;
        pendiente.sNumDoc = QStringLiteral("2");
        pendiente.vAcog = QVariant();
        InsertaDeuda(db(), "TMP_F0913DEUDAS", pendiente);
    }

    // The lines of Mens.txt after the validate command.
    QStringList Hallazgos(const QStringList& identificacion = {})
    {
        ValidaDeclaracion(
            [&](int nArchivo) {
                for (const QString& sLinea : identificacion)
                    EscribeLinea(nArchivo, sLinea);
                return identificacion.isEmpty();
            },
            datos);
        QFile archivo(sSysPath + "Mens.txt");
        EXPECT_TRUE(archivo.open(QIODevice::ReadOnly));
        const QByteArray bytes = archivo.readAll();
        EXPECT_TRUE(bytes.isEmpty() || bytes.endsWith("\r\n"));
        QStringList lineas = QString::fromLatin1(bytes).split(QStringLiteral("\r\n"));
        lineas.removeLast();
        return lineas;
    }

    DeclaracionAValidar datos;
};

TEST_F(ValidaTest, UnaDeclaracionCorrectaNoEscribeNada)
{
    EXPECT_EQ(Hallazgos(), QStringList());
    EXPECT_EQ(nInconsistencia, 0);
    EXPECT_EQ(sArchivo, sSysPath + "Mens.txt");
    EXPECT_TRUE(ValidaTodo(2, datos, 0));
}

TEST_F(ValidaTest, CadaHallazgoEsUnaLineaEnElOrdenDeLasComprobaciones)
{
    InsertaPendiente();
    datos.sCodTriGrilla1 = QStringLiteral("0");
    datos.casillas = {{500, "359"}, {501, "0"}, {504, ""}, {506, "SI"}, {535, "10"}};

    EXPECT_EQ(Hallazgos(),
              QStringList({
                  "Debe pronunciarse sobre todas las deudas informadas por ALCOR en el rubro resoluciones.",
                  "Debe ingresar al menos un registro en la opción otras resoluciones",
                  "Casilla 500: La deuda acogida debe ser mayor o igual al 10% de la UIT vigente, es decir mayor o "
                  "igual a S/. 360 nuevos soles.",
                  "Casilla 503: Debe ingresar el número de cuotas de fraccionamiento.",
                  "Debe consignar el tipo de garantía de deuda.",
                  "Casilla 535: El monto de la cuota de acogimiento debe ser mayor o igual al  5% de la UIT vigente, "
                  "es decir mayor o igual a S/. 180 nuevos soles.",
              }));
    EXPECT_EQ(nInconsistencia, 1);
}

TEST_F(ValidaTest, SiFallaLaIdentificacionSoloQuedanSusLineas)
{
    const QStringList telefono{"Ingrese correctamente el teléfono",
                               "Identificación-Información general : El celular debe ser de 9 dígitos"};
    datos.casillas.clear();
    EXPECT_EQ(Hallazgos(telefono), telefono);
    EXPECT_EQ(nInconsistencia, 1);
}

TEST_F(ValidaTest, ElArchivoEstaEnWindows1252)
{
    datos.casillas.remove(535);
    Hallazgos({"Ingrese correctamente el teléfono"});
    QFile archivo(sSysPath + "Mens.txt");
    ASSERT_TRUE(archivo.open(QIODevice::ReadOnly));
    EXPECT_EQ(archivo.readAll(), QByteArray("Ingrese correctamente el tel\xe9" "fono\r\n"));
}

struct CasoLimite {
    const char* sNombre;
    QMap<int, QString> cambios; // boxes changed from the clean declaration ("" empties one)
    QStringList hallazgos;
};

void PrintTo(const CasoLimite& c, std::ostream* os)
{
    *os << c.sNombre;
}

class LimiteTest : public ValidaTest, public ::testing::WithParamInterface<CasoLimite> {};

TEST_P(LimiteTest, HallazgosDeLasCasillasDeLaEntidad)
{
    for (auto it = GetParam().cambios.cbegin(); it != GetParam().cambios.cend(); ++it)
        datos.casillas[it.key()] = it.value();
    EXPECT_EQ(Hallazgos(), GetParam().hallazgos);
}

const QString kDiezPorCiento = QStringLiteral("Casilla 500: La deuda acogida debe ser mayor o igual al 10% de la UIT "
                                              "vigente, es decir mayor o igual a S/. 360 nuevos soles.");
const QString kMinimo = QStringLiteral("Casilla 535: El monto de la cuota de acogimiento debe ser mayor o igual al "
                                       "monto mínimo, es decir mayor o igual a S/.");

INSTANTIATE_TEST_SUITE_P(
    Casillas, LimiteTest,
    ::testing::Values(
        CasoLimite{"DeudaIgualAlDiezPorCiento", {{500, "360"}, {535, "180"}}, {}},
        CasoLimite{"DeudaBajoElDiezPorCiento", {{500, "359"}, {535, "180"}}, {kDiezPorCiento}},
        CasoLimite{"DeudaCero",
                   {{500, "0"}, {535, "180"}},
                   {"Casilla 500: La deuda acogida debe ser mayor a cero.", kDiezPorCiento}},
        CasoLimite{"DeudaVacia",
                   {{500, ""}},
                   {"Casilla 500: La deuda acogida debe ser mayor a cero "}},
        CasoLimite{"CuotaIgualAlCincoPorCiento", {{504, "180"}}, {}},
        CasoLimite{"CuotaBajoElCincoPorCiento",
                   {{504, "179"}},
                   {"Casilla 504: El monto de la cuota de fraccionamiento debe ser mayor o igual al  5% de la UIT "
                    "vigente, es decir mayor o igual a S/. 180 nuevos soles."}},
        CasoLimite{"UnaSolaCuota",
                   {{503, "1"}, {535, "1,000"}},
                   {"Casilla 503: El número de cuotas de fraccionamiento debe ser mayor a 1."}},
        CasoLimite{"SetentaYDosCuotas", {{503, "72"}, {535, "1,920"}}, {}},
        CasoLimite{"SetentaYTresCuotas",
                   {{503, "73"}},
                   {"Casilla 503: El número de cuotas de fraccionamiento debe ser menor o igual a 72"}},
        CasoLimite{"SinModalidad", {{501, ""}}, {"Casilla 501: Indique la Modalidad de Pago."}},
        CasoLimite{"OtraModalidad", {{501, "5"}}, {}},
        CasoLimite{"AplazamientoConDeudaBaja",
                   {{500, "359"}, {501, "1"}, {535, "180"}},
                   {kDiezPorCiento, "Casilla 502: Debe ingresar el número de meses de aplazamiento.", kDiezPorCiento}},
        CasoLimite{"AplazamientoYFraccionamientoSinMesesNiCuotas",
                   {{501, "2"}, {503, ""}},
                   {"Casilla 502: Debe ingresar el número de meses de aplazamiento.",
                    "Casilla 503: Debe ingresar el número de cuotas de fraccionamiento."}},
        CasoLimite{"SeisMesesDeAplazamiento", {{501, "2"}, {502, "6"}, {535, "1,200"}}, {}},
        CasoLimite{"SieteMesesDeAplazamiento",
                   {{501, "2"}, {502, "7"}, {535, "1,200"}},
                   {"Casilla 502: Los meses de aplazamiento deben ser menores a (meses mínimo) meses"}},
        CasoLimite{"CuotaInicialBajoElMinimo", {{535, "959"}}, {kMinimo + "960 nuevos soles"}},
        CasoLimite{"CuotaInicialIgualAlCincoPorCiento", {{500, "3,000"}, {503, "6"}, {535, "180"}}, {}},
        CasoLimite{"CuotaInicialBajoElCincoPorCiento",
                   {{500, "3,000"}, {503, "6"}, {535, "179"}},
                   {"Casilla 535: El monto de la cuota de acogimiento debe ser mayor o igual al  5% de la UIT "
                    "vigente, es decir mayor o igual a S/. 180 nuevos soles."}},
        CasoLimite{"SinCuotaInicial", {{535, " "}}, {"Casilla 535: Debe ingresar la cuota de acogimiento."}}));

TEST_F(ValidaTest, BuenContribuyenteSinMinimoPeroConCuotaInicial)
{
    sBuenContrib = QStringLiteral("1");
    datos.casillas[535] = QStringLiteral("0");
    EXPECT_EQ(Hallazgos(), QStringList());
    datos.casillas.remove(535);
    EXPECT_EQ(Hallazgos(), QStringList({"Casilla 535: Debe ingresar la cuota de acogimiento."}));
}

TEST_F(ValidaTest, SinDeudaLosMesesNoPuedenPasarDeCero)
{
    datos.casillas = {{501, "2"}, {502, "1"}, {503, "12"}, {535, "100"}};
    EXPECT_EQ(Hallazgos(), QStringList({"Casilla 500: La deuda acogida debe ser mayor a cero ",
                                        "Casilla 502: Los meses de aplazamiento deben ser menores a (meses mínimo) "
                                        "meses"}));
}

TEST_F(ValidaTest, SinRucNoSePideDecidirLasDeudas)
{
    InsertaPendiente();
    EXPECT_EQ(Hallazgos().size(), 1);
    datos.clave.nTipoDoc = 1;
    EXPECT_EQ(Hallazgos(), QStringList());
}

TEST_F(ValidaTest, ConDisconformidadSinMontoLaDeudaNoEstaDecidida)
{
    DeudaPrueba disconforme;
    disconforme.sNumDoc = QStringLiteral("2");
    disconforme.vConf = 2;
    disconforme.sActC = QStringLiteral(" ");
    InsertaDeuda(db(), "TMP_F0913DEUDAS", disconforme);
    EXPECT_EQ(Hallazgos().size(), 1);
}

TEST_F(ValidaTest, EnModoDosParaEnElPrimerHallazgo)
{
    datos.sCodTriGrilla1 = QStringLiteral("0");
    datos.casillas[503] = QStringLiteral("");
    datos.casillas[535] = QStringLiteral("");
    bool bSeleccionaModalidad = false;
    EXPECT_FALSE(ValidaTodo(2, datos, 0, &bSeleccionaModalidad));
    EXPECT_TRUE(bSeleccionaModalidad); // nothing to refinance does not stop the checks
    EXPECT_EQ(sMensaje, "Casilla 503: Debe ingresar el número de cuotas de fraccionamiento.");
    EXPECT_EQ(nInconsistencia, 1);
}

// Whatever keeps Mens.txt from taking this run's findings is told, with the
// file's name, and nothing is shown as the findings.
TEST_F(ValidaTest, UnArchivoDeHallazgosQueNoSePuedeEscribirSeAvisaConSuNombre)
{
    QTemporaryDir fuera;
    const QString sAnterior = fuera.filePath("Mens.txt");
    ASSERT_TRUE(platform::writeTextLines(sAnterior, {"Hallazgo anterior"}));
    const QString sMens = sSysPath + "Mens.txt";
    const std::optional<Planted> casos[] = {Planted::Link, Planted::Fifo, Planted::Folder, Planted::DeviceLink,
                                            std::nullopt}; // an older plain file, on a disk that takes no more
    for (const std::optional<Planted>& tipo : casos) {
        SCOPED_TRACE(tipo ? plantedName(*tipo) : "a full disk");
        ASSERT_TRUE(tipo ? plant(*tipo, sMens, sAnterior) : QFile::copy(sAnterior, sMens));
        script.answer(platform::mb::Ok);
        std::optional<bool> bLimpia = true;
        {
            std::optional<FileSizeLimit> disco;
            if (!tipo)
                disco.emplace(0);
            bLimpia = ValidaDeclaracion(
                [](int nArchivo) {
                    EscribeLinea(nArchivo, "Ingrese correctamente el teléfono");
                    return false;
                },
                datos);
        }
        EXPECT_EQ(bLimpia, std::nullopt);
        ASSERT_EQ(script.shown().size(), 1);
        EXPECT_EQ(script.shown()[0].text, "No se pudo escribir el archivo " + sMens
                                              + ".\nVerifique que no sea una carpeta, un enlace o un dispositivo, que "
                                                "se pueda modificar y que haya espacio en el disco.");
        EXPECT_EQ(script.shown()[0].title, "Error de Archivo");
        EXPECT_EQ(script.shown()[0].style, platform::mb::Critical | platform::mb::OkOnly);
        if (tipo)
            EXPECT_TRUE(stillPlanted(*tipo, sMens, sAnterior));
        EXPECT_EQ(plainBytes(sAnterior), QByteArray("Hallazgo anterior\r\n"));
        ASSERT_TRUE(QFile::remove(sMens) || QDir(sMens).removeRecursively());
        script.clear();
    }
}

} // namespace
