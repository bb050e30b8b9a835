#pragma once

// Files opened by number. A number is taken with FreeFile, the file is
// opened under it in one of six modes and stays open until CierraArchivo.
// Text files are read and written in Windows-1252, lines ended by CR LF.
// Failures are told by the classic file error numbers (53 file not found,
// 76 path not found, ...) that MensajeErrorArchivo explains to the user.

#include "platform/dberror.h"

#include <QString>

class QFile;

namespace modoArchivo {
constexpr int Salida = 1;           // sequential output; an existing file is replaced
constexpr int Entrada = 2;          // sequential input
constexpr int Agregar = 3;          // sequential append; created when missing
constexpr int Aleatorio = 4;        // read and write anywhere; created when missing
constexpr int BinarioLectura = 5;   // read only
constexpr int BinarioEscritura = 6; // write only; created when missing, not emptied
} // namespace modoArchivo

namespace errorArchivo {
constexpr int NumeroInvalido = 52;     // bad file name or number
constexpr int NoEncontrado = 53;
constexpr int ModoInvalido = 54;
constexpr int YaAbierto = 55;
constexpr int ErrorDispositivo = 57;   // device input/output error
constexpr int DiscoLleno = 61;
constexpr int FinDeArchivo = 62;       // input past end of file
constexpr int NombreInvalido = 64;
constexpr int DemasiadosArchivos = 67;
constexpr int NoDisponible = 68;       // device unavailable
constexpr int DiscoNoListo = 71;
constexpr int AccesoRuta = 75;         // path/file access error (a folder, no rights)
constexpr int RutaNoExiste = 76;
} // namespace errorArchivo

// The file error an operating-system failure (errno) on the file `sRuta`
// stands for.
int ErrorDeSistema(int nErrno, const QString& sRuta);
// The file error of a write that failed with `nErrno`: 61 (disk full) when
// the disk or the user's quota had no room left for it, else 57 (device
// error).
int ErrorDeEscritura(int nErrno);
// The run-time error of a file error number, with its standard text.
platform::DbError ErrorDeArchivo(int nError);

// The lowest number not in use (1 to 255); 0 when all are taken.
int FreeFile();
// Opens the file under `nArchivo`; 0 when it is open, else the file error.
// A file open for anything but input cannot be opened a second time. Only a
// plain file is opened (platform/plainfile.h): a folder, a FIFO or a device
// at the name, or a link for anything but input, gives 75 (path/file access).
int AbreNumero(int nArchivo, const QString& sNombre, int nModo);
// Closes the file; 0 when everything written to it reached it, else the
// file error (ErrorDeEscritura) of the first write that did not. A number
// that is not open is left alone.
int CierraArchivo(int nArchivo);
// The open file, for random and binary access; nullptr when not open.
QFile* ArchivoAbierto(int nArchivo);

// Reads the next line (without its end: CR LF, LF or a CR alone); false
// past the end of the file or when the number is not open for reading.
bool LeeLinea(int nArchivo, QString& sLinea);
bool FinArchivo(int nArchivo);
// Writes the text and CR LF; false when it could not be written.
bool EscribeLinea(int nArchivo, const QString& sLinea);
// The file error (ErrorDeEscritura) of the first line of the open file that
// could not be written; 0 when none.
int ErrorLineaNoEscrita(int nArchivo);
