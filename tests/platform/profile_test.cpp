#include "platform/profile.h"

#include "tests/platform/scopedenv.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/OtherUser.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <csignal>
#include <fcntl.h>
#include <pwd.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

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

// The process sleeps in a wait for a lock another one holds: in flock(2) for
// a whole file, or in fcntl(2) for a range of one.
bool waitsForALock(qint64 pid)
{
    QFile call(QStringLiteral("/proc/%1/syscall").arg(pid));
    if (!call.open(QIODevice::ReadOnly))
        return false;
    bool sleeps = false;
    const long number = call.readAll().split(' ').first().toLong(&sleeps); // "running" while it runs
    return sleeps && (number == SYS_flock || number == SYS_fcntl);
}

// Stops the process and waits until it is stopped, as a frozen program is:
// it has then left any wait for a lock, and takes none that is let go.
bool stop(qint64 pid)
{
    ::kill(pid_t(pid), SIGSTOP);
    return QTest::qWaitFor(
        [&] {
            QFile status(QStringLiteral("/proc/%1/stat").arg(pid));
            const QByteArray fields = status.open(QIODevice::ReadOnly) ? status.readAll() : QByteArray();
            return fields.mid(fields.lastIndexOf(')') + 2, 1) == "T";
        },
        60000);
}

// A writer that changes `key` of the file `times` times; its exit code is the
// number of changes refused.
void startWriter(QProcess* writer, const QString& file, const char* key, int times)
{
    writer->start(PROFILEWRITER_BIN, {file, "Options", key, QString::number(times)});
}

// The environment of a writer on a share where every sync takes 50 ms.
QProcessEnvironment slowDisk()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("LD_PRELOAD", SLOWFSYNC_LIB);
    environment.insert("FSYNC_DELAY_MS", "50");
    // Under the address sanitizer a library preloaded before its runtime is let be.
    environment.insert("ASAN_OPTIONS", environment.value("ASAN_OPTIONS") + ":verify_asan_link_order=0");
    return environment;
}

// In a writer's child process: a mount namespace of its own, where /run/lock
// is a folder of root's that nobody may write, as some systems have it.
void readOnlyLocksFolder()
{
    if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0
        || ::mount("none", "/run/lock", "tmpfs", MS_RDONLY, "mode=0755") != 0)
        ::_exit(126);
}

QByteArray userHome()
{
    return ::getpwuid(::geteuid())->pw_dir;
}

// Where writers could keep their turns: the machine's folder of locks and
// the temporary folder, which every user may write, and the user's home.
QList<QByteArray> turnsPlaces()
{
    return {"/run/lock/vardeno-turnos", QFile::encodeName(QDir::tempPath()) + "/vardeno-turnos",
            userHome() + "/.vardeno-turnos"};
}

// Another user's program that takes what it can at each name: a read lock of
// the whole file where it may open or make one, else a FIFO where it may
// make one. It holds them until this object goes, and what it made goes too.
class OtherUsersHolder {
    Q_DISABLE_COPY(OtherUsersHolder)

public:
    explicit OtherUsersHolder(const QList<QByteArray>& names)
        : names_(names)
    {
        int ready[2];
        if (names.isEmpty() || ::pipe(ready) != 0)
            return;
        child_ = ::fork();
        if (child_ == 0) {
            becomeOtherUser();
            for (const QByteArray& name : names_) {
                const int fd = ::open(name.constData(), O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK, 0666);
                struct flock whole {F_RDLCK, SEEK_SET, 0, 0, 0};
                if (fd < 0 || ::fcntl(fd, F_SETLK, &whole) != 0)
                    ::mkfifo(name.constData(), 0666);
            }
            ::_exit(::write(ready[1], "", 1) == 1 ? ::pause() : 1);
        }
        ::close(ready[1]);
        char told = 0; // or the end of the pipe, should the child die first
        holding_ = ::read(ready[0], &told, 1) == 1;
        ::close(ready[0]);
    }
    ~OtherUsersHolder()
    {
        if (child_ <= 0)
            return;
        ::kill(child_, SIGKILL);
        waitForChild(child_);
        for (const QByteArray& name : names_) {
            struct stat info {};
            if (::lstat(name.constData(), &info) == 0 && info.st_uid != ::geteuid())
                ::unlink(name.constData());
        }
    }

    bool holding() const { return names_.isEmpty() || holding_; }

private:
    QList<QByteArray> names_;
    pid_t child_ = -1;
    bool holding_ = false;
};

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
// takes, and no change is refused or lost. Their turns are their user's own:
// the same whatever temporary folders each is given and whether he may write
// the machine's folder of locks, and out of reach of another user's program
// that locks, or plants a FIFO at, every place of turns it can.
TEST_F(Profiles, WritersOfOneFileAtOnceLoseNoValue)
{
    struct stat home {};
    if (::stat(userHome().constData(), &home) != 0 || home.st_uid != ::geteuid())
        GTEST_SKIP() << "the user has no home folder of his own, where his writers keep their turns";
    const struct {
        const char* caso;
        bool ownNamespace; // /run/lock read-only to the writers, and each given its own temporary folders
        bool otherUser;
    } cases[] = {
        {"nothing else", false, false},
        {"/run/lock not writable, other temporary folders", true, false},
        {"another user's program holding what it can", false, true},
    };
    QStringList notRun;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caso);
        if ((c.ownNamespace || c.otherUser) && !runsAsRoot()) {
            notRun.append(QString::fromLatin1(c.caso));
            continue;
        }
        QFile::remove(path("KOVAL.INI"));
        const OtherUsersHolder holder(c.otherUser ? turnsPlaces() : QList<QByteArray>());
        ASSERT_TRUE(holder.holding()) << "the other user's program did not start";
        QProcess writers[2];
        const char* keys[] = {"SysPath", "SystemDB"};
        for (int i = 0; i < 2; ++i) {
            QProcessEnvironment environment = slowDisk();
            if (c.ownNamespace) {
                for (const char* name : {"TMPDIR", "XDG_RUNTIME_DIR"})
                    i == 0 ? environment.insert(name, dir_.path()) : environment.remove(name);
                writers[i].setChildProcessModifier(readOnlyLocksFolder);
            }
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
    if (!notRun.isEmpty())
        GTEST_SKIP() << "only root mounts and has another user; not run: " << notRun.join(", ").toStdString();
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
    ASSERT_TRUE(stop(otherWriter.processId()));

    startWriter(&writer, path("KOVAL.INI"), "SysPath", 3);
    ASSERT_TRUE(writer.waitForStarted(60000));
    bool waited = false;
    const bool ended = QTest::qWaitFor(
        [&] {
            waited = waited || waitsForALock(writer.processId());
            return writer.state() == QProcess::NotRunning;
        },
        60000);
    ASSERT_TRUE(ended) << "still writing after a minute";
    EXPECT_FALSE(waited) << "a change waited for a lock";
    EXPECT_EQ(writer.exitCode(), 0) << "changes refused";
    EXPECT_EQ(readProfileString("Options", "SysPath", "", "KOVAL.INI"), QString("3"));
}

// A writer waiting for the file is stopped, as a frozen program would be,
// and the file is then let go: the file is free, and its changes are made.
TEST_F(Profiles, AStoppedWriterRefusesNoChangeOfTheFileOnceItIsFree)
{
    QProcess holder, stopped, writer;
    ASSERT_TRUE(holdLock(&holder, path("KOVAL.INI")));
    startWriter(&stopped, path("KOVAL.INI"), "SystemDB", 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return waitsForALock(stopped.processId()); }, 60000))
        << "the writer never waited for the file";
    ASSERT_TRUE(stop(stopped.processId()));
    holder.kill();
    ASSERT_TRUE(holder.waitForFinished(60000));

    startWriter(&writer, path("KOVAL.INI"), "SysPath", 2);
    ASSERT_TRUE(writer.waitForFinished(60000)) << "still writing after a minute";
    EXPECT_EQ(writer.exitCode(), 0) << "changes refused";
    EXPECT_EQ(readProfileString("Options", "SysPath", "", "KOVAL.INI"), QString("2"));
}

// Where the system gives the writer no timer to end its wait (no signal may
// be queued for it), it still waits for a holder that lets the file go, and
// gives up on one that never does as soon as it would with a timer.
TEST_F(Profiles, AChangeWaitsForTheFileWithoutATimer)
{
    const struct {
        const char* holding;
        int refused;
        QString value;
    } cases[] = {{"exec sleep 1", 0, "1"}, {"exec cat", 1, ""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.holding);
        QFile::remove(path("KOVAL.INI"));
        QProcess holder, writer;
        ASSERT_TRUE(holdLock(&holder, path("KOVAL.INI"), c.holding));
        writer.setChildProcessModifier([] {
            const struct rlimit none {0, 0};
            ::setrlimit(RLIMIT_SIGPENDING, &none);
        });
        startWriter(&writer, path("KOVAL.INI"), "SysPath", 1);
        ASSERT_TRUE(writer.waitForFinished(60000)) << "still writing after a minute";
        EXPECT_EQ(writer.exitCode(), c.refused);
        EXPECT_EQ(readProfileString("Options", "SysPath", "", "KOVAL.INI"), c.value);
    }
}
