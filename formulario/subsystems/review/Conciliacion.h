#pragma once

// The conciliation of one notified debt: the checks of the declarant's
// answers (inclusion, agreement, the mixing rule, reasons with their
// evidence, own amounts) and, in one transaction, the debt's row of
// TMP_F0913DEUDAS with its rows of TMP_F0913MOTIVO and TMP_F0913SUSTEN;
// then the request form's grid and total follow and the next debt is offered.

#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <array>

class ServiciosFrm913;

// Reasons of disagreement, numbered as cod_motivo.
constexpr int kMotivos = 8;

struct MotivoRevisado {
    bool bMarcado = false;
    QString sTag;      // "1" evidence registered, "0" none
    QString sCaption;
    bool bHabilitado = false;
};

// What the debt detail dialog holds of the debt under review.
struct DeudaRevisada {
    // The debt's whole key, as the dialog loaded it.
    int nTipDoc = 6;
    QString sDocId;
    QString sIndTipDeu;
    QString sPerDoc;
    QString sCodTri;    // six-character tribute code
    QString sNumDoc;
    QString sCodFor;
    QString sCodTipDoc;
    QString sCodTriAso;

    QString sIndVerDeu;
    int nNumCuo = 0;
    QString sIndValor;      // lblInd_valor
    bool bImpugnada = false; // first tab and ind_impugnado above 0

    int nAcoge = 0;    // 1 included, 2 excluded, 0 no answer
    int nConforme = 0; // 1 agrees, 2 disagrees, 0 no answer

    std::array<MotivoRevisado, kMotivos + 1> motivos; // index 1 to 8

    // Amount fields as shown (thousands separators allowed).
    QString sTributo;
    QString sInteresCap;
    QString sInteres;
    QString sAcogido;
    bool bTributoBloqueado = false;
    bool bInteresCapBloqueado = false;
    QString sPeriodo;     // MM/YYYY
    QString sCodTributo;  // four-character tribute code
    QString sTotalAlcor;  // lblmtotot1
    QString sFechaAcog;   // the request form's update date, dd/mm/yyyy

    // Evidence held by the dialog.
    QString sFormMotivo2;
    QString sOrdenMotivo2;
    QString sNumExp;
    QString sNumRes;
    QString sFormMotivo5;
    QString sOrdenMotivo5;
    QStringList pagos; // payment entries of reason 1
};

// Outcome codes of a conciliation that stops before writing.
namespace codigoConciliacion {
constexpr quint8 Ninguno = 0;
constexpr quint8 SinAcogimiento = 1;
constexpr quint8 SinConformidad = 2;
constexpr quint8 SinTributo = 3;
constexpr quint8 Silencioso = 5;
constexpr quint8 Cancelado = 6;
constexpr quint8 SinRegistro = 99;
} // namespace codigoConciliacion

struct ResultadoConciliacion {
    bool bGrabada = false;
    int nMotivoFoco = 0; // reason whose check box takes the focus; 0 none
};

// Checks the answers and, when they pass, writes the debt with its reasons
// and evidence in one transaction. Every refusal is shown titled `sTitulo`
// and writes nothing. Empty amount fields that a check completes with "0"
// are left so in `deuda`. A database error rolls the whole save back and is
// shown by EjecutaGrabacion (a locked table may be retried, which runs the
// save again from its start); nothing is written and the caller stays usable.
ResultadoConciliacion GrabaConciliacion(DeudaRevisada& deuda, const QString& sTitulo);

// After a save: reloads tab `nTab` of the request form and its total, then
// offers the next debt of the grid. True when the form's row set was moved
// on to it (the dialog then shows it); false on the last row, where the row
// set goes back to the saved debt, or when the user declines.
bool ContinuaConSiguiente(ServiciosFrm913& frm, int nTab, const QString& sTitulo);

// The payment entry of reason 1: the form, four blanks, the order number
// right-aligned in nine, eight blanks and the date (35 characters).
QString EntradaPago(const QString& sFormulario, const QString& sOrden, const QString& sFecha);
