#pragma once

// The declaration being printed, as the print dialog leaves it for the report
// producers (its boxes, payment-modality text and correlative), and the reads
// and choices of the print dialog that touch no widget.

#include <QString>
#include <array>

// Box n's value as text at index n (1 to 899); "" when the declaration has no box n.
extern std::array<QString, 900> aCasilla;
// "Fraccionamiento", "Aplazamiento", "Aplaz. con fracc." or "".
extern QString sModalidad;
// Correlative of the chosen sent declaration; "" for a current one.
extern QString sCorrel;

// Empties every box.
void BorraArray();

// The list of registered declarations, current (CAB) or sent (HCAB), with the
// document type's name (PARAM 044), the entity's name (PARAM 727) and the
// period as MMYYYY. With `bFiltraUsuario` only the declarants registered
// under the user given as the query's one parameter.
QString ConsultaDeclaraciones(bool bEnviadas, bool bFiltraUsuario);

// Loads the boxes of the declaration (document type and number, sPeriodo,
// nEntidad; sCorrel for a sent one) into aCasilla and its modality text into
// sModalidad. Boxes 721 and 722 and numbers outside 1 to 899 are left out.
// Throws platform::DbError.
void LeeCasillas(int nTipDoc, const QString& sDocId);

// The period as listed, MMYYYY, written YYYYMM.
QString PeriodoDeLista(const QString& sPeriodoMMAAAA);

// The spool registration of a report: printing registers "F36005" with the
// declaration's own document type; a preview registers "F36006" for the
// annexes alone, "F36005" otherwise, with document type 6.
struct RegistroReporte {
    QString sCodRep;
    int nTipDoc;
};
RegistroReporte EligeRegistro(bool bImprimir, bool bSoloAnexos, int nTipDocFila);
