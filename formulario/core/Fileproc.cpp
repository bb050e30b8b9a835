#include "formulario/core/Fileproc.h"

#include "platform/regional.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <exception>
#include <map>

using namespace platform::mb;

namespace {

QString& CarpetaFijada()
{
    static QString sCarpeta;
    return sCarpeta;
}

// A Windows date or time picture in the form QDateTime writes: the day,
// month, year, hour, minute and second letters are the same; "tt" is the
// AM/PM mark.
QString PatronQt(platform::LocaleSetting setting, const QString& sPorDefecto)
{
    QString sPatron = platform::readLocaleSetting(setting).value_or(sPorDefecto);
    sPatron.replace(QStringLiteral("tt"), QStringLiteral("AP"));
    return sPatron;
}

// Now, as the regional settings write a date with its time.
QString FechaHoraRegional()
{
    const QString sPatron = PatronQt(platform::LocaleSetting::ShortDate, QStringLiteral("dd/MM/yyyy")) + u' '
        + PatronQt(platform::LocaleSetting::TimeFormat, QStringLiteral("hh:mm:ss tt"));
    return QDateTime::currentDateTime().toString(sPatron);
}

quint8 ReintentoTablaBloqueada(const QString& sEstado)
{
    const QString sTexto = QStringList{
        QStringLiteral("Se ha excedido del número máximo de reintentos de acceso a una tabla. Posibles causas:"),
        QStringLiteral("1. Puede deberse a que un usuario este actualizando la misma tabla en este momento(BLOQUEOS)."),
        QStringLiteral("2. El usuario no tiene permisos de accesos sobre la tabla (PERMISOS)."),
        QStringLiteral("Si desea continuar reintentando esta operación presione REINTENTAR de"),
        QStringLiteral("lo contrario presione CANCELAR para la cancelación de esta operación."),
    }.join(u'\n');
    if (platform::messageBox(sTexto, RetryCancel | Exclamation, QStringLiteral("Reintentos de acceso ") + sEstado)
        == Retry)
        return kReintentar;
    platform::messageBox(QStringLiteral("Proceso de recepción cancelado por el usuario.\n"
                                        "Reintente la recepción del disquete nuevamente."),
                         OkOnly | Exclamation, QStringLiteral("AVISO!"));
    return kTerminar;
}

// The description line of the log; SQLite's own text, which no box shows,
// follows it.
QString DescripcionRegistrada(const platform::DbError& err)
{
    QString sDescripcion = QStringLiteral("Descripción del error : [%1] %2").arg(err.number()).arg(err.description());
    if (!err.engineText().isEmpty())
        sDescripcion += QStringLiteral(" (SQLite: %1)").arg(err.engineText());
    return sDescripcion;
}

// Appends the four lines of an error to the log, the last its message. A log
// that cannot be opened is left as it is: the error is still shown.
void RegistraError(const QString& sRutina, const platform::DbError& err, const QString& sMensajeError)
{
    const int nArchivo = AbreArchivo(CarpetaPrograma() + QStringLiteral("/errorlog.txt"), modoArchivo::Agregar, 0, true);
    if (nArchivo == 0)
        return;
    EscribeLinea(nArchivo, QStringLiteral("Fecha y Hora del error: ") + FechaHoraRegional());
    EscribeLinea(nArchivo, QStringLiteral("Error producido en    : ") + sRutina);
    EscribeLinea(nArchivo, DescripcionRegistrada(err));
    EscribeLinea(nArchivo, sMensajeError);
    CierraArchivo(nArchivo);
}

// The database engine's error list. A run-time or file error (numbered below
// the engine's errors) comes with none.
QStringList ErroresDelMotor(const platform::DbError& err)
{
    return err.number() < platform::dberr::Generic ? QStringList() : err.errors();
}

quint8 ErrorFatal(const QString& sRutina, const platform::DbError& err)
{
    QString sMensajeError = QStringLiteral("\n\nDescripción del error : [%1] %2. No se puede continuar con la "
                                           "ejecución del módulo\n\n")
                                .arg(err.number())
                                .arg(err.description());
    for (const QString& sError : ErroresDelMotor(err))
        sMensajeError += sError + u'\n';
    RegistraError(sRutina, err, sMensajeError);
    platform::messageBox(sMensajeError, Critical | OkOnly,
                         QStringLiteral("Error crítico: %1 (Rutina: %2) ").arg(err.number()).arg(sRutina));
    return kTerminar;
}

// The file's own name, not its folders, must be free of these characters:
// a folder with a blank (as an installation folder may have) is no fault.
bool NombreValido(const QString& sNombre)
{
    static const QString sProhibidos = QStringLiteral(";<=>?[]* ");
    const QString sPropio = QFileInfo(sNombre).fileName();
    return std::none_of(sPropio.begin(), sPropio.end(), [](QChar c) { return sProhibidos.contains(c); });
}

} // namespace

quint8 ManejaErrorBD(const QString& sRutina, const platform::DbError& err)
{
    if (EsTablaBloqueada(err))
        return ReintentoTablaBloqueada(err.description().left(5));
    return ErrorFatal(sRutina, err);
}

bool EsTablaBloqueada(const platform::DbError& err)
{
    return err.number() == platform::dberr::TableLocked && err.description().startsWith(QLatin1String("S1000"));
}

void MuestraErrorNoGrabado(const QString& sRutina, const platform::DbError& err, const QString& sTitulo)
{
    const QString sMensaje = QStringLiteral("Error Número : %1\n%2\n\nNo se ha grabado ningún cambio.")
                                 .arg(err.number())
                                 .arg(err.description());
    RegistraError(sRutina, err, sMensaje);
    platform::messageBox(sMensaje, Critical | OkOnly, sTitulo);
}

void ManejaErrorNoCapturado(const QString& sDonde)
{
    const auto interno = [](const QString& sDescripcion) {
        return platform::DbError(platform::dberr::InternalError, sDescripcion);
    };
    quint8 nRespuesta = kTerminar;
    try {
        throw;
    } catch (const platform::DbError& err) {
        nRespuesta = ManejaErrorBD(sDonde, err);
    } catch (const std::exception& err) {
        nRespuesta = ManejaErrorBD(sDonde, interno(QString::fromUtf8(err.what())));
    } catch (...) {
        nRespuesta = ManejaErrorBD(sDonde, interno(QStringLiteral("Error interno")));
    }
    // A retry cannot run the failed statement again from here: the
    // operation stops, and the user may start it anew.
    if (nRespuesta == kTerminar)
        platform::endProgram();
}

int AbreArchivo(const QString& sNombre, int nModo, int nLargoRegistro, bool bDebeExistir)
{
    Q_UNUSED(nLargoRegistro); // records are read and written by the caller
    while (!NombreValido(sNombre)) {
        if (MensajeErrorArchivo(errorArchivo::NombreInvalido) != 0)
            return 0;
    }
    if (bDebeExistir && nModo == modoArchivo::BinarioLectura && !QFileInfo(sNombre).isFile()) {
        platform::messageBox(QStringLiteral("No existe archivo: ") + sNombre, Critical | OkOnly,
                             QStringLiteral("ERROR!"));
        return 0;
    }
    if (nModo < modoArchivo::Salida || nModo > modoArchivo::BinarioEscritura)
        return 0;
    for (;;) {
        const int nArchivo = FreeFile();
        const int nError = nArchivo == 0 ? errorArchivo::DemasiadosArchivos : AbreNumero(nArchivo, sNombre, nModo);
        if (nError == 0)
            return nArchivo;
        if (MensajeErrorArchivo(nError) != 0)
            return 0;
    }
}

int MensajeErrorArchivo(int nError)
{
    static const std::map<int, QString> mensajes = {
        {errorArchivo::NumeroInvalido, QStringLiteral("El nombre de archivo es inválido.")},
        {errorArchivo::NoEncontrado, QStringLiteral("El archivo no se encuentra.")},
        {errorArchivo::ModoInvalido, QStringLiteral("No es posible abrir el archivo para el tipo de acceso.")},
        {errorArchivo::YaAbierto, QStringLiteral("El archivo ya está abierto.")},
        {errorArchivo::ErrorDispositivo, QStringLiteral("El diskette está lleno.")},
        {errorArchivo::FinDeArchivo, QStringLiteral("Este archivo no tiene un marcador standard de fin-de-archivo,"
                                                    "o fué hecho un intento de leer después "
                                                    "de la marca de fin-de-archivo.")},
        {errorArchivo::NombreInvalido, QStringLiteral("El nombre de archivo es inválido.")},
        {errorArchivo::NoDisponible, QStringLiteral("El dispositivo no está disponible.")},
        {errorArchivo::DiscoNoListo, QStringLiteral("La disketera no está lista.")},
        {errorArchivo::RutaNoExiste, QStringLiteral("El path no existe.")},
    };
    const auto mensaje = mensajes.find(nError);
    if (mensaje == mensajes.end())
        return 3;
    const int nRespuesta = platform::messageBox(mensaje->second, RetryCancel | Exclamation,
                                                QStringLiteral("Error de Archivo"));
    return nRespuesta == Retry ? 0 : 2;
}

void MensajeArchivoNoEscrito(const QString& sRuta)
{
    platform::messageBox(QStringLiteral("No se pudo escribir el archivo %1.\nVerifique que no sea una carpeta, un "
                                        "enlace o un dispositivo, que se pueda modificar y que haya espacio en el "
                                        "disco.")
                             .arg(sRuta),
                         Critical | OkOnly, QStringLiteral("Error de Archivo"));
}

bool ExisteArchivo(const QString& sRuta)
{
    if (sRuta.isEmpty())
        return false;
    const QFileInfo info(sRuta);
    return !info.dir().entryList({info.fileName()}, QDir::Files).isEmpty();
}

QString CarpetaPrograma()
{
    return CarpetaFijada().isEmpty() ? QCoreApplication::applicationDirPath() : CarpetaFijada();
}

void FijaCarpetaPrograma(const QString& sCarpeta)
{
    CarpetaFijada() = sCarpeta;
}
