#pragma once

// Registration of a new report file in the host's spool table SPOOL: one row
// per report and a file named by an eight-digit number one above the largest
// in the table, with the extension ".PRN"; a number whose name something in
// the report folder already holds is passed over. Tarvel and Quenbo share it.

#include <QString>
#include <functional>

namespace platform { class Database; }

struct ArchivoSpool {
    QString sNombre; // "00000043.PRN"
    QString sRuta;   // the name inside the report folder
};

// Adds the SPOOL row of a report of code `sCodRep` (sequence one above the
// largest of that code) for the declarant `sDocId` of document type
// `nTipDoc`, by `sUsuario`, and has `Escribe` write the report into a new
// file it names in `sCarpeta`. The numbers are taken, the row added and the
// report written in one immediate transaction, so two programs registering
// at once never get the same file, and the row is committed only once the
// whole file, on disk, holds the numbered name: a failure or a kill before
// that leaves neither the row nor the numbered file. `Escribe` may read
// through `oBase` but must not begin a transaction of its own, and, as the
// write lock is held until the commit, must neither let events through nor
// show anything that waits on the user.
// Throws platform::DbError, and whatever `Escribe` throws.
ArchivoSpool GeneraArchivoSpool(platform::Database& oBase, const QString& sCarpeta, const QString& sCodRep,
                                const QString& sDocId, int nTipDoc, const QString& sUsuario,
                                const std::function<void(const QString& sRuta)>& Escribe);

// The report file that `sRuta`, a file `Escribe` is given, stands for: the
// numbered file, not the temporary name it is written under until it is whole.
QString ArchivoDeReporte(const QString& sRuta);
