#pragma once

// The statement file before any of it is loaded: the temporary import folder
// made ready, the archive's one file extracted into it within the size
// limits, its name checked against its digest, and its lines split.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

// Outcome of unzipping: extracted, failed (for a full disk, or for any other
// cause), or an archive that is not a statement's.
enum class Extraccion { Ok, Error, DiscoLleno, NoValido };

// A statement of several hundred thousand records stays well inside these.
constexpr qint64 kLargoMaximoEstado = qint64(256) << 20; // bytes of the extracted file
constexpr qsizetype kLargoMaximoLinea = 32 * 1024;       // bytes of one record

// Makes the folder ready for an extraction: created when missing, its plain
// files removed. Links and sub-folders in it are left alone and never
// followed. False when the folder itself is a link or cannot be made or
// emptied; `*nErrno`, when asked for, then tells why (ELOOP for a link,
// ENOSPC for a disk with no room left for it, ...).
bool PreparaCarpetaTemporal(const QString& sCarpeta, int* nErrno = nullptr);

// Extracts the statement archive's one file into the folder by its base
// name. NoValido for an archive of more than one file, a folder entry, a name
// that leaves the folder, or a file stated larger than kLargoMaximoEstado;
// Error when the archive cannot be read, the folder prepared, or the file
// written whole within that size (nothing of it is left); DiscoLleno when
// the disk or the user's quota had no room for the folder or the file.
Extraccion ExtraeEstado(const QString& sArchivoZip, const QString& sCarpeta);

// The first plain file of the folder by name (links are not listed); "" when none.
QString PrimerArchivo(const QString& sCarpeta);

// Whether the file is named by the digest of its content and a
// four-character extension.
bool NombreEsHash(const QString& sRuta);

// The records of a statement file's content: lines ended by CR LF, LF or a
// CR alone, in one pass whatever the ends; a last line without an end counts.
// Nothing when the content is larger than kLargoMaximoEstado or a line
// longer than kLargoMaximoLinea.
std::optional<QList<QByteArray>> LineasEstado(const QByteArray& contenido);
