#pragma once

// The control value (cnumero) that every writer of a row of the form's
// tables, and of the header and box tables, stores in its last column.

#include <QString>

namespace platform { class Recordset; }

// Control value of the row being added or edited in `rs`: three digits of the
// sum of the first `nParticion` columns read as numbers, then three digits of
// the position-weighted character sum of the following columns up to the last
// but one (the control column itself never counts). The record set must
// present the table's columns in table order.
// Throws platform::DbError: 3265 for a split beyond the row, 3021 without a
// current row, 6 (overflow) for a character product above 32767.
QString FormateaCampo(platform::Recordset& rs, int nParticion);
