#include "platform/plainfile.h"

#include "platform/profile.h"
#include "platform/textfile.h"
#include "tests/support/ChildProcess.h"
#include "tests/support/OtherUser.h"
#include "tests/support/PlantedFile.h"
#include "tests/support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <algorithm>
#include <csignal>
#include <cstddef>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/ptrace.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

const Planted kEveryKind[] = {Planted::Link, Planted::Fifo, Planted::Folder, Planted::DeviceLink};
const QByteArray kOld = "[Options]\r\nSysPath=C:/VRD/\r\n";

bool killed(int status)
{
    return WIFSIGNALED(status) && WTERMSIG(status) == SIGSYS;
}

struct stat statOf(const QString& path)
{
    struct stat info {};
    ::lstat(QFile::encodeName(path).constData(), &info);
    return info;
}

QStringList filesIn(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
}

class PlainFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_FALSE(outside_.isEmpty()); }
    QString path(const QString& name) const { return dir_.filePath(name); }
    QString outside() const { return outside_; }

    QTemporaryDir dir_;
    QTemporaryDir elsewhere_;
    QString outside_ = outsideFile(elsewhere_.path());
};

TEST_F(PlainFiles, OutputNeverGoesThroughWhatIsNotAPlainFile)
{
    const QList<QPair<const char*, std::function<bool(const QString&)>>> writers = {
        {"open", [](const QString& p) {
             const PlainFileOpen file = openPlainFile(p, O_WRONLY | O_CREAT | O_TRUNC);
             if (file.fd >= 0)
                 ::close(file.fd);
             return file.fd >= 0 || !file.notPlain;
         }},
        {"write", [](const QString& p) { return writePlainFile(p, "x"); }},
        {"append", [](const QString& p) { return appendPlainFile(p, "x"); }},
        {"text lines", [](const QString& p) { return writeTextLines(p, {"x"}); }},
        {"profile", [](const QString& p) { return writeProfileString("Options", "SysPath", "x", p); }},
    };
    for (const Planted kind : kEveryKind) {
        for (const auto& [writer, write] : writers) {
            SCOPED_TRACE(std::string(plantedName(kind)) + ", " + writer);
            const QString target = path("KOVAL.INI");
            ASSERT_TRUE(plant(kind, target, outside()));
            EXPECT_FALSE(write(target));
            EXPECT_TRUE(stillPlanted(kind, target, outside()));
            EXPECT_EQ(plainBytes(outside()), QByteArray("fuera\r\n"));
            EXPECT_EQ(QDir(dir_.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System),
                      QStringList{"KOVAL.INI"});
            ASSERT_TRUE(QFile::remove(target) || QDir(target).removeRecursively());
        }
    }
}

TEST_F(PlainFiles, InputIsAPlainFileWithinTheBound)
{
    ASSERT_TRUE(plant(Planted::Link, path("enlace"), outside()));
    ASSERT_TRUE(plant(Planted::Fifo, path("fifo")));
    ASSERT_TRUE(plant(Planted::Folder, path("carpeta")));
    ASSERT_TRUE(plant(Planted::DeviceLink, path("cero")));
    ASSERT_TRUE(plantHugeFile(path("enorme"), qint64(4) << 30));
    const struct {
        const char* name;
        ReadFailure failure;
        QByteArray bytes;
    } cases[] = {
        {"enlace", ReadFailure::None, "fuera\r\n"}, // a link to a plain file is read through
        {"fifo", ReadFailure::NotPlain, {}},
        {"carpeta", ReadFailure::NotPlain, {}},
        {"cero", ReadFailure::NotPlain, {}},
        {"enorme", ReadFailure::TooLarge, {}},
        {"falta", ReadFailure::Missing, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bytes = "antes";
        EXPECT_EQ(readPlainFile(path(c.name), &bytes), c.failure);
        EXPECT_EQ(bytes, c.failure == ReadFailure::None ? c.bytes : QByteArray("antes"));
    }
    QByteArray bytes;
    EXPECT_EQ(readPlainFile(outside(), &bytes, 6), ReadFailure::TooLarge);
    EXPECT_EQ(readPlainFile(outside(), &bytes, 7), ReadFailure::None);
}

TEST_F(PlainFiles, AWholeWriteReplacesTheFileKeepingItsPermissionsAndLeavesNothingBeside)
{
    ASSERT_TRUE(writePlainFile(path("a.txt"), "uno"));
    ASSERT_TRUE(QFile::setPermissions(path("a.txt"), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                         | QFileDevice::ReadGroup));
    ASSERT_TRUE(writePlainFile(path("a.txt"), "dos"));
    ASSERT_TRUE(appendPlainFile(path("a.txt"), "tres"));
    EXPECT_EQ(plainBytes(path("a.txt")), QByteArray("dostres"));
    EXPECT_EQ(QFile::permissions(path("a.txt")),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser | QFileDevice::WriteUser
                  | QFileDevice::ReadGroup);
    EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.txt"});
    if (runsAsRoot()) { // the one user who may give a file to another keeps its owner
        ASSERT_EQ(::chown(QFile::encodeName(path("a.txt")).constData(), 65534, 65534), 0);
        ASSERT_TRUE(writePlainFile(path("a.txt"), "cuatro"));
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(path("a.txt")).constData(), &info), 0);
        EXPECT_EQ(info.st_uid, 65534u);
        EXPECT_EQ(info.st_gid, 65534u);
    }
}

// The folder lets the user put a file in its place, the file does not let
// him write it: it stays as it is, with its owner and its permissions. A file
// without write permission is not written by its owner either, root too.
TEST_F(PlainFiles, AFileTheUserMayNotWriteIsLeftAsItIs)
{
    const QList<QPair<const char*, std::function<bool(const QString&)>>> writers = {
        {"write", [](const QString& p) { return writePlainFile(p, "x"); }},
        {"text lines", [](const QString& p) { return writeTextLines(p, {"x"}); }},
        {"profile", [](const QString& p) { return writeProfileString("Options", "SysPath", "x", p); }},
    };
    const struct {
        const char* name;
        int mode;
        bool ownedByAnother;
        bool byOwner;
    } files[] = {
        {"read-only", 0444, false, false},
        {"read-only, to its owner", 0444, false, true},
        {"another owner's", 0644, true, false},
    };
    openToEveryone(dir_.path());
    const QString target = path("KOVAL.INI");
    for (const auto& file : files) {
        if (file.ownedByAnother && !runsAsRoot())
            continue; // only root makes a file for another owner
        for (const auto& [writer, write] : writers) {
            SCOPED_TRACE(std::string(file.name) + ", " + writer);
            ASSERT_TRUE(writePlainFile(target, "[Options]\r\nSysPath=C:/VRD\r\n"));
            ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), mode_t(file.mode)), 0);
            struct stat before {};
            ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &before), 0);

            EXPECT_FALSE(file.byOwner ? write(target) : asOtherUser([&, write = write] { return write(target); }));

            struct stat after {};
            ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &after), 0);
            EXPECT_EQ(plainBytes(target), QByteArray("[Options]\r\nSysPath=C:/VRD\r\n"));
            EXPECT_EQ(after.st_ino, before.st_ino);
            EXPECT_EQ(after.st_uid, before.st_uid);
            EXPECT_EQ(after.st_mode & 07777, mode_t(file.mode));
            EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"KOVAL.INI"});
            ASSERT_TRUE(QFile::remove(target));
        }
    }
}

// A small disk filled first with one file, then with empty files.
TEST_F(PlainFiles, AFullDiskLeavesTheOldFileWhole)
{
    const SmallDisk disk(path("disco"));
    if (!disk.mounted())
        GTEST_SKIP() << "only root mounts a tmpfs";
    const QString target = path("disco/KOVAL.INI");
    ASSERT_TRUE(writePlainFile(target, kOld));
    const auto refused = [&] {
        int error = 0;
        EXPECT_FALSE(writePlainFile(target, QByteArray(8192, 'n'), &error));
        EXPECT_EQ(error, ENOSPC);
        EXPECT_EQ(plainBytes(target), kOld);
        EXPECT_FALSE(writePlainFile(path("disco/NUEVO.INI"), "n", &error));
        EXPECT_EQ(error, ENOSPC);
        EXPECT_EQ(filesIn(path("disco")).filter("INI"), QStringList{"KOVAL.INI"});
    };
    disk.fillRoom();
    refused();
    disk.fillInodes();
    refused();
}

// Run as a program at every start does: a child process.
TEST_F(PlainFiles, AWriteThatChangesNothingLeavesTheFileUntouched)
{
    const QString target = path("KOVAL.INI");
    const QList<QPair<const char*, std::function<bool()>>> writers = {
        {"write", [&] { return writePlainFile(target, kOld); }},
        {"profile", [&] { return writeProfileString("options", "syspath", "C:/VRD/", target); }},
    };
    ASSERT_TRUE(writePlainFile(target, kOld));
    const struct stat before = statOf(target);
    for (const auto& [writer, write] : writers) {
        SCOPED_TRACE(writer);
        EXPECT_EQ(inChild(write), 0); // the wait status of a child that ended well
        const struct stat after = statOf(target);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
    }
}

// Another process holds the file's lock and never lets it go. The writes
// run in a child process, ended by the test's time limit should one wait for good.
TEST_F(PlainFiles, AHeldLockFailsAChangeAfterItsWaitAndHoldsNoWriteThatChangesNothing)
{
    const QString target = path("KOVAL.INI");
    ASSERT_TRUE(writePlainFile(target, kOld));
    const struct stat before = statOf(target);
    QProcess holder;
    ASSERT_TRUE(holdLock(&holder, target)) << "the lock's holder never took it";
    const struct {
        const char* writer;
        std::function<bool()> write;
        bool written;
    } cases[] = {
        {"same bytes", [&] { return writePlainFile(target, kOld); }, true},
        {"same value", [&] { return writeProfileString("options", "syspath", "C:/VRD/", target); }, true},
        {"new bytes", [&] { return writePlainFile(target, "nuevo"); }, false},
        {"new value", [&] { return writeProfileString("Options", "SysPath", "D:/", target); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writer);
        const int status = inChild(c.write);
        EXPECT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), c.written ? 0 : 1);
        EXPECT_EQ(plainBytes(target), kOld);
        const struct stat after = statOf(target);
        EXPECT_EQ(after.st_ino, before.st_ino);
        EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
        EXPECT_EQ(filesIn(dir_.path()), QStringList{"KOVAL.INI"});
    }
}

// A user who may write the file but not rename over it (a sticky folder, a
// file of another owner) writes it over, whether the new content is shorter
// or longer.
class StickyFolder : public PlainFiles {
protected:
    void SetUp() override
    {
        if (!runsAsRoot())
            GTEST_SKIP() << "only root makes a file for another owner";
        openToEveryone(dir_.path());
        ASSERT_TRUE(QDir().mkdir(path("tmp")));
        ASSERT_EQ(::chmod(QFile::encodeName(path("tmp")).constData(), 01777), 0);
        ASSERT_TRUE(writePlainFile(target(), kOld));
        ASSERT_EQ(::chmod(QFile::encodeName(target()).constData(), 0666), 0);
    }
    QString target() const { return path("tmp/KOVAL.INI"); }
};

TEST_F(StickyFolder, AnotherUserWritesTheFileOver)
{
    const struct {
        const char* writer;
        std::function<bool(const QString&)> write;
        QByteArray bytes;
    } cases[] = {
        {"shorter", [](const QString& p) { return writeProfileString("Options", "SysPath", "C:/", p); },
         "[Options]\r\nSysPath=C:/\r\n"},
        {"longer", [](const QString& p) { return writePlainFile(p, "[Options]\r\nSysPath=D:/VRD/SIS/\r\n"); },
         "[Options]\r\nSysPath=D:/VRD/SIS/\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.writer);
        ASSERT_TRUE(writePlainFile(target(), kOld));
        const struct stat before = statOf(target());
        EXPECT_TRUE(asOtherUser([&] { return c.write(target()); }));
        EXPECT_EQ(plainBytes(target()), c.bytes);
        EXPECT_EQ(statOf(target()).st_ino, before.st_ino);
        EXPECT_EQ(filesIn(path("tmp")), QStringList{"KOVAL.INI"});
    }
}

// Written over where the folder takes no new file of another user, a longer
// content takes its room before any old byte is written.
TEST_F(PlainFiles, AFullDiskFailsAWriteOverAndLeavesTheOldFileWhole)
{
    if (!runsAsRoot())
        GTEST_SKIP() << "only root makes a file for another owner";
    openToEveryone(dir_.path());
    const SmallDisk disk(path("disco"));
    ASSERT_TRUE(disk.mounted());
    ASSERT_EQ(::mkdir(QFile::encodeName(path("disco/carpeta")).constData(), 0755), 0);
    const QString target = path("disco/carpeta/KOVAL.INI");
    ASSERT_TRUE(writePlainFile(target, kOld));
    ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0666), 0);
    disk.fillRoom();
    const int status = inChild([&] {
        becomeOtherUser();
        return writePlainFile(target, QByteArray(8192, 'n'));
    });
    EXPECT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 1);
    EXPECT_EQ(plainBytes(target), kOld);
    EXPECT_EQ(filesIn(path("disco/carpeta")), QStringList{"KOVAL.INI"});
}

// `bytes` holds `content` and, after it, at most filler that reads as no
// line of its own: a line end and blanks.
bool readsAs(const QByteArray& bytes, const QByteArray& content)
{
    if (!bytes.startsWith(content))
        return false;
    const QByteArray rest = bytes.mid(content.size());
    return rest.isEmpty()
        || (rest.startsWith("\r\n") && std::all_of(rest.begin() + 2, rest.end(), [](char c) { return c == ' '; }));
}

// Runs `step` in a child process that is killed (SIGKILL) as it enters its
// `call`th system call; its wait status, a normal exit when it made fewer.
// A child still running after a minute ends by its alarm (SIGALRM).
int killedAtCall(int call, const std::function<bool()>& step)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::alarm(60);
        ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::raise(SIGSTOP);
        ::_exit(step() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ::ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int entered = 0;
    bool inCall = false;
    int signal = 0; // one the child got, passed on to it
    for (;;) {
        ::ptrace(PTRACE_SYSCALL, child, nullptr, reinterpret_cast<void*>(intptr_t(signal)));
        ::waitpid(child, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status))
            return status;
        const bool atCall = WSTOPSIG(status) == (SIGTRAP | 0x80);
        signal = atCall ? 0 : WSTOPSIG(status);
        if (!atCall)
            continue;
        inCall = !inCall; // a call stops the child as it enters, then as it leaves
        if (inCall && ++entered == call) {
            ::kill(child, SIGKILL);
            return waitForChild(child);
        }
    }
}

// On a file system that reserves no room (ramfs: no fallocate), a writer
// that writes the file over is killed at each of its system calls in turn.
// Whether the new content is longer or shorter and the old one ends its last
// line or not (a KOVAL.INI edited by hand), the file always reads as the old
// content or the new one; let be, the writer leaves the new one.
TEST_F(PlainFiles, AWriterKilledAnywhereInAWriteOverLeavesTheOldOrTheNewContent)
{
    if (!runsAsRoot())
        GTEST_SKIP() << "only root makes a file for another owner and mounts a ramfs";
    openToEveryone(dir_.path());
    const QByteArray disk = QFile::encodeName(path("ram"));
    ASSERT_EQ(::mkdir(disk.constData(), 0755), 0);
    ASSERT_EQ(::mount("ramfs", disk.constData(), "ramfs", 0, "mode=0755"), 0);
    const auto unmount = qScopeGuard([&disk] { ::umount2(disk.constData(), MNT_DETACH); });
    const QString target = path("ram/KOVAL.INI");
    const QByteArray handEdited = "[Options]\r\nDBName=vrd.db\r\nSysUser=ADMIN";
    const struct {
        const char* change;
        QByteArray before;
        QByteArray after;
    } cases[] = {
        {"longer", handEdited, "[Options]\r\nDBName=vardeno.db\r\nSysUser=ADMIN\r\n"},
        {"shorter", handEdited, "[Options]\r\nSysUser=AD\r\n"},
        {"one byte longer", "[Options]\r\nSysUser=ADMIN\r\n", "[Options]\r\nSysUser=ADMINS\r\n"},
        {"one byte shorter", "[Options]\r\nSysUser=ADMIN\r\n", "[Options]\r\nSysUser=ADMI\r\n"},
    };
    for (const auto& c : cases) {
        for (int call = 1;; ++call) {
            SCOPED_TRACE(std::string(c.change) + ", killed at system call " + std::to_string(call));
            QFile old(target);
            ASSERT_TRUE(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
            ASSERT_EQ(old.write(c.before), c.before.size());
            old.close();
            ASSERT_EQ(::chmod(QFile::encodeName(target).constData(), 0666), 0);

            const int status = killedAtCall(call, [&] {
                becomeOtherUser();
                return writePlainFile(target, c.after);
            });
            const QByteArray bytes = plainBytes(target);
            EXPECT_TRUE(readsAs(bytes, c.before) || readsAs(bytes, c.after)) << bytes.toStdString();
            EXPECT_EQ(filesIn(path("ram")), QStringList{"KOVAL.INI"});
            if (WIFEXITED(status)) {
                EXPECT_EQ(WEXITSTATUS(status), 0);
                EXPECT_EQ(bytes, c.after);
                break;
            }
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL);
            ASSERT_LT(call, 500) << "the write never ends";
        }
    }
}

// Under the lock of a file, a temporary file of its name is a killed writer's.
TEST_F(PlainFiles, WhatAKilledWriterLeftGoesWithTheNextWrite)
{
    const QString target = path("KOVAL.INI");
    ASSERT_TRUE(writePlainFile(target, kOld));
    const int status = inChild([&] { return writePlainFile(target, "nuevo"); },
                               {SYS_rename, SYS_renameat, SYS_renameat2});
    ASSERT_TRUE(killed(status));
    ASSERT_EQ(filesIn(dir_.path()).size(), 2);
    for (const char* name : {"KOVAL.INI.~1a2b", "KOVAL.INI.~", "KOVAL.INI.~x1", "OTRO.INI.~1a2b"}) {
        QFile left(path(name));
        ASSERT_TRUE(left.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(plant(Planted::Link, path("KOVAL.INI.~beef"), outside()));

    ASSERT_TRUE(writePlainFile(target, "nuevo"));
    EXPECT_EQ(filesIn(dir_.path()),
              (QStringList{"KOVAL.INI", "KOVAL.INI.~", "KOVAL.INI.~beef", "KOVAL.INI.~x1", "OTRO.INI.~1a2b"}));
    EXPECT_EQ(plainBytes(outside()), QByteArray("fuera\r\n"));
    EXPECT_EQ(plainBytes(target), QByteArray("nuevo"));
}

} // namespace
