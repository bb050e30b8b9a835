#pragma once

// Debt statements as the administration issues them: a zip archive named
// "0913" + RUC + entity + ".zip" holding one text file of "|"-terminated
// records, named by the SHA-1 digest of its content + ".txt".

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

namespace hostkit {

// One debt of a statement. An empty `indTipDeu` makes the summary record.
struct StatementDebt {
    QString numPro = QStringLiteral("00000000000001"); // process number
    QString numDoc;
    QString codFor;
    QString numCuo = QStringLiteral("0");
    QString perDoc;
    QString codTri;
    QDate fecUltCap = QDate(2015, 7, 31);
    QString mtoTributo = QStringLiteral("0.00");
    QString mtoIntCap = QStringLiteral("0.00");
    QString mtoInt = QStringLiteral("0.00");
    QString mtoAct = QStringLiteral("0.00");
    QString codTipDoc;
    QString codTriAso;
    QString indTipDeu = QStringLiteral("01");
    QString indVerDeu = QStringLiteral("00");
    QString indImpugnado = QStringLiteral("00"); // "00": not contested
    QString indDeudaDj = QStringLiteral("0");
    QString codForDj;
    QString indValor; // empty: the reader stores 0
};

// What every record of the statement repeats.
struct Statement {
    QString ruc;
    int entidad = 1;
    QDateTime fecha = QDateTime::currentDateTime(); // date and time of issue
    QString bcolibrad = QStringLiteral("2");
    QString buenContrib = QStringLiteral("1");
    QString indGarantia = QStringLiteral("100");
    QString indPersona = QStringLiteral("1");
    QString mtoDeuda = QStringLiteral("0.00");
    QString mtoDeudaGarantia = QStringLiteral("0.00");
    QList<StatementDebt> debts;
};

// The debt `n` of a sample statement: a notified debt whose key differs from
// every other `n`'s, of a document type the host's list 872 describes. The
// third (`n` 2) is contested, the others are not.
StatementDebt sampleDebt(int n);
// A statement of `count` sample debts followed by the summary record.
Statement sampleStatement(const QString& ruc, int entidad, int count);

// One record, its 29 fields (0 to 28) each followed by "|".
QString statementRecord(const Statement& statement, const StatementDebt& debt);
// The statement file's content: Windows-1252, one record per line, CR LF.
QByteArray statementContent(const Statement& statement);
// The name of a statement file: the digest of `content` and ".txt".
QString statementFileName(const QByteArray& content);
// "0913" + RUC + entity + ".zip".
QString statementArchiveName(const QString& ruc, int entidad);

// Writes a zip archive at `path` holding `entries` (name, content) in order;
// a name ending in "/" is a folder entry. Throws HostError.
void writeZip(const QString& path, const QList<QPair<QString, QByteArray>>& entries);
// Writes the statement's archive into `folder`; returns its path. Throws HostError.
QString writeStatementArchive(const QString& folder, const Statement& statement);

} // namespace hostkit
