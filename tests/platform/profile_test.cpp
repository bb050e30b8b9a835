#include "platform/profile.h"

#include "tests/platform/scopedenv.h"
#include "tests/support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace platform;

namespace {

class Profiles : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir_.filePath(name); }
    void writeFile(const QString& name, const QByteArray& bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray fileBytes(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    ScopedEnv windir_{"WINDIR", dir_.path().toLocal8Bit()};
};

// The process waits in the kernel's queue for a lock another one holds.
bool waitsForALock(qint64 pid)
{
    QFile locks("/proc/locks");
    if (!locks.open(QIODevice::ReadOnly))
        return false;
    const QByteArray waiter = " " + QByteArray::number(pid) + " ";
    for (const QByteArray& line : locks.readAll().split('\n')) {
        if (line.contains(": -> ") && line.contains(waiter))
            return true;
    }
    return false;
}

// A writer that changes `key` of the file `times` times; its exit code is the
// number of changes refused.
void startWriter(QProcess* writer, const QString& file, const char* key, int times)
{
    writer->start(PROFILEWRITER_BIN, {file, "Options", key, QString::number(times)});
}

const QByteArray kKoval = "; host settings\r\n"
                          "[Options]\r\n"
                          "SysPath=C:/VRD/\r\n"
                          "  DBPath  =  C:/VRD/BD/  \r\n"
                          "DBName=\"vrd.mdb\"\r\n"
                          "SysUser\r\n"
                          "SysUser=primero\r\n"
                          "SysUser=segundo\r\n"
                          "Largo=0123456789\r\n"
                          "\r\n"
                          "[Otra]\r\n"
                          "SysHelp=ayuda\r\n"
                          "[ options ]\r\n"
                          "SysMenu=repetida\r\n";

} // namespace

TEST_F(Profiles, FilesWithoutAFolderLieInTheWindowsDirectory)
{
    EXPECT_EQ(windowsDirectory(), QDir::cleanPath(dir_.path()));
    EXPECT_EQ(profilePath("KOVAL.INI"), dir_.path() + "/KOVAL.INI");
    EXPECT_EQ(profilePath("/etc/otro.ini"), QString("/etc/otro.ini"));
    EXPECT_EQ(profilePath("sub/otro.ini"), QString("sub/otro.ini"));
    EXPECT_EQ(winIniPath(), dir_.path() + "/WIN.INI");

    qunsetenv("WINDIR");
    EXPECT_EQ(windowsDirectory(), QDir::homePath() + "/.config/vardeno/windows");
    qputenv("WINDIR", "");
    EXPECT_EQ(windowsDirectory(), QDir::homePath() + "/.config/vardeno/windows");
}

TEST_F(Profiles, ReadComparesNamesWithoutCaseAndTrimsAsWindows)
{
    writeFile("KOVAL.INI", kKoval);
    EXPECT_EQ(readProfileString("Options", "SysPath", "", "KOVAL.INI"), QString("C:/VRD/"));
    EXPECT_EQ(readProfileString("OPTIONS", "syspath", "", "KOVAL.INI"),
              QString("C:/VRD/"));
    EXPECT_EQ(readProfileString(" options ", " DBPATH ", "", "KOVAL.INI"), QString("C:/VRD/BD/"));
    EXPECT_EQ(readProfileString("Options", "DBName", "", "KOVAL.INI"), QString("vrd.mdb"));
    EXPECT_EQ(readProfileString("Options", "SysPath", "", path("KOVAL.INI")), QString("C:/VRD/"));
}

TEST_F(Profiles, ReadTakesTheFirstMatchOnly)
{
    writeFile("KOVAL.INI", kKoval);
    // A line without "=" is no value; the first key of the name wins.
    EXPECT_EQ(readProfileString("Options", "SysUser", "", "KOVAL.INI"), QString("primero"));
    // A repeated section is not searched.
    EXPECT_EQ(readProfileString("Options", "SysMenu", "nada", "KOVAL.INI"), QString("nada"));
    EXPECT_EQ(readProfileString("Otra", "SysHelp", "", "KOVAL.INI"), QString("ayuda"));
}

TEST_F(Profiles, ReadGivesTheDefaultForWhatIsMissing)
{
    EXPECT_EQ(readProfileString("Options", "SysPath", "def", "KOVAL.INI"), QString("def"));
    writeFile("KOVAL.INI", kKoval);
    EXPECT_EQ(readProfileString("Nada", "SysPath", "def", "KOVAL.INI"), QString("def"));
    EXPECT_EQ(readProfileString("Options", "SysHelp", "def", "KOVAL.INI"), QString("def")); // other section's key
    EXPECT_EQ(readProfileString("Options", "Falta", "", "KOVAL.INI"), QString(""));
    EXPECT_EQ(readProfileString("Options", "; host settings", "def", "KOVAL.INI"), QString("def"));
}

TEST_F(Profiles, ReadCutsTheValueToMaxChars)
{
    writeFile("KOVAL.INI", kKoval);
    EXPECT_EQ(readProfileString("Options", "Largo", "", "KOVAL.INI", 4), QString("0123"));
    EXPECT_EQ(readProfileString("Options", "Largo", "", "KOVAL.INI"), QString("0123456789"));
    EXPECT_EQ(readProfileString("Options", "Falta", "abcdef", "KOVAL.INI", 3), QString("abc"));
}

TEST_F(Profiles, WriteCreatesFileAndSectionThenReadsBack)
{
    ASSERT_TRUE(writeProfileString("Options", "SysPath", "C:/VRD/", "KOVAL.INI"));
    EXPECT_EQ(fileBytes("KOVAL.INI"), QByteArray("[Options]\r\nSysPath=C:/VRD/\r\n"));
    ASSERT_TRUE(writeProfileString("Otra", "Clave", "valor", "KOVAL.INI"));
    EXPECT_EQ(fileBytes("KOVAL.INI"), QByteArray("[Options]\r\nSysPath=C:/VRD/\r\n\r\n[Otra]\r\nClave=valor\r\n"));
    EXPECT_EQ(readProfileString("otra", "clave", "", "KOVAL.INI"), QString("valor"));
    EXPECT_FALSE(writeProfileString("", "Clave", "x", "KOVAL.INI"));
    EXPECT_FALSE(writeProfileString("Otra", " ", "x", "KOVAL.INI"));
}

TEST_F(Profiles, WriteCreatesAMissingWindowsDirectory)
{
    const QString windows = dir_.filePath("nuevo/windows");
    qputenv("WINDIR", windows.toLocal8Bit());
    ASSERT_TRUE(writeWinIni("intl", "sDecimal", "."));
    EXPECT_TRUE(QFile::exists(windows + "/WIN.INI"));
    EXPECT_EQ(readWinIni("intl", "sDecimal", ""), QString("."));
    // A file named with its folder is not given one.
    EXPECT_FALSE(writeProfileString("Options", "SysPath", "x", dir_.filePath("falta/KOVAL.INI")));
}

TEST_F(Profiles, WriteReplacesInPlaceAndKeepsEverythingElse)
{
    writeFile("KOVAL.INI", "[Options]\r\nSysPath=viejo\r\nDBName=vrd.mdb\r\n\r\n[Otra]\r\nSysPath=otro\r\n");
    ASSERT_TRUE(writeProfileString("OPTIONS", "syspath", "nuevo", "KOVAL.INI"));
    EXPECT_EQ(fileBytes("KOVAL.INI"),
              QByteArray("[Options]\r\nSysPath=nuevo\r\nDBName=vrd.mdb\r\n\r\n[Otra]\r\nSysPath=otro\r\n"));

    // A new key goes at the end of its own section, before the blank line.
    ASSERT_TRUE(writeProfileString("Options", "SysUser", "ana", "KOVAL.INI"));
    EXPECT_EQ(fileBytes("KOVAL.INI"),
              QByteArray("[Options]\r\nSysPath=nuevo\r\nDBName=vrd.mdb\r\nSysUser=ana\r\n\r\n[Otra]\r\nSysPath=otro\r\n"));
    EXPECT_EQ(readProfileString("Otra", "SysPath", "", "KOVAL.INI"), QString("otro"));
    EXPECT_EQ(readProfileString("Options", "DBName", "", "KOVAL.INI"), QString("vrd.mdb"));
}

TEST_F(Profiles, AccentsRoundTripAsWindows1252)
{
    ASSERT_TRUE(writeProfileString("Opción", "Año", "Régimen de Reprogramación ñÑ", "KOVAL.INI"));
    EXPECT_TRUE(fileBytes("KOVAL.INI").contains("Reprogramaci\xf3n \xf1\xd1\r\n"));
    EXPECT_EQ(readProfileString("OPCIÓN", "año", "", "KOVAL.INI"), QStringLiteral("Régimen de Reprogramación ñÑ"));
}

TEST_F(Profiles, WinIniLiesInTheWindowsDirectory)
{
    ASSERT_TRUE(writeWinIni("intl", "sThousand", ","));
    EXPECT_EQ(readProfileString("intl", "sThousand", "", path("WIN.INI")), QString(","));
    EXPECT_EQ(readWinIni("INTL", "STHOUSAND", ""), QString(","));
    EXPECT_EQ(readWinIni("intl", "sDecimal", "def"), QString("def"));
}

TEST_F(Profiles, WhatIsNotAPlainFileReadsAsMissingAndIsNotWritten)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(path("FIFO.INI")).constData(), 0600), 0);
    ASSERT_TRUE(QDir(dir_.path()).mkdir("CARPETA.INI"));
    for (const char* name : {"FIFO.INI", "CARPETA.INI"}) {
        SCOPED_TRACE(name);
        EXPECT_EQ(readProfileString("Options", "SysPath", "nada", QString::fromLatin1(name)), QStringLiteral("nada"));
        EXPECT_FALSE(writeProfileString("Options", "SysPath", "C:/", QString::fromLatin1(name)));
    }
}

// Programs sharing KOVAL.INI write their own keys of it at once, on a share
// where every sync takes 50 ms: each waits its turn, however long the other
// takes, and no change is refused or lost.
TEST_F(Profiles, WritersOfOneFileAtOnceLoseNoValue)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LD_PRELOAD", SLOWFSYNC_LIB);
    environment.insert("FSYNC_DELAY_MS", "50");
    // Under the address sanitizer a library preloaded before its runtime is let be.
    environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    QProcess writers[2];
    const char* keys[] = {"SysPath", "SystemDB"};
    for (int i = 0; i < 2; ++i) {
        writers[i].setProcessEnvironment(environment);
        startWriter(&writers[i], path("KOVAL.INI"), keys[i], 100);
    }
    for (QProcess& writer : writers) {
        EXPECT_TRUE(writer.waitForFinished(120000)) << "still writing after two minutes";
        EXPECT_EQ(writer.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(writer.exitCode(), 0) << "changes refused";
    }
    EXPECT_EQ(readProfileString("Options", "SysPath", "", "KOVAL.INI"), QString("100"));
    EXPECT_EQ(readProfileString("Options", "SystemDB", "", "KOVAL.INI"), QString("100"));
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System),
              QStringList{"KOVAL.INI"});
}

// Another file of the folder is held for good and its writer stopped while it
// waits for it, and another program holds a lock on the folder itself: none
// of them is KOVAL.INI, whose changes wait for none of them.
TEST_F(Profiles, AChangeWaitsForNoOtherFileNorTheFolder)
{
    QProcess fileHolder, folderHolder, otherWriter, writer;
    ASSERT_TRUE(holdLock(&fileHolder, path("A.INI")));
    ASSERT_TRUE(holdLock(&folderHolder, dir_.path()));
    startWriter(&otherWriter, path("A.INI"), "SysPath", 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return waitsForALock(otherWriter.processId()); }, 60000))
        << "the writer of A.INI never waited for its lock";
    ::kill(pid_t(otherWriter.processId()), SIGSTOP);

    startWriter(&writer, path("KOVAL.INI"), "SysPath", 3);
    ASSERT_TRUE(writer.waitForFinished(60000)) << "still writing after a minute";
    EXPECT_EQ(writer.exitCode(), 0) << "changes refused";
    EXPECT_EQ(readProfileString("Options", "SysPath", "", "KOVAL.INI"), QString("3"));
}

// Where the system gives the writer no timer to end its wait (no signal may
// be queued for it), it still waits for a holder that lets the file go.
TEST_F(Profiles, AChangeWaitsForTheFileWithoutATimer)
{
    QProcess holder, writer;
    ASSERT_TRUE(holdLock(&holder, path("KOVAL.INI"), "exec sleep 1"));
    writer.setChildProcessModifier([] {
        const struct rlimit none {0, 0};
        ::setrlimit(RLIMIT_SIGPENDING, &none);
    });
    startWriter(&writer, path("KOVAL.INI"), "SysPath", 1);
    ASSERT_TRUE(writer.waitForFinished(60000)) << "still writing after a minute";
    EXPECT_EQ(writer.exitCode(), 0) << "change refused";
    EXPECT_EQ(readProfileString("Options", "SysPath", "", "KOVAL.INI"), QString("1"));
}
