#include "formulario/subsystems/import/ArchivoEstado.h"

#include "formulario/core/TablaArchivos.h"
#include "formulario/subsystems/import/Hash.h"
#include "platform/unzip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString SinBarraFinal(const QString& sCarpeta)
{
    return sCarpeta.endsWith(u'/') && sCarpeta.size() > 1 ? sCarpeta.chopped(1) : sCarpeta;
}

// Makes the folder, and any missing one above it; the errno of the mkdir(2)
// that failed, 0 once something lies at the name.
int CreaCarpeta(const QByteArray& sRuta)
{
    if (::mkdir(sRuta.constData(), 0777) == 0 || errno == EEXIST)
        return 0;
    const int nSlash = sRuta.lastIndexOf('/');
    if (errno != ENOENT || nSlash <= 0)
        return errno;
    if (const int nErrno = CreaCarpeta(sRuta.left(nSlash)))
        return nErrno;
    return ::mkdir(sRuta.constData(), 0777) == 0 || errno == EEXIST ? 0 : errno;
}

// The errno of why the folder could not be made ready, 0 when it is.
int VaciaCarpeta(const QString& sCarpeta)
{
    const QFileInfo carpeta(sCarpeta);
    if (carpeta.isSymLink())
        return ELOOP;
    if (const int nErrno = CreaCarpeta(QFile::encodeName(sCarpeta)))
        return nErrno;
    if (!QFileInfo(sCarpeta).isDir())
        return ENOTDIR;
    const QFileInfoList archivos = QDir(sCarpeta).entryInfoList(QDir::Files | QDir::Hidden | QDir::System
                                                                | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QFileInfo& archivo : archivos) {
        const QByteArray sRuta = QFile::encodeName(archivo.filePath());
        if (!archivo.isSymLink() && archivo.isFile() && ::unlink(sRuta.constData()) != 0)
            return errno;
    }
    return 0;
}

// A write the system refused with `nErrno`: for want of room, or for any other cause.
Extraccion FalloDeEscritura(int nErrno)
{
    return ErrorDeEscritura(nErrno) == errorArchivo::DiscoLleno ? Extraccion::DiscoLleno : Extraccion::Error;
}

} // namespace

bool PreparaCarpetaTemporal(const QString& sCarpeta, int* nErrno)
{
    const int nFallo = VaciaCarpeta(SinBarraFinal(sCarpeta));
    if (nErrno)
        *nErrno = nFallo;
    return nFallo == 0;
}

Extraccion ExtraeEstado(const QString& sArchivoZip, const QString& sCarpeta)
{
    int nErrno = 0;
    if (!PreparaCarpetaTemporal(sCarpeta, &nErrno))
        return FalloDeEscritura(nErrno);

    QList<platform::ZipEntry> entradas;
    if (!platform::zipEntries(sArchivoZip, &entradas) || entradas.isEmpty())
        return Extraccion::Error;
    const platform::ZipEntry& entrada = entradas.first();
    if (entradas.size() > 1 || entrada.folder || !platform::isSafeEntryName(entrada.name)
        || entrada.size > kLargoMaximoEstado)
        return Extraccion::NoValido;
    // A link or folder left under the entry's name is not written through.
    const QFileInfo destino(QDir(sCarpeta).filePath(QFileInfo(entrada.name).fileName()));
    if (destino.exists() || destino.isSymLink())
        return Extraccion::Error;

    platform::Unzip unzip;
    unzip.setArchiveName(sArchivoZip);
    unzip.setRestoreStructure(false);
    unzip.setExtractTo(sCarpeta);
    unzip.setOverwrite(true);
    unzip.setMaxFileSize(kLargoMaximoEstado);
    if (unzip.extract() > 0)
        return Extraccion::Ok;
    return FalloDeEscritura(unzip.error());
}

QString PrimerArchivo(const QString& sCarpeta)
{
    return QDir(sCarpeta).entryList(QDir::Files | QDir::NoSymLinks, QDir::Name).value(0);
}

bool NombreEsHash(const QString& sRuta)
{
    const QString sNombre = QFileInfo(sRuta).fileName();
    if (sNombre.size() < 4)
        return false;
    const QString sHash = CalculaHashArchivo(sRuta);
    return !sHash.isEmpty() && sNombre.left(sNombre.size() - 4) == sHash;
}

std::optional<QList<QByteArray>> LineasEstado(const QByteArray& contenido)
{
    if (contenido.size() > kLargoMaximoEstado)
        return std::nullopt;
    QList<QByteArray> lineas;
    const char* inicio = contenido.constData();
    const char* const fin = inicio + contenido.size();
    while (inicio < fin) {
        const char* final = inicio;
        while (final < fin && *final != '\r' && *final != '\n')
            ++final;
        if (final - inicio > kLargoMaximoLinea)
            return std::nullopt;
        lineas.append(QByteArray(inicio, final - inicio));
        if (final < fin && *final == '\r' && final + 1 < fin && final[1] == '\n')
            ++final;
        inicio = final + 1;
    }
    return lineas;
}
