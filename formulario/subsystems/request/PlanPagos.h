#pragma once

// The payment plan of the request form without its widgets: the boxes of
// each creditor entity, the TIM of the period, the instalment amount, the
// minimum initial instalment, the guarantee decision and the accepted debt.
// Amounts come in as the boxes' texts; a text that is not a number counts as
// an empty box.

#include "formulario/core/Moneda.h"

#include <QList>
#include <QString>
#include <optional>

// The boxes of one creditor entity (k its position 0 to 4 in 1, 2, 3, 5, 8).
struct BloqueEntidad {
    int nEntidad = 0;
    int nCasillaBase = 0;         // 500 + 7k, accepted debt; then modality,
                                  // months, instalments, amount, code, guarantee
    int nCasillaCuotaInicial = 0; // 535 + k
    int nCasillaBase2 = 0;        // 550 + 10k; the next box holds the guarantee types
    QString sCodigoTributo;       // what box nCasillaBase + 5 shows, "8030" ...

    int Modalidad() const { return nCasillaBase + 1; }
    int Meses() const { return nCasillaBase + 2; }
    int Cuotas() const { return nCasillaBase + 3; }
    int MontoCuota() const { return nCasillaBase + 4; }
    int CodigoTributo() const { return nCasillaBase + 5; }
    int Garantia() const { return nCasillaBase + 6; }
    int TiposGarantia() const { return nCasillaBase2 + 1; }
};

// The five entities' blocks in the order 1, 2, 3, 5, 8.
const QList<BloqueEntidad>& BloquesEntidad();
// The block of an entity code; nothing for a code outside the five.
std::optional<BloqueEntidad> BloqueDeEntidad(int nEntidad);

// Sets sTim from a period "YYYYMM", compared as text with "201003": "1.5"
// before it, "1.2" from it on. The form passes the update date's period.
void Obtiene_TIM(const QString& sFecha);

// The level instalment that repays cMonto - cCuotaIni in iCuotas monthly
// instalments at 80 % of sTim a month, as the unrounded text of the amount.
// Empty when iCuotas is 0 or less or sTim is no rate.
QString Calcula_deuda_fracc2(int iCuotas, Moneda cMonto, Moneda cCuotaIni);

// What the instalment-amount box shows: Calcula_deuda_fracc2 of the texts of
// the instalments, accepted-debt and initial-instalment boxes written
// "#,###,###,###,##0"; empty when the instalments or the debt are empty (an
// empty initial instalment counts 0). The form puts it into box b + 4.
QString CuotaFraccionamiento(const QString& sCuotas, const QString& sDeuda, const QString& sCuotaInicial);

// The minimum initial instalment ("############0") of a debt `sDeuda` with
// the payment modality `Tipo` and `sCuotasFrac` instalments: a percentage of
// the debt by the instalments, the modality and whether the debt exceeds
// 3 UIT; "0" for a good taxpayer (sBuenContrib "1") or an unknown flag; ""
// for an empty debt. The months of deferral do not enter the result. The form
// puts it into the entity's initial-instalment box.
QString CalculaCuotaInicial2(const QString& sDeuda, Moneda dUit, const QString& Tipo, const QString& sCuotasFrac,
                             const QString& sMesesAplaz);

// Whether the request needs a guarantee.
enum class DecisionGarantia {
    SinCambio, // the debt is empty: box, flag and frame stay as they are
    Si,        // box b + 6 "SI", "Hipoteca" enabled, the guarantee frame shown
    No,        // box b + 6 "NO", frame hidden, "Carta fianza" and "Hipoteca" unticked
};
// Decides from the accepted debt plus sMtoDeuda (less the initial instalment
// for modality "0") against 100 UIT, sNumDeudas and sIndGarantia; a good
// taxpayer never needs one. Sets sGarantia ("1" Si, "0" No); the form
// applies the rest of the decision to its controls.
DecisionGarantia CambiaGarantia2(const QString& sDeuda, Moneda dUit, const QString& sCuotaAcog,
                                 const QString& sFormaPago);

// The sum of mto_act_c of every work-table debt of the declarant and
// nEntidad, written "###,###,###,##0"; "0" when there is none. A database
// error goes to ManejaErrorBD as "CalculaDeudaAcogida". The form puts it
// into the entity's accepted-debt box.
QString CalculaDeudaAcogida(const QString& sNumDocDeclarante);
