#pragma once

// A debt that the administration never notified, entered by hand: a row of
// kind "05" of TMP_F0913DEUDAS. The tribute code that its document type
// gives, the period rules, the checks made before it is stored and the
// writing of its row with its control value, apart from the dialog that
// holds the values.

#include <QString>
#include <optional>

class ServiciosFrm913;

// What the dialog holds for the debt being added or changed, as its boxes
// show it.
struct DeudaNoNotificada {
    QString sDeclarante;    // doc_id_d of every row read or written
    QString sPeriodo;       // MM/YYYY, "_" where a digit was not typed
    QString sTipoDocumento; // six-character code of the chosen type; empty when none is chosen
    QString sNumDocumento;  // resolution number as typed
    QString sRuc;           // RUC of the absorbed or merged company, as typed
    QString sTributo;       // tax owed
    QString sInteresCap;    // capitalised interest
    QString sInteres;       // interest not capitalised
    QString sTotal;         // accepted total as shown

    // The period as stored: YYYYMM.
    QString PeriodoAAAAMM() const;
    // cod_tri of the row: the tribute code for nEntidad in six characters.
    QString CodigoTributo() const;
};

// Tribute code (four digits) of a document type for a creditor entity;
// empty for any other type or entity.
QString TributoDeDocumento(const QString& sTipoDocumento, int nEntidadDeuda);

// The capitalised interest can be entered only for periods up to 11/2005:
// true for a complete period MM/YYYY from 12/2005 on.
bool InteresCapitalizadoCerrado(const QString& sPeriodo);

// The accepted total of the three amounts, rounded to whole units and shown
// "#,###,###,##0.00"; empty when the three are empty.
QString MontoAcogido(const QString& sTributo, const QString& sInteresCap, const QString& sInteres);

// True when the period MM/YYYY is complete, lies between the first and the
// last (MM/YYYY, compared as YYYYMM) and, by kind, has a month 1 to 12 (0),
// 1 to 13 (1), exactly 13 (2) or any month (other kinds).
bool ValidaPerMensual(const QString& sPeriodo, const QString& sPrimero, const QString& sUltimo, int nTipo = 0);

// True when the work table holds the resolution among the notified debts
// (kinds "01", "04") with the option "VALORES"; with any other option, when
// it holds any debt of the declarant. The table name is not used.
bool Existe_Deuda(const DeudaNoNotificada& deuda, const QString& sTabla, const QString& sOpcion);

// fec_des_deu or Num_pro (any letter case) of the first notified debt of the
// request form, or failing that of its first debt entered by hand; empty when
// neither has one. Moves those grids to their first row.
QString Retorna_Columna(ServiciosFrm913& frm, const QString& sColumna);

// The box a refused check sends the user back to.
enum class CampoDeuda { Ninguno, Periodo, TipoDocumento, NumDocumento, Ruc, Tributo, InteresCap, Interes };

struct RechazoDeuda {
    CampoDeuda eCampo = CampoDeuda::Ninguno;
    bool bCajaEnCero = false; // the box is to read "0.00"
};

// Every check of a debt about to be stored; the period, type and number are
// checked only for a new one. The first refusal is shown (titled `sTitulo`
// unless it is the core's "Error") and returned; nothing when all pass.
// A database error is left to the caller.
std::optional<RechazoDeuda> ValidaDeuda(const DeudaNoNotificada& deuda, bool bNueva, const QString& sTitulo);

enum class GrabacionDeuda {
    Grabada,      // stored and reported
    Duplicada,    // the key is taken; nothing written
    NoEncontrada, // the row to change is gone; nothing written
    Detenida,     // a database error was shown, or a locked table given up; nothing written
};

// Adds the debt's row (bNueva) or changes the amounts and the RUC of the row
// of its period, tribute, number and type, with its control value, and tells
// the user how it went, in boxes titled `sTitulo`. A new row takes over the
// starting date and the process number of the form's first debt.
GrabacionDeuda GrabaDeuda(const DeudaNoNotificada& deuda, bool bNueva, ServiciosFrm913& frm,
                          const QString& sTitulo);
