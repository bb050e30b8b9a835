#pragma once

// The declarant's flags that the statement import stores with a declaration
// (bank code and good-taxpayer flag of the header CAB, the guarantee row of
// F0913GARANTIA), read into the request form's process-wide state, and the
// accepted notified debts that bear on the guarantee and on what debts may be
// mixed. None of them
// handles a database error: it reaches the operation that called them.

#include <QString>

struct ClaveDeclaracion;

// nBcolibrad := CAB.bcolibrad of the declaration (a null column counts 0);
// without a header row it keeps its value. Returns nBcolibrad.
int Lee_RUC_Delito(const ClaveDeclaracion& clave);
// sBuenContrib := the first character of the trimmed CAB.cheque ("" when
// empty or null); without a header row it keeps its value. Returns it.
QString Lee_BuenosCont(const ClaveDeclaracion& clave);
// sIndGarantia, sIndPersona, sMtoDeuda, sMtoDeudaGarantia := the trimmed
// columns of the declaration's F0913GARANTIA row (a null column gives "");
// without the row they keep their values.
void Datos_Iniciales(const ClaveDeclaracion& clave);
// Whether the work table holds an accepted notified debt (kinds 01, 04, 06)
// of the declarant and entity with ind_valor 0: a debt of a natural person
// with income from capital or work, which no other debt may join.
bool HayDeudasPersonaNatural(const QString& sNumDoc);
// sNumDeudas := "0" when there are such debts, else "1".
void CargaTipoPersona(const QString& sNumDoc);
