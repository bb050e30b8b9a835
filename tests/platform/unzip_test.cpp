#include "platform/unzip.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/SmallDisk.h"
#include "tools/hostkit/statement.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <linux/seccomp.h>
#include <sys/syscall.h>

using platform::Unzip;

namespace {

class UnzipTest : public ::testing::Test {
protected:
    QString archive(const QList<QPair<QString, QByteArray>>& entries)
    {
        const QString path = dir.filePath(QStringLiteral("archivo.zip"));
        hostkit::writeZip(path, entries);
        return path;
    }

    int extract(const QString& path, bool restore, bool overwrite, int* error = nullptr)
    {
        Unzip unzip;
        unzip.setArchiveName(path);
        unzip.setRestoreStructure(restore);
        unzip.setExtractTo(target());
        unzip.setOverwrite(overwrite);
        const int count = unzip.extract();
        if (error)
            *error = unzip.error();
        return count;
    }

    QString target() const { return dir.filePath(QStringLiteral("destino/sub")); }

    QByteArray read(const QString& relative) const
    {
        QFile file(QDir(target()).filePath(relative));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }

    QStringList extracted() const
    {
        return QDir(target()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name);
    }

    QTemporaryDir dir;
};

TEST_F(UnzipTest, FlatExtractionWritesEachFileByItsBaseNameIntoTheFolderItMakes)
{
    const QString path = archive({{QStringLiteral("uno/dos/datos.txt"), "contenido"},
                                  {QStringLiteral("carpeta/"), {}},
                                  {QStringLiteral("otro.txt"), QByteArray(200000, 'x')}});
    EXPECT_EQ(extract(path, false, true), 2); // the folder entry does not count
    EXPECT_EQ(extracted(), (QStringList{QStringLiteral("datos.txt"), QStringLiteral("otro.txt")}));
    EXPECT_EQ(read(QStringLiteral("datos.txt")), "contenido");
    EXPECT_EQ(read(QStringLiteral("otro.txt")), QByteArray(200000, 'x'));
}

TEST_F(UnzipTest, RestoringTheStructureKeepsTheEntriesFolders)
{
    const QString path = archive({{QStringLiteral("uno/dos/datos.txt"), "contenido"}});
    EXPECT_EQ(extract(path, true, true), 1);
    EXPECT_EQ(read(QStringLiteral("uno/dos/datos.txt")), "contenido");
}

TEST_F(UnzipTest, OverwriteDecidesWhetherAnExistingFileIsReplaced)
{
    const QString path = archive({{QStringLiteral("datos.txt"), "nuevo"}});
    QDir().mkpath(target());
    QFile old(QDir(target()).filePath(QStringLiteral("datos.txt")));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("antiguo contenido mas largo");
    old.close();

    EXPECT_EQ(extract(path, false, false), 0);
    EXPECT_EQ(read(QStringLiteral("datos.txt")), "antiguo contenido mas largo");
    EXPECT_EQ(extract(path, false, true), 1);
    EXPECT_EQ(read(QStringLiteral("datos.txt")), "nuevo");
}

TEST_F(UnzipTest, WhatIsNotAReadableArchiveExtractsNothing)
{
    const QString text = dir.filePath(QStringLiteral("texto.zip"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("esto no es un zip\r\n");
    file.close();

    EXPECT_LT(extract(text, false, true), 0);
    EXPECT_LT(extract(dir.filePath(QStringLiteral("no-existe.zip")), false, true), 0);
    EXPECT_EQ(extract(archive({}), false, true), 0);
    EXPECT_TRUE(extracted().isEmpty());
}

TEST_F(UnzipTest, AnEntryThatWouldLandOutsideTheFolderStopsTheWholeExtraction)
{
    for (const QString& bad : {QStringLiteral("../fuera.txt"), QStringLiteral("a/../../fuera.txt"),
                               QStringLiteral("/tmp/fuera.txt"), QStringLiteral("C:/fuera.txt")}) {
        SCOPED_TRACE(bad.toStdString());
        const QString path = archive({{QStringLiteral("bueno.txt"), "x"}, {bad, "y"}});
        EXPECT_LT(extract(path, false, true), 0);
        EXPECT_LT(extract(path, true, true), 0);
        EXPECT_TRUE(extracted().isEmpty());
        EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("destino/fuera.txt"))));
    }
}

TEST_F(UnzipTest, ADamagedEntryLeavesNoHalfWrittenFile)
{
    QByteArray content;
    quint32 seed = 12345;
    for (int i = 0; i < 10000; ++i) {
        seed = seed * 1103515245u + 12345u;
        content.append(char(seed >> 24));
    }
    const QString path = archive({{QStringLiteral("datos.txt"), content}});
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const qsizetype data = bytes.indexOf("datos.txt") + 200; // well inside the stored data
    for (qsizetype i = data; i < data + 8; ++i)
        bytes[i] = char(bytes[i] ^ 0x5a);
    file.seek(0);
    file.write(bytes);
    file.close();

    EXPECT_LT(extract(path, false, true), 0);
    EXPECT_FALSE(QFile::exists(QDir(target()).filePath(QStringLiteral("datos.txt"))));
}

// The extraction goes onto a disk of 64 KiB: a file too small to leave the
// program's hands before it is closed, or a second file the room left cannot take.
TEST_F(UnzipTest, AFullDiskFailsTheExtractionAndLeavesNoFileOfIt)
{
    const struct {
        const char* caso;
        bool fill;
        QList<QPair<QString, QByteArray>> entries;
    } cases[] = {
        {"a small file, no room left", true, {{QStringLiteral("datos.txt"), "contenido"}}},
        {"a second file larger than the room left", false,
         {{QStringLiteral("uno.txt"), "contenido"}, {QStringLiteral("dos.txt"), QByteArray(200000, 'x')}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caso);
        const QString path = archive(c.entries);
        const SmallDisk disk(dir.filePath(QStringLiteral("destino")));
        if (!disk.mounted())
            GTEST_SKIP() << "only root mounts a tmpfs";
        if (c.fill)
            disk.fillRoom();
        int error = 0;
        EXPECT_EQ(extract(path, false, true, &error), -1);
        EXPECT_EQ(error, ENOSPC);
        EXPECT_EQ(extracted(), QStringList());
    }
}

// The system refuses to close the extracted file, as a share does whose
// write-back fails: all of it was written, yet none of it is kept.
TEST_F(UnzipTest, AFileTheSystemFailsToCloseIsNotExtracted)
{
    const QString path = archive({{QStringLiteral("datos.txt"), "contenido"}});
    const int status = inChild([&] {
        int error = 0;
        return filterCalls({SYS_close}, SECCOMP_RET_ERRNO | EIO) && extract(path, false, true, &error) == -1
            && error == EIO;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(extracted(), QStringList());
}

TEST(ZipEntries, ListsNamesAndFolderEntriesInStoredOrder)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.zip"));
    hostkit::writeZip(path, {{QStringLiteral("b.txt"), "1"}, {QStringLiteral("c/"), {}}, {QStringLiteral("c/d.txt"), "2"}});
    QList<platform::ZipEntry> entries;
    ASSERT_TRUE(platform::zipEntries(path, &entries));
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].name, QStringLiteral("b.txt"));
    EXPECT_FALSE(entries[0].folder);
    EXPECT_EQ(entries[1].name, QStringLiteral("c/"));
    EXPECT_TRUE(entries[1].folder);
    EXPECT_EQ(entries[2].name, QStringLiteral("c/d.txt"));
    EXPECT_FALSE(platform::zipEntries(dir.filePath(QStringLiteral("falta.zip")), &entries));
    EXPECT_TRUE(entries.isEmpty());
}

TEST(ZipEntries, SafeNamesAreRelativeWithoutDotParts)
{
    EXPECT_TRUE(platform::isSafeEntryName(QStringLiteral("a.txt")));
    EXPECT_TRUE(platform::isSafeEntryName(QStringLiteral("a/b.txt")));
    EXPECT_TRUE(platform::isSafeEntryName(QStringLiteral("a..b.txt")));
    EXPECT_FALSE(platform::isSafeEntryName(QString()));
    EXPECT_FALSE(platform::isSafeEntryName(QStringLiteral("../a.txt")));
    EXPECT_FALSE(platform::isSafeEntryName(QStringLiteral("a\\..\\..\\b.txt")));
    EXPECT_FALSE(platform::isSafeEntryName(QStringLiteral("./a.txt")));
    EXPECT_FALSE(platform::isSafeEntryName(QStringLiteral("/etc/passwd")));
    EXPECT_FALSE(platform::isSafeEntryName(QStringLiteral("\\a.txt")));
    EXPECT_FALSE(platform::isSafeEntryName(QStringLiteral("C:a.txt")));
}

} // namespace
