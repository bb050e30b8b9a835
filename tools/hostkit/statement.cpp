#include "tools/hostkit/statement.h"

#include "platform/textfile.h"
#include "tools/hostkit/hostkit.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <iterator>
#include <zip.h>

namespace hostkit {

namespace {

constexpr int kFields = 29;

QString amount(int cents)
{
    return QStringLiteral("%1.%2").arg(cents / 100).arg(cents % 100, 2, 10, QLatin1Char('0'));
}

// An archive without entries, which libzip would not write.
const QByteArray kEmptyZip = QByteArray("PK\x05\x06", 4) + QByteArray(18, '\0');

// Document types of the host's list 872, taken in turn by the sample debts:
// order of payment, determination resolution, fine resolution.
constexpr const char* kDocumentTypes[] = {"017011", "017001", "017004"};

} // namespace

StatementDebt sampleDebt(int n)
{
    StatementDebt debt;
    debt.numPro = QStringLiteral("%1").arg(n % 100000000, 14, 10, QLatin1Char('0'));
    debt.numDoc = QStringLiteral("0230%1").arg(n, 9, 10, QLatin1Char('0'));
    debt.codFor = QStringLiteral("0621");
    debt.perDoc = QStringLiteral("%1%2").arg(2010 + n % 10).arg(n % 12 + 1, 2, 10, QLatin1Char('0'));
    debt.codTri = QStringLiteral("030301");
    debt.codTipDoc = QString::fromLatin1(kDocumentTypes[n % std::size(kDocumentTypes)]);
    debt.codTriAso = QStringLiteral("000000");
    debt.indTipDeu = n % 2 ? QStringLiteral("04") : QStringLiteral("01");
    const int tributo = 10000 + n % 5000 * 100;
    const int interes = 1250 + n % 100;
    debt.mtoTributo = amount(tributo);
    debt.mtoInt = amount(interes);
    debt.mtoIntCap = amount(0);
    debt.mtoAct = amount(tributo + interes);
    debt.codForDj = QStringLiteral("0621");
    debt.indValor = QStringLiteral("1");
    if (n == 2)
        debt.indImpugnado = QStringLiteral("06");
    return debt;
}

Statement sampleStatement(const QString& ruc, int entidad, int count)
{
    Statement statement;
    statement.ruc = ruc;
    statement.entidad = entidad;
    for (int n = 0; n < count; ++n)
        statement.debts.append(sampleDebt(n));
    StatementDebt summary;
    summary.indTipDeu.clear();
    summary.mtoTributo = amount(count * 10000);
    summary.mtoAct = amount(count * 11250);
    statement.debts.append(summary);
    return statement;
}

QString statementRecord(const Statement& statement, const StatementDebt& debt)
{
    const bool summary = debt.indTipDeu.isEmpty();
    QStringList fields(kFields, QStringLiteral("0"));
    fields[0] = debt.numPro;
    fields[1] = debt.numDoc;
    fields[2] = debt.codFor;
    fields[3] = debt.numCuo;
    fields[4] = debt.perDoc;
    fields[5] = debt.codTri;
    fields[6] = debt.fecUltCap.toString(QStringLiteral("yyyy-MM-dd"));
    fields[7] = debt.mtoTributo;
    // The two interest amounts change places between the two kinds of record.
    fields[8] = summary ? debt.mtoIntCap : debt.mtoInt;
    fields[9] = summary ? debt.mtoInt : debt.mtoIntCap;
    fields[10] = debt.mtoAct;
    fields[11] = debt.codTipDoc;
    fields[12] = debt.codTriAso;
    fields[13] = debt.indTipDeu;
    fields[14] = debt.indVerDeu;
    fields[15] = statement.fecha.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
    fields[16] = statement.bcolibrad;
    fields[17] = debt.indImpugnado;
    fields[21] = debt.indDeudaDj;
    fields[22] = statement.buenContrib;
    fields[23] = debt.codForDj;
    fields[24] = statement.indGarantia;
    fields[25] = statement.indPersona;
    fields[26] = statement.mtoDeuda;
    fields[27] = statement.mtoDeudaGarantia;
    fields[28] = debt.indValor;
    return fields.join(u'|') + u'|';
}

QByteArray statementContent(const Statement& statement)
{
    QString content;
    for (const StatementDebt& debt : statement.debts)
        content += statementRecord(statement, debt) + QStringLiteral("\r\n");
    return platform::toCp1252(content);
}

QString statementFileName(const QByteArray& content)
{
    return QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex()) +
           QStringLiteral(".txt");
}

QString statementArchiveName(const QString& ruc, int entidad)
{
    return QStringLiteral("0913%1%2.zip").arg(ruc).arg(entidad);
}

void writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries)
{
    QFile::remove(path);
    if (entries.isEmpty()) {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(kEmptyZip) != kEmptyZip.size())
            throw HostError(QStringLiteral("No se pudo escribir %1").arg(path));
        return;
    }
    int error = 0;
    zip_t* archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive)
        throw HostError(QStringLiteral("No se pudo crear %1 (libzip %2)").arg(path).arg(error));
    for (const auto& [name, content] : entries) {
        const QByteArray utf8 = name.toUtf8();
        zip_int64_t added = -1;
        if (name.endsWith(u'/')) {
            added = zip_dir_add(archive, utf8.chopped(1).constData(), ZIP_FL_ENC_UTF_8);
        } else {
            zip_source_t* source = zip_source_buffer(archive, content.constData(), zip_uint64_t(content.size()), 0);
            added = source ? zip_file_add(archive, utf8.constData(), source, ZIP_FL_ENC_UTF_8) : -1;
            if (added < 0)
                zip_source_free(source);
        }
        if (added < 0) {
            const QString message = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            throw HostError(QStringLiteral("No se pudo agregar %1 a %2: %3").arg(name, path, message));
        }
    }
    if (zip_close(archive) != 0) {
        const QString message = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        throw HostError(QStringLiteral("No se pudo cerrar %1: %2").arg(path, message));
    }
}

QString writeStatementArchive(const QString& folder, const Statement& statement)
{
    const QByteArray content = statementContent(statement);
    const QString path = QDir(folder).filePath(statementArchiveName(statement.ruc, statement.entidad));
    writeZip(path, {{statementFileName(content), content}});
    return path;
}

} // namespace hostkit
