#pragma once

// Record helpers: key filters of the text boxes, deleting a declaration's
// rows, existence checks on the host tables, the selection check of the
// declaration grids and the two forms of a tax code.

#include <QString>
#include <QtGlobal>

class QAbstractItemView;

// Keep the key (true) for the digits, Backspace and Enter; otherwise the key
// code becomes 0 and the result is false.
bool SoloNumeros(int& nKeyAscii);
// Keep the key for digits, A-Z, a-z, Enter, Backspace and the codes 164, 165.
bool SoloAlfanumericos(int& nKeyAscii);

// Deletes from `sTabla` the rows of the declaration (document type and
// number, sPeriodo, form "0913", nEntidad; and `sCorrelativo` for a sent
// declaration's table other than a work table "TMP...") when `nFiltro` is 1;
// with any other filter the whole table is emptied. Errors are ignored.
void EliminaDataTabla(const QString& sTabla, int nTipoDoc, const QString& sNumDoc, quint8 nFiltro,
                      const QString& sCorrelativo);

// True when CAB holds a declaration of that RUC for nEntidad (any period);
// with `nMensaje` 1 the user is told to delete it first. A failed read goes
// to the central handler.
bool VerificaTablaValor(const QString& sRuc, quint8 nMensaje);
// The same read alone: a failure throws, for a caller holding a transaction.
bool ExisteDeclaracion(const QString& sRuc);
// Tells the user a declaration of the RUC exists and must be deleted first.
void AvisaDeclaracionExistente();

// Operation codes of ValidaSeleccionGrilla.
namespace operacionGrilla {
constexpr quint8 Actualizar = 1;
constexpr quint8 Eliminar = 2;
constexpr quint8 VerEnviadas = 3;
} // namespace operacionGrilla

// True when the declaration grid has rows and its current row has a document
// type (second column); otherwise the user is told why.
bool ValidaSeleccionGrilla(const QAbstractItemView& oGrilla, quint8 nOperacion);

// Tax code: with `bSeisCaracteres` "abcd" (trimmed) becomes "0abc0d";
// without it "0abc0d" becomes "abcd".
QString FormateaCodigo(const QString& sCodigo, bool bSeisCaracteres);
