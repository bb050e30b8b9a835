#include "reporte/Reporte.h"

#include "formulario/core/TablaArchivos.h"
#include "formulario/markup/ArchivoSpool.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/hostaccount.h"
#include "platform/plainfile.h"
#include "platform/profile.h"
#include "reporte/ResumenEnvio.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>

namespace reporte {

namespace {

using namespace platform::mb;

const QString kArchivoConfiguracion = QStringLiteral("KOVAL.INI");
const QString kSeccion = QStringLiteral("Options");
const QString kCodigoReporte = QStringLiteral("F36008");
constexpr int kTipoDocumentoRuc = 6;
constexpr int kIntentosTemporal = 100;

// The run ends early with this status; its message was shown.
struct FinReporte {
    int nSalida;
};

// KOVAL.INI, section Options, and the folders under the database folder.
struct ConfigReporte {
    QString sRutaBase;   // DBPath
    QString sBaseDatos;  // DBPath followed by DBName
    QString sUsuario;    // SysUser
    QString sCarpetaRpt; // DBPath/RPT
    QString sCarpetaTmp; // DBPath/TMP
};

// The open shared database of the run.
std::unique_ptr<platform::Database> oBaseReporte;
// The plain-text file of the run, in the temporary folder until it is copied.
QString sArchivoTexto;

QString LeeOpcion(const QString& sClave)
{
    return platform::readProfileString(kSeccion, sClave, QString(), kArchivoConfiguracion, 255).trimmed();
}

// A folder or file in the folder, with one separator between them whether or
// not the folder ends with one.
QString UneRuta(const QString& sCarpeta, const QString& sNombre)
{
    return sCarpeta.isEmpty() ? sNombre : QDir(sCarpeta).filePath(sNombre);
}

[[noreturn]] void Termina(const QString& sTexto, const QString& sTitulo, int nSalida)
{
    platform::messageBox(sTexto, Critical | OkOnly, sTitulo);
    throw FinReporte{nSalida};
}

// A name made only to be one file of a folder: no folder of its own, and
// none of the characters a file name cannot hold.
bool EsNombreDeArchivo(const QString& sNombre)
{
    static const QString kProhibidos = QStringLiteral("\\/:*?\"<>|");
    for (QChar c : sNombre) {
        if (kProhibidos.contains(c) || c.unicode() < 32)
            return false;
    }
    return !sNombre.trimmed().isEmpty();
}

ConfigReporte LeeConfigReporte()
{
    ConfigReporte config;
    config.sRutaBase = LeeOpcion(QStringLiteral("DBPath"));
    config.sBaseDatos = config.sRutaBase + LeeOpcion(QStringLiteral("DBName"));
    config.sUsuario = LeeOpcion(QStringLiteral("SysUser"));
    config.sCarpetaRpt = UneRuta(config.sRutaBase, QStringLiteral("RPT"));
    config.sCarpetaTmp = UneRuta(config.sRutaBase, QStringLiteral("TMP"));
    return config;
}

// The boxes 1 to 600 of the declaration; any other box is not the
// summary's and is left out.
void LeeCasillas(const LineaComando& linea, QStringList& aCasillas)
{
    auto rs = oBaseReporte->openRecordset(
        QStringLiteral("SELECT CASILLA, I_VALOR FROM DET WHERE DOC_ID_D = ? AND PERIODO = ? AND FORMULARIO = ? "
                       "AND SEMANA = ?"),
        {linea.sDocumento.trimmed(), linea.sPeriodoEnvio, QStringLiteral("0913"), linea.sEntidad.toInt()});
    for (; !rs->eof(); rs->moveNext()) {
        bool bNumero = false;
        const int nCasilla = rs->field(QStringLiteral("CASILLA")).text().trimmed().toInt(&bNumero);
        if (bNumero && nCasilla >= 1 && nCasilla <= kUltimaCasilla)
            aCasillas[nCasilla] = rs->field(QStringLiteral("I_VALOR")).text();
    }
}

void AbreBaseReporte(const ConfigReporte& config)
{
    const QString sGrupoTrabajo = UneRuta(config.sRutaBase, QStringLiteral("KOVAL.MDW"));
    platform::writeProfileString(kSeccion, QStringLiteral("SystemDB"), sGrupoTrabajo, kArchivoConfiguracion);
    platform::OpenOptions opciones;
    opciones.workgroupFile = sGrupoTrabajo;
    opciones.user = platform::workgroupUser();
    opciones.password = platform::workgroupPassword();
    try {
        oBaseReporte = platform::Database::open(config.sBaseDatos, opciones);
    } catch (const platform::DbError& e) {
        Termina(u'\n' + e.description() + QStringLiteral("\nIntente nuevamente por favor."), QStringLiteral("Mensaje"),
                SalidaSinBase);
    }
}

// The declarant's name (a Null name reads as ""); nothing when the document
// is not registered.
std::optional<QString> LeeNombre(const QString& sDocumento)
{
    auto rs = oBaseReporte->openRecordset(QStringLiteral("SELECT nombre FROM CONT WHERE doc_id_d = ? AND tip_doc_d = ?"),
                                          {sDocumento, kTipoDocumentoRuc});
    if (rs->eof())
        return std::nullopt;
    return rs->field(QStringLiteral("nombre")).text();
}

// Registers the markup summary and writes it into the registered file.
ArchivoSpool RegistraSpool(const ConfigReporte& config, const QString& sDocumento, const DatosResumen& datos)
{
    const QString sUsuario = config.sUsuario.isEmpty() ? QStringLiteral("ADMINIST") : config.sUsuario;
    return GeneraArchivoSpool(*oBaseReporte, config.sCarpetaRpt, kCodigoReporte, sDocumento, kTipoDocumentoRuc,
                              sUsuario, [&datos](const QString& sRuta) { ImprimeResumen(datos, sRuta); });
}

// Copies the file over any plain file of that name; a folder, a link, a FIFO
// or a device there is left as it is.
void CopiaArchivo(const QString& sOrigen, const QString& sDestino)
{
    QByteArray contenido;
    if (platform::readPlainFile(sOrigen, &contenido) != platform::ReadFailure::None)
        throw ErrorDeArchivo(errorArchivo::AccesoRuta);
    int nErrno = 0;
    if (!platform::writePlainFile(sDestino, contenido, &nErrno))
        throw ErrorDeArchivo(ErrorDeSistema(nErrno, sDestino));
}

void GeneraReporte(const QString& sLineaComando)
{
    const LineaComando linea = LeeLineaComando(sLineaComando);
    const std::optional<Entidad> entidad = BuscaEntidad(linea.sEntidad);
    if (!entidad) {
        Termina(QStringLiteral("El código de entidad \"%1\" no es válido. No se generó el Reporte de Envio.")
                    .arg(linea.sEntidad),
                QStringLiteral("Error"), SalidaLineaInvalida);
    }
    const QString sNombreBase = linea.NombreBase();
    if (!EsNombreDeArchivo(sNombreBase)) {
        Termina(QStringLiteral("El nombre de archivo \"%1\" no es válido. No se generó el Reporte de Envio.")
                    .arg(sNombreBase),
                QStringLiteral("Error"), SalidaLineaInvalida);
    }

    const ConfigReporte config = LeeConfigReporte();
    AbreBaseReporte(config);

    DatosResumen datos;
    datos.sDocumento = linea.sDocumento;
    datos.sPeriodoEnvio = linea.sPeriodoEnvio;
    datos.sNomEntidad = entidad->sNomEntidad;
    datos.nCasillaBase = entidad->nCasillaBase;
    LeeCasillas(linea, datos.aCasillas);
    const QString sDocumento = linea.sDocumento.trimmed();
    const std::optional<QString> sNombre = LeeNombre(sDocumento);
    if (!sNombre)
        Termina(QStringLiteral("No existe data para Generar Reporte de Envio!!!\r\n\n"), QStringLiteral("Error"), SalidaSinDatos);
    datos.sNombre = *sNombre;

    sArchivoTexto = CreaArchivoTemporal(config.sCarpetaTmp, *QRandomGenerator::global());
    ImprimeResumenTexto(datos, sArchivoTexto);
    const ArchivoSpool spool = RegistraSpool(config, sDocumento, datos);

    CopiaArchivo(spool.sRuta, UneRuta(config.sCarpetaRpt, sNombreBase + QStringLiteral(".PRN")));
    CopiaArchivo(sArchivoTexto, UneRuta(config.sCarpetaTmp, sNombreBase + QStringLiteral(".txt")));
}

void MuestraErrorTecnico(const platform::DbError& e)
{
    // The number as Str writes it: a blank before a positive number.
    const QString sNumero = e.number() >= 0 ? u' ' + QString::number(e.number()) : QString::number(e.number());
    platform::messageBox(QStringLiteral("Error tecnico: ") + sNumero + u'\n' + e.description()
                             + QStringLiteral("\nIntente nuevamente por favor."),
                         Critical | OkOnly, QStringLiteral("Mensaje"));
}

} // namespace

QString LineaComando::NombreBase() const
{
    return QStringLiteral("0913") + sPeriodoEnvio + sEntidad + sSufijo;
}

LineaComando LeeLineaComando(const QString& sLinea)
{
    LineaComando linea;
    linea.sDocumento = sLinea.mid(2, 15);
    linea.sPeriodoEnvio = sLinea.mid(21, 6);
    linea.sEntidad = sLinea.mid(27, 1);
    linea.sSufijo = sLinea.mid(28, 8);
    return linea;
}

QString CreaArchivoTemporal(const QString& sCarpeta, QRandomGenerator& generador)
{
    for (int i = 0; i < kIntentosTemporal; ++i) {
        const QString sRuta = UneRuta(sCarpeta, QString::number(generador.bounded(10000000, 100000000)));
        const platform::PlainFileOpen archivo = platform::openPlainFile(sRuta, O_WRONLY | O_CREAT | O_EXCL);
        if (archivo.fd >= 0) {
            ::close(archivo.fd);
            return sRuta;
        }
        // Only a name that is taken is drawn again.
        if (archivo.error != EEXIST && !archivo.notPlain)
            throw ErrorDeArchivo(ErrorDeSistema(archivo.error, sRuta));
    }
    throw ErrorDeArchivo(errorArchivo::AccesoRuta);
}

std::optional<Entidad> BuscaEntidad(const QString& sEntidad)
{
    static const QList<QPair<QString, Entidad>> entidades{
        {QStringLiteral("1"), {QStringLiteral("TESORO"), 500}},  {QStringLiteral("2"), {QStringLiteral("ESSALUD"), 507}},
        {QStringLiteral("3"), {QStringLiteral("ONP"), 514}},     {QStringLiteral("5"), {QStringLiteral("FONAVI"), 521}},
        {QStringLiteral("8"), {QStringLiteral("FONCOMUN"), 528}},
    };
    for (const auto& [sCodigo, entidad] : entidades) {
        if (sCodigo == sEntidad)
            return entidad;
    }
    return std::nullopt;
}

int Main(const QString& sLineaComando)
{
    int nSalida = SalidaCompleta;
    try {
        GeneraReporte(sLineaComando);
    } catch (const FinReporte& fin) {
        nSalida = fin.nSalida;
    } catch (const platform::DbError& e) {
        MuestraErrorTecnico(e);
        nSalida = SalidaError;
    }
    if (!sArchivoTexto.isEmpty())
        QFile::remove(sArchivoTexto);
    sArchivoTexto.clear();
    oBaseReporte.reset();
    return nSalida;
}

} // namespace reporte
