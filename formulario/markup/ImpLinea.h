#pragma once

// ImpLinea: the writers of the report markup and the writer state that every
// report producer shares with them. A report file holds one tag or command a
// line: tags "<!name!>value<!/name!>" (font, page count, orientation, preview
// colour) and the commands "pPos|X|Y|text|bold|size|page|",
// "pCuadro|x1|y1|x2|y2|page|" and "pNuevaHoja". Coordinates are twips from
// the top left corner of the page; pages are numbered from 0 in the commands.
// The producer takes a free number into nArchivo, opens the file for output
// under it (TablaArchivos), sets sSalida to "ARCHIVO", nLinea to 0 and
// nPagina to the first page, writes, and closes the file.
// A failed write throws platform::DbError with the file error number
// (ErrorEscrituraReporte).

#include "platform/dberror.h"

#include <QString>
#include <QVariant>

extern QString sSalida;   // "ARCHIVO": the writers append to file nArchivo
extern int nArchivo;      // number of the open report file
extern int nPagina;       // 1-based page for ImprimeLinea; producers may keep a page index in it
extern int nLinea;        // lines written on the current page through ImprimeLinea
extern int nLargoPag;     // page-length setting: below 83 a page holds 85 lines, else 83
extern int nFila;         // running y of the plain lines ImprimeLinea places
extern QString sLineaRep; // the producers' line buffer
extern QString sFilaRep;  // page counter a producer keeps as text ("0", "1", ...)
extern int nUltPagina;    // page index the last page header of a declaration report opened

inline const QString kSalidaArchivo = QStringLiteral("ARCHIVO");
inline const QString kNuevaHoja = QStringLiteral("pNuevaHoja");
inline const QString kTagFuente = QStringLiteral("<!font!>Courier New<!/font!>");
inline const QString kTagVertical = QStringLiteral("<!Orientacion!>V<!/Orientacion!>");
inline const QString kTagHorizontal = QStringLiteral("<!Orientacion!>H<!/Orientacion!>");
inline const QString kTagColor = QStringLiteral("<!Color!>&H00FFFFC0&<!/Color!>"); // pale cyan preview pages

// The run-time error of a report file that could not be written whole, for
// its file error: a full disk is told as such, any other failure as a write
// of the report that failed.
platform::DbError ErrorEscrituraReporte(int nError);

// Writes a tag line unchanged, or turns a plain line into a "pPos" command at
// x 10, nFila + 175, size 8, page nPagina - 1, and leaves the command in
// `sLinea`. After page 1 a tag line passes only while sLineaRep holds an
// orientation tag. Counts the line and writes "pNuevaHoja" after the last
// line of a full page.
void ImprimeLinea(QString& sLinea);
// Writes one "pPos" command; "pNuevaHoja" is written alone, and a tag line
// only on page 1 (nPagina 1 or less). No line counting.
void ImprimeTexto(int X, int Y, const QString& sTexto, bool bNegrita, const QVariant& vTamano, int nHoja);
// Writes one "pCuadro" command, the outline of a rectangle.
void ImprimeCuadro(int x1, int y1, int x2, int y2, int nHoja);

// Starts a new sheet in the orientation of `sTagOrientacion` (kTagVertical or
// kTagHorizontal): "pNuevaHoja", then the tag through ImprimeLinea. The line
// counter starts again, so a page that holds only positioned texts never
// reaches the automatic page break.
void ImprimeNuevaHoja(const QString& sTagOrientacion);
