#pragma once

// Bringing the accepted notified debts of the work table up to the update
// date: their interest from the statement's date, rewritten with the
// accepted total and the row's control value. A December declaration
// updated in January capitalises the interest at 31 December first. The
// bulk decisions on the undecided notified debts change the same table.

#include <QString>

// For every notified debt (kinds 01 and 04, status 00 or 07) of the declarant
// and nEntidad in TMP_F0913DEUDAS that is accepted and agreed (ind_acog and
// ind_conf 1): mto_int_c, mto_act_c and cnumero from the interest between
// the statement date (LeeFechaPersonalizado) and `sFechaAcog` ("dd/mm/yyyy")
// at sTim. Throws platform::DbError on a database error, an amount that is
// not a number, an update date that is no date or a missing statement date;
// the rows rewritten before it stay, so callers run it inside a transaction.
void Recalcula_deuda(const QString& sNumDocDeclarante, const QString& sFechaAcog);

// "Acoger todas": every undecided notified debt that may be accepted (status
// 00 or 07, not contested) becomes accepted and agreed with the stated
// amounts, and the accepted debts are brought up to `sFechaAcog`, all in one
// transaction. An error is shown as a failed statement is and leaves the
// work table as it was; the result says whether the change was made. The
// form reloads grid 1 either way.
bool AcogeTodas(const QString& sNumDocDeclarante, const QString& sFechaAcog);

// "No acoge": every undecided notified debt that may be accepted (status 00
// or 07, contested or not) becomes rejected with no amounts. An error is
// shown as a failed statement is and leaves the work table as it was; the
// result says whether the change was made.
bool NoAcogeTodas(const QString& sNumDocDeclarante);

// A new update date confirmed by the user: Recalcula_deuda in a transaction
// of its own; an error is shown and leaves the work table as it was. The form
// empties the modality box when the result is true.
bool ActualizaDeudasAcogidas(const QString& sNumDocDeclarante, const QString& sFechaAcog);
