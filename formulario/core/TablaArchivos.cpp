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
    bool bFalloEscritura = false; // a line did not reach the file
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

// The file error that an operating-system failure stands for.
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
    case EIO: return errorArchivo::ErrorDispositivo;
    case ENOSPC:
    case EDQUOT: return errorArchivo::DiscoLleno;
    case EMFILE:
    case ENFILE: return errorArchivo::DemasiadosArchivos;
    default: return errorArchivo::AccesoRuta;
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

bool CierraArchivo(int nArchivo)
{
    const auto it = Tabla().find(nArchivo);
    if (it == Tabla().end())
        return true;
    QFile& archivo = *it->second.archivo;
    archivo.close();
    const bool bEscrito = !it->second.bFalloEscritura && archivo.error() == QFileDevice::NoError;
    Tabla().erase(it);
    return bEscrito;
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
    const bool bEscrita = archivo.isWritable() && archivo.write(bytes) == bytes.size() && archivo.flush();
    if (!bEscrita)
        it->second.bFalloEscritura = true;
    return bEscrita;
}
