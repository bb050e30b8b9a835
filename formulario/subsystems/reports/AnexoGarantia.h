#pragma once

// The guarantee annexes of a declaration report: the letter of guarantee
// (kind "CF") and the mortgage ("GH") that the payment plan requires, each
// listing the debts the guarantee covers, their total, the amount of the
// guarantee and how to hand it in, on portrait pages.

#include <QDate>
#include <QString>

// "Enero" to "Diciembre" for 1 to 12; "" for any other number.
QString NombreMes(int nMes);

// The header's date line for `dFecha`: "    , 9 de Junio de 2026".
QString LineaFechaGarantia(const QDate& dFecha);

// Reads the declaration's F0913GARANTIA row (declarant of document type
// `nTipDoc` and number sRuc, sPeriodo, nEntidad) into sIndGarantia,
// sIndPersona, sMtoDeuda and sMtoDeudaGarantia, an empty amount as "0".
// Without a row they stay as they were.
void CargaGarantiaReporte(int nTipDoc);

// Opens the next page with the guarantee report's header and gives its index.
int ImprimeCabeceraGarantia(const QString& sTipo);

// Writes the annex of kind "CF" or "GH": the debts the guarantee covers,
// their total and the guarantee's amount (the total, less the initial
// instalment unless the plan defers before its instalments, times 1.05 for
// "CF" or 1.4 for "GH"). `sTitulo` heads the block of an annex without rows;
// `nTipDoc` is the declarant's document type, for its guarantee row.
void ImprimeAnexoGarantia(const QString& sTitulo, const QString& sTipo, int nTipDoc);
