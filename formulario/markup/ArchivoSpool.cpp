#include "formulario/markup/ArchivoSpool.h"

#include "platform/database.h"
#include "platform/plainfile.h"

#include <QDateTime>
#include <QDir>

namespace {

// The largest number in the column; a text that does not start with digits
// counts as 0, so a stray name never hides the numbered files.
qint64 MayorNumero(platform::Database& oBase, const QString& sSql, const QVariantList& params = {})
{
    return oBase.scalar(sSql, params).toLongLong();
}

// The file of that number, or of the first one above it whose name nothing
// in the folder holds yet: whatever lies there (a file the table does not
// know, a link, a FIFO) is never written over.
ArchivoSpool PrimerNombreLibre(const QString& sCarpeta, qint64 nNumero)
{
    ArchivoSpool archivo;
    for (;; ++nNumero) {
        archivo.sNombre = QStringLiteral("%1.PRN").arg(nNumero, 8, 10, QChar(u'0'));
        archivo.sRuta = QDir(sCarpeta).filePath(archivo.sNombre);
        if (!platform::pathTaken(archivo.sRuta))
            return archivo;
    }
}

} // namespace

ArchivoSpool GeneraArchivoSpool(platform::Database& oBase, const QString& sCarpeta, const QString& sCodRep,
                                const QString& sDocId, int nTipDoc, const QString& sUsuario)
{
    oBase.beginTrans();
    try {
        const qint64 nSecuencia = MayorNumero(
            oBase, QStringLiteral("SELECT max(CAST(Secuencia AS INTEGER)) FROM SPOOL WHERE CodRep = ?"), {sCodRep});
        const qint64 nMayor = MayorNumero(oBase, QStringLiteral("SELECT max(CAST(Archivo AS INTEGER)) FROM SPOOL"));
        const ArchivoSpool archivo = PrimerNombreLibre(sCarpeta, nMayor + 1);
        oBase.execute(QStringLiteral("INSERT INTO SPOOL (CodRep, Secuencia, Archivo, Fecha, Usuario, tip_doc_d, "
                                     "doc_id_d) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                      {sCodRep, QStringLiteral("%1").arg(nSecuencia + 1, 6, 10, QChar(u'0')), archivo.sNombre,
                       QDateTime::currentDateTime(), sUsuario, nTipDoc, sDocId});
        oBase.commitTrans();
        return archivo;
    } catch (...) {
        oBase.rollback();
        throw;
    }
}
