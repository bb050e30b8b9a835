#pragma once

// Input, text and date helpers shared by the data-entry forms, and the
// interest update of a debt.

#include "formulario/core/Moneda.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <functional>

// The text without the blanks around it; tabs, line ends and no-break
// spaces stay, as the old Trim left them.
QString SinBlancos(QStringView sTexto);

// The trimmed text followed by copies of the first character of `sRelleno`
// up to `nAncho` characters; the trimmed text alone when it is that long.
QString RellenaIzquierda(const QString& sTexto, int nAncho, const QString& sRelleno);
// Blanks (at most 200) before the text up to `nAncho` characters; the text
// unchanged when it is that long.
QString RellenaDerecha(const QString& sTexto, int nAncho);

// With "TAB", moves the focus on to the next control as the Tab key does
// (the key press is queued to the focused control); anything else does nothing.
void EnviaTab(const QString& sTecla);

// Checks a typed date "dd/mm/yyyy". `sTipo` "PAG" (a payment date) must not
// be after today, "PRE" (the update date) must be the date of the taxpayer's
// statement file, which must be of today; any other kind must not be before
// today. A failure is shown with `sTitulo`, or with `bSilencioso` left in
// sMensaje; either way the result is false.
bool ValidaFecha(const QString& sTipo, const QString& sEtiqueta, const QString& sFecha, const QString& sTitulo,
                 bool bSilencioso);

// Message box with the critical icon and OK.
void MuestraError(const QString& sMensaje, const QString& sTitulo);

// Removes the thousands separators from the variable too; "0.00" when the
// text is then empty, "0" or ".".
QString QuitaFormatoMonto(QString& sMonto);
QString QuitaFormatoMonto(QString&& sMonto);

// True when the amount has at most `nEnteros` whole digits, one decimal
// point and at most `nDecimales` decimals (0 stands for 2, and the caller's
// variable becomes 2). An empty amount becomes "0.00" and passes. A failure
// is shown titled `sTitulo`, or with `bSilencioso` left in sMensaje.
bool ValidaTeclaMonto(QString& sMonto, int nEnteros, int& nDecimales, bool bSilencioso = false,
                      const QString& sTitulo = QStringLiteral("Validación"));
bool ValidaTeclaMonto(QString& sMonto, int nEnteros, int&& nDecimales, bool bSilencioso = false,
                      const QString& sTitulo = QStringLiteral("Validación"));
bool ValidaTeclaMonto(QString&& sMonto, int nEnteros, int nDecimales, bool bSilencioso = false,
                      const QString& sTitulo = QStringLiteral("Validación"));

// 0 for Null or an empty or blank text; otherwise the value as an amount.
// A text that is not an amount throws the type-mismatch run-time error
// (DbError 13) for the caller's handler.
Moneda CeroSiNulo(const QVariant& vValor);

// The date of the taxpayer's statement file, as the request form shows it
// with the debts; the zero date (30/12/1899) when it shows none. The request
// form installs the reader while it is loaded (an empty one removes it).
QDate LeeFechaPersonalizado();
void FijaLectorFechaPersonalizado(std::function<QDate()> lector);

// Interest on (sMontoAdicional + sMonto) from dDesde to dHasta at the TIM of
// the open period (sTim), as simple interest per day of a 30-day month;
// sIndicador "1" with sPorcentaje 80 or 90 applies that percentage of the
// TIM. Written "#,###,###,##0.00"; the empty text when sMonto is empty. An
// amount, rate or percentage that is not a number throws the type-mismatch
// run-time error (13), more than 32767 days the overflow (6), for the
// caller's handler. The percentage is read only with the indicator "1".
QString CalculaInteres(const QString& sMonto, const QString& sMontoAdicional, const QDate& dDesde,
                       const QDate& dHasta, const QString& sIndicador, const QString& sPorcentaje);
