#pragma once

// Registration of a new report file in the host's spool table SPOOL: one row
// per report and a file named by an eight-digit number one above the largest
// in the table, with the extension ".PRN"; a number whose name something in
// the report folder already holds is passed over. Tarvel and Quenbo share it.

#include <QString>

namespace platform { class Database; }

struct ArchivoSpool {
    QString sNombre; // "00000043.PRN"
    QString sRuta;   // the name inside the report folder
};

// Adds the SPOOL row of a report of code `sCodRep` (sequence one above the
// largest of that code) for the declarant `sDocId` of document type
// `nTipDoc`, by `sUsuario`, and names its file in `sCarpeta`. The numbers are
// taken and the row added in one immediate transaction, so two programs
// registering at once never get the same file. Throws platform::DbError.
ArchivoSpool GeneraArchivoSpool(platform::Database& oBase, const QString& sCarpeta, const QString& sCodRep,
                                const QString& sDocId, int nTipDoc, const QString& sUsuario);
