#include "formulario/subsystems/import/Hash.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QString write(const QTemporaryDir& dir, const QString& name, const QByteArray& content)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}

TEST(CalculaHashArchivo, GivesTheSha1OfTheContentInLowerCaseHex)
{
    QTemporaryDir dir;
    EXPECT_EQ(CalculaHashArchivo(write(dir, QStringLiteral("vacio.txt"), {})),
              QStringLiteral("da39a3ee5e6b4b0d3255bfef95601890afd80709"));
    const QString abc = write(dir, QStringLiteral("abc.txt"), "abc");
    EXPECT_EQ(CalculaHashArchivo(abc), QStringLiteral("a9993e364706816aba3e25717850c26c9cd0d89d"));
    EXPECT_EQ(CalculaHashArchivo(abc), CalculaHashArchivo(abc));

    // Bytes 0x0a and 0xff among the digest's: digits and lower-case letters only.
    QByteArray big;
    for (int i = 0; i < 300000; ++i)
        big.append(char(i * 7));
    const QString digest = CalculaHashArchivo(write(dir, QStringLiteral("grande.bin"), big));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9a-f]{40}$")).match(digest).hasMatch()) << digest.toStdString();
}

TEST(CalculaHashArchivo, AFileThatCannotBeReadGivesNoDigestNotThePreviousOne)
{
    QTemporaryDir dir;
    ASSERT_FALSE(CalculaHashArchivo(write(dir, QStringLiteral("abc.txt"), "abc")).isEmpty());
    EXPECT_EQ(CalculaHashArchivo(dir.filePath(QStringLiteral("no-existe.txt"))), QString());
    EXPECT_EQ(CalculaHashArchivo(dir.path()), QString()); // a folder
}

} // namespace
