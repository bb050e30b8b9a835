#include "formulario/core/TablaArchivos.h"

#include "platform/plainfile.h"
#include "platform/textfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <map>
#include <memory>

namespace {

constexpr int kUltimoNumero = 255;

struct ArchivoNumerado {
    std::unique_ptr<QFile> archivo;
    int nModo = 0;
    QString sRuta; // absolute, to find the same file under another number
    int nErrorEscritura = 0; // of the first line that did not reach the file
};

std::map<int, ArchivoNumerado>& Tabla()
{
    static std::map<int, ArchivoNumerado> tabla;
    return tabla;
}

int BanderasApertura(int nModo)
{
    switch (nModo) {
    case modoArchivo::Salida: return O_WRONLY | O_CREAT | O_TRUNC;
    case modoArchivo::Entrada: return O_RDONLY;
    case modoArchivo::Agregar: return O_WRONLY | O_CREAT | O_APPEND;
    case modoArchivo::Aleatorio: return O_RDWR | O_CREAT;
    case modoArchivo::BinarioLectura: return O_RDONLY;
    case modoArchivo::BinarioEscritura: return O_WRONLY | O_CREAT;
    default: return -1;
    }
}

QIODevice::OpenMode ModoQt(int nModo)
{
    switch (nModo) {
    case modoArchivo::Entrada:
    case modoArchivo::BinarioLectura: return QIODevice::ReadOnly;
    case modoArchivo::Aleatorio: return QIODevice::ReadWrite;
    case modoArchivo::Agregar: return QIODevice::WriteOnly | QIODevice::Append;
    default: return QIODevice::WriteOnly;
    }
}

bool EnUsoPorOtro(const QString& sRuta, int nModo)
{
    for (const auto& [nNumero, abierto] : Tabla()) {
        if (abierto.sRuta == sRuta && (nModo != modoArchivo::Entrada || abierto.nModo != modoArchivo::Entrada))
            return true;
    }
    return false;
}

} // namespace

int ErrorDeSistema(int nErrno, const QString& sRuta)
{
    switch (nErrno) {
    case ENOENT: return QFileInfo(sRuta).absoluteDir().exists() ? errorArchivo::NoEncontrado : errorArchivo::RutaNoExiste;
    case ENOTDIR: return errorArchivo::RutaNoExiste;
    case ENAMETOOLONG:
    case EILSEQ:
    case EINVAL: return errorArchivo::NombreInvalido;
    case ENODEV:
    case ENXIO: return errorArchivo::NoDisponible;
    case ENOMEDIUM: return errorArchivo::DiscoNoListo;
    case EIO:
    case ENOSPC:
    case EDQUOT: return ErrorDeEscritura(nErrno);
    case EMFILE:
    case ENFILE: return errorArchivo::DemasiadosArchivos;
    default: return errorArchivo::AccesoRuta;
    }
}

int ErrorDeEscritura(int nErrno)
{
    return nErrno == ENOSPC || nErrno == EDQUOT ? errorArchivo::DiscoLleno : errorArchivo::ErrorDispositivo;
}

platform::DbError ErrorDeArchivo(int nError)
{
    static const std::map<int, const char*> textos = {
        {errorArchivo::NumeroInvalido, "Nombre o número de archivo incorrecto"},
        {errorArchivo::NoEncontrado, "No se ha encontrado el archivo"},
        {errorArchivo::ModoInvalido, "Modo de archivo incorrecto"},
        {errorArchivo::YaAbierto, "El archivo ya está abierto"},
        {errorArchivo::ErrorDispositivo, "Error de E/S de dispositivo"},
        {errorArchivo::DiscoLleno, "Disco lleno"},
        {errorArchivo::NombreInvalido, "Nombre de archivo incorrecto"},
        {errorArchivo::DemasiadosArchivos, "Demasiados archivos"},
        {errorArchivo::NoDisponible, "Dispositivo no disponible"},
        {errorArchivo::DiscoNoListo, "El disco no está listo"},
        {errorArchivo::AccesoRuta, "Error de acceso a la ruta o el archivo"},
        {errorArchivo::RutaNoExiste, "No se ha encontrado la ruta de acceso"},
    };
    const auto texto = textos.find(nError);
    return platform::DbError(nError, QString::fromUtf8(texto != textos.end() ? texto->second
                                                                              : "Error de acceso a la ruta o el archivo"));
}

int FreeFile()
{
    for (int nArchivo = 1; nArchivo <= kUltimoNumero; ++nArchivo) {
        if (!Tabla().count(nArchivo))
            return nArchivo;
    }
    return 0;
}

int AbreNumero(int nArchivo, const QString& sNombre, int nModo)
{
    const int nBanderas = BanderasApertura(nModo);
    if (nBanderas < 0)
        return errorArchivo::ModoInvalido;
    if (nArchivo < 1 || nArchivo > kUltimoNumero || sNombre.isEmpty())
        return errorArchivo::NumeroInvalido;
    const QString sRuta = QFileInfo(sNombre).absoluteFilePath();
    if (Tabla().count(nArchivo) || EnUsoPorOtro(sRuta, nModo))
        return errorArchivo::YaAbierto;

    // A link, a FIFO or a device at the name is refused as a folder is.
    const platform::PlainFileOpen abierto = platform::openPlainFile(sRuta, nBanderas);
    if (abierto.notPlain)
        return errorArchivo::AccesoRuta;
    if (abierto.fd < 0)
        return ErrorDeSistema(abierto.error, sRuta);
    auto archivo = std::make_unique<QFile>();
    if (!platform::adoptPlainFile(archivo.get(), abierto.fd, ModoQt(nModo)))
        return errorArchivo::AccesoRuta;
    Tabla()[nArchivo] = ArchivoNumerado{std::move(archivo), nModo, sRuta};
    return 0;
}

int CierraArchivo(int nArchivo)
{
    const auto it = Tabla().find(nArchivo);
    if (it == Tabla().end())
        return 0;
    QFile& archivo = *it->second.archivo;
    errno = 0;
    archivo.close();
    int nError = it->second.nErrorEscritura;
    if (nError == 0 && archivo.error() != QFileDevice::NoError)
        nError = ErrorDeEscritura(errno);
    Tabla().erase(it);
    return nError;
}

QFile* ArchivoAbierto(int nArchivo)
{
    const auto it = Tabla().find(nArchivo);
    return it == Tabla().end() ? nullptr : it->second.archivo.get();
}

bool LeeLinea(int nArchivo, QString& sLinea)
{
    QFile* archivo = ArchivoAbierto(nArchivo);
    if (!archivo || !archivo->isReadable() || archivo->atEnd())
        return false;
    // A line ends at CR LF, LF or a carriage return alone; it is read up to
    // its end only, so every kind of line end costs the same.
    QByteArray bytes;
    char c = 0;
    while (archivo->getChar(&c) && c != '\r' && c != '\n')
        bytes.append(c);
    char siguiente = 0;
    if (c == '\r' && archivo->peek(&siguiente, 1) == 1 && siguiente == '\n')
        archivo->getChar(&siguiente);
    sLinea = platform::fromCp1252(bytes);
    return true;
}

bool FinArchivo(int nArchivo)
{
    QFile* archivo = ArchivoAbierto(nArchivo);
    return !archivo || archivo->atEnd();
}

bool EscribeLinea(int nArchivo, const QString& sLinea)
{
    const auto it = Tabla().find(nArchivo);
    if (it == Tabla().end())
        return false;
    QFile& archivo = *it->second.archivo;
    const QByteArray bytes = platform::toCp1252(sLinea) + "\r\n";
    // A write the system refuses sets errno; one that never reaches it (a
    // file not open for output) leaves 0, a device error.
    errno = 0;
    const bool bEscrita = archivo.isWritable() && archivo.write(bytes) == bytes.size() && archivo.flush();
    if (!bEscrita && it->second.nErrorEscritura == 0)
        it->second.nErrorEscritura = ErrorDeEscritura(errno);
    return bEscrita;
}

int ErrorLineaNoEscrita(int nArchivo)
{
    const auto it = Tabla().find(nArchivo);
    return it == Tabla().end() ? 0 : it->second.nErrorEscritura;
}
