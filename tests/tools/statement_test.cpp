#include "platform/unzip.h"
#include "tools/hostkit/hostkit.h"
#include "tools/hostkit/statement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The one file of an archive, extracted into `folder`.
QByteArray extractOnly(const QString& archive, const QString& folder, QString* name)
{
    QList<platform::ZipEntry> entries;
    EXPECT_TRUE(platform::zipEntries(archive, &entries));
    EXPECT_EQ(entries.size(), 1);
    platform::Unzip unzip;
    unzip.setArchiveName(archive);
    unzip.setRestoreStructure(false);
    unzip.setExtractTo(folder);
    unzip.setOverwrite(true);
    EXPECT_EQ(unzip.extract(), 1);
    *name = entries.value(0).name;
    QFile file(QDir(folder).filePath(*name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(StatementArchive, HoldsOneFileNamedByTheDigestOfItsRecords)
{
    QTemporaryDir dir;
    hostkit::Statement statement = hostkit::sampleStatement(QStringLiteral("20100070970"), 8, 2);
    statement.indGarantia = QStringLiteral("010");
    const QString archive = hostkit::writeStatementArchive(dir.path(), statement);
    EXPECT_EQ(QFileInfo(archive).fileName(), QStringLiteral("0913201000709708.zip"));

    QString name;
    const QByteArray content = extractOnly(archive, dir.filePath(QStringLiteral("x")), &name);
    EXPECT_EQ(name, QString::fromLatin1(QCryptographicHash::hash(content, QCryptographicHash::Sha1).toHex()) +
                        QStringLiteral(".txt"));
    const QList<QByteArray> lines = content.split('\n');
    ASSERT_EQ(lines.size(), 4); // three records, each ended by CR LF
    EXPECT_TRUE(lines.last().isEmpty());
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(lines[i].endsWith("|\r"));
        EXPECT_EQ(lines[i].count('|'), 29);
        EXPECT_EQ(lines[i].split('|').value(24), "010");
        EXPECT_EQ(lines[i].split('|').value(15).left(10),
                  QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")).toLatin1());
    }
    EXPECT_EQ(lines[2].split('|').value(13), ""); // the summary comes last
    EXPECT_EQ(lines[1].split('|').value(17), "00"); // not contested
    // The interest amounts change places in a debt record.
    const hostkit::StatementDebt debt = statement.debts.first();
    EXPECT_EQ(lines[0].split('|').value(8), debt.mtoInt.toLatin1());
    EXPECT_EQ(lines[0].split('|').value(9), debt.mtoIntCap.toLatin1());
    EXPECT_EQ(lines[0].split('|').value(6), "2015-07-31");
}

// The bulk acceptance takes only uncontested debts ("00"): the demo shows both kinds.
TEST(SampleStatement, OnlyTheThirdDebtIsContested)
{
    const char* marks[] = {"00", "00", "06", "00", "00"};
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ(hostkit::sampleDebt(n).indImpugnado, QLatin1String(marks[n])) << n;
}

TEST(VardenoStatement, WritesTheArchiveOfTheDeclarantAndEntityAsked)
{
    QTemporaryDir dir;
    QProcess vardeno;
    vardeno.start(QStringLiteral(VARDENO_BIN),
                  {QStringLiteral("statement"), dir.filePath(QStringLiteral("descargas")), QStringLiteral("--ruc"),
                   QStringLiteral("20456712381"), QStringLiteral("--entidad"), QStringLiteral("3"),
                   QStringLiteral("--deudas"), QStringLiteral("4")});
    ASSERT_TRUE(vardeno.waitForFinished(60000));
    EXPECT_EQ(vardeno.exitCode(), 0) << vardeno.readAllStandardError().toStdString();
    const QString archive = dir.filePath(QStringLiteral("descargas/0913204567123813.zip"));
    EXPECT_EQ(QString::fromLocal8Bit(vardeno.readAllStandardOutput()).trimmed(), archive);
    QString name;
    EXPECT_EQ(extractOnly(archive, dir.filePath(QStringLiteral("x")), &name).count('\n'), 5);
}

} // namespace
