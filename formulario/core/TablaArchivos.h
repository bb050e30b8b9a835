#pragma once

// Files opened by number. A number is taken with FreeFile, the file is
// opened under it in one of six modes and stays open until CierraArchivo.
// Text files are read and written in Windows-1252, lines ended by CR LF.
// Failures are told by the classic file error numbers (53 file not found,
// 76 path not found, ...) that MensajeErrorArchivo explains to the user.

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

// The lowest number not in use (1 to 255); 0 when all are taken.
int FreeFile();
// Opens the file under `nArchivo`; 0 when it is open, else the file error.
// A file open for anything but input cannot be opened a second time. Only a
// plain file is opened (platform/plainfile.h): a folder, a FIFO or a device
// at the name, or a link for anything but input, gives 75 (path/file access).
int AbreNumero(int nArchivo, const QString& sNombre, int nModo);
// Closes the file; false when something written to it did not reach it. A
// number that is not open is left alone.
bool CierraArchivo(int nArchivo);
// The open file, for random and binary access; nullptr when not open.
QFile* ArchivoAbierto(int nArchivo);

// Reads the next line (without its end: CR LF, LF or a CR alone); false
// past the end of the file or when the number is not open for reading.
bool LeeLinea(int nArchivo, QString& sLinea);
bool FinArchivo(int nArchivo);
// Writes the text and CR LF; false when it could not be written.
bool EscribeLinea(int nArchivo, const QString& sLinea);
