#include "formulario/subsystems/import/ArchivoEstado.h"

#include "formulario/core/TablaArchivos.h"
#include "formulario/subsystems/import/Hash.h"
#include "platform/unzip.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

QString SinBarraFinal(const QString& sCarpeta)
{
    return sCarpeta.endsWith(u'/') && sCarpeta.size() > 1 ? sCarpeta.chopped(1) : sCarpeta;
}

} // namespace

bool PreparaCarpetaTemporal(const QString& sCarpeta)
{
    const QFileInfo carpeta(SinBarraFinal(sCarpeta));
    if (carpeta.isSymLink())
        return false;
    QDir dir(carpeta.filePath());
    if (!carpeta.exists() && !dir.mkpath(QStringLiteral(".")))
        return false;
    if (!QFileInfo(carpeta.filePath()).isDir())
        return false;
    const QFileInfoList archivos =
        dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks | QDir::NoDotAndDotDot);
    for (const QFileInfo& archivo : archivos) {
        if (!archivo.isSymLink() && archivo.isFile() && !QFile::remove(archivo.filePath()))
            return false;
    }
    return true;
}

Extraccion ExtraeEstado(const QString& sArchivoZip, const QString& sCarpeta)
{
    if (!PreparaCarpetaTemporal(sCarpeta))
        return Extraccion::Error;

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
    return ErrorDeEscritura(unzip.error()) == errorArchivo::DiscoLleno ? Extraccion::DiscoLleno : Extraccion::Error;
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
