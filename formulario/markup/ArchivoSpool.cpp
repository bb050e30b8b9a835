#include "formulario/markup/ArchivoSpool.h"

#include "formulario/core/TablaArchivos.h"
#include "formulario/markup/ImpLinea.h"
#include "platform/database.h"
#include "platform/plainfile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

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

ArchivoSpool AgregaFila(platform::Database& oBase, const QString& sCarpeta, const QString& sCodRep,
                        const QString& sDocId, int nTipDoc, const QString& sUsuario)
{
    const qint64 nSecuencia = MayorNumero(
        oBase, QStringLiteral("SELECT max(CAST(Secuencia AS INTEGER)) FROM SPOOL WHERE CodRep = ?"), {sCodRep});
    const qint64 nMayor = MayorNumero(oBase, QStringLiteral("SELECT max(CAST(Archivo AS INTEGER)) FROM SPOOL"));
    const ArchivoSpool archivo = PrimerNombreLibre(sCarpeta, nMayor + 1);
    oBase.execute(QStringLiteral("INSERT INTO SPOOL (CodRep, Secuencia, Archivo, Fecha, Usuario, tip_doc_d, "
                                 "doc_id_d) VALUES (?, ?, ?, ?, ?, ?, ?)"),
                  {sCodRep, QStringLiteral("%1").arg(nSecuencia + 1, 6, 10, QChar(u'0')), archivo.sNombre,
                   QDateTime::currentDateTime(), sUsuario, nTipDoc, sDocId});
    return archivo;
}

// Until it is whole a report lies under its numbered name followed by ".~"
// and sixteen hex digits.
const QString kSufijoTemporal = QStringLiteral("\\.~[0-9a-f]{16}$");

QString NombreTemporal(const QString& sRuta)
{
    for (;;) {
        const QString sTemporal =
            sRuta + QStringLiteral(".~%1").arg(QRandomGenerator::global()->generate64(), 16, 16, QChar(u'0'));
        if (!platform::pathTaken(sTemporal))
            return sTemporal;
    }
}

// Only a registration that took the database's write lock calls this, so no
// live registration is writing: what is left is a killed writer's.
void BorraTemporalesHuerfanos(const QString& sCarpeta)
{
    static const QRegularExpression kTemporal(QStringLiteral("^\\d+\\.PRN") + kSufijoTemporal);
    const QDir carpeta(sCarpeta);
    for (const QString& sNombre : carpeta.entryList(QDir::Files | QDir::NoSymLinks)) {
        if (kTemporal.match(sNombre).hasMatch())
            QFile::remove(carpeta.filePath(sNombre));
    }
}

[[noreturn]] void FalloEscritura(int nErrno)
{
    throw ErrorEscrituraReporte(ErrorDeEscritura(nErrno));
}

// The written file, once on disk, takes the numbered name; nothing that
// appeared at that name meanwhile is replaced where the folder's file system
// can refuse it.
void AsientaArchivo(const QString& sTemporal, const QString& sRuta)
{
    const platform::PlainFileOpen escrito = platform::openPlainFile(sTemporal, O_RDONLY | O_NOFOLLOW);
    if (escrito.fd < 0)
        FalloEscritura(escrito.error);
    const int nErrno = ::fsync(escrito.fd) == 0 ? 0 : errno;
    ::close(escrito.fd);
    if (nErrno != 0)
        FalloEscritura(nErrno);
    const QByteArray sDesde = QFile::encodeName(sTemporal);
    const QByteArray sHacia = QFile::encodeName(sRuta);
    if (::renameat2(AT_FDCWD, sDesde.constData(), AT_FDCWD, sHacia.constData(), RENAME_NOREPLACE) != 0
        && ((errno != EINVAL && errno != ENOSYS) || ::rename(sDesde.constData(), sHacia.constData()) != 0))
        FalloEscritura(errno);
    // The new name reaches the disk before the row is committed; a folder
    // that cannot be synced is left to the system.
    const int fdCarpeta = ::open(QFile::encodeName(QFileInfo(sRuta).absolutePath()).constData(),
                                 O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdCarpeta >= 0) {
        ::fsync(fdCarpeta);
        ::close(fdCarpeta);
    }
}

} // namespace

QString ArchivoDeReporte(const QString& sRuta)
{
    static const QRegularExpression kTemporal(kSufijoTemporal);
    return QString(sRuta).remove(kTemporal);
}

ArchivoSpool GeneraArchivoSpool(platform::Database& oBase, const QString& sCarpeta, const QString& sCodRep,
                                const QString& sDocId, int nTipDoc, const QString& sUsuario,
                                const std::function<void(const QString& sRuta)>& Escribe)
{
    const int nNivel = oBase.transactionLevel();
    oBase.beginTrans();
    QString sEscrito; // the file of this registration until the row is committed
    try {
        // Inside an outer transaction this connection may be writing a report of its own.
        if (nNivel == 0)
            BorraTemporalesHuerfanos(sCarpeta);
        const ArchivoSpool archivo = AgregaFila(oBase, sCarpeta, sCodRep, sDocId, nTipDoc, sUsuario);
        sEscrito = NombreTemporal(archivo.sRuta);
        Escribe(sEscrito);
        AsientaArchivo(sEscrito, archivo.sRuta);
        sEscrito = archivo.sRuta;
        oBase.commitTrans();
        return archivo;
    } catch (...) {
        if (!sEscrito.isEmpty())
            QFile::remove(sEscrito);
        // A failed commit may have ended the transaction already.
        if (oBase.transactionLevel() > nNivel)
            oBase.rollback();
        throw;
    }
}
