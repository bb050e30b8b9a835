#pragma once

// Sample declarations of the host stand-in: one for each creditor entity,
// as the statement import leaves them (header, guarantee row, guarantee box
// and debts of a statement issued on the day they are written), so that the
// request form opens a filled declaration. Among them a good taxpayer and a
// merged company with debts entered by hand.

#include <QList>
#include <QString>

namespace platform { class Database; }

namespace hostkit {

struct SampleDeclaration {
    QString docId;        // a sample declarant with document type 6
    QString periodo;      // YYYYMM
    int entidad;          // 1, 2, 3, 5 or 8
    bool buenContrib;     // CAB.cheque "1"
    int deudas;           // notified debts, kinds 01 and 04, and then the statement's summary row
    int otrasResoluciones; // debts entered by hand (kind 05); the merger box says "Si" when there are any
};

const QList<SampleDeclaration>& sampleDeclarations();

// Writes the sample declarations into the form's tables (which the
// installer makes); a declaration that is already there is left alone.
void seedSampleDeclarations(platform::Database& db);

} // namespace hostkit
