#include "platform/plainfile.h"

#include "platform/profile.h"
#include "platform/textfile.h"
#include "tests/support/OtherUser.h"
#include "tests/support/PlantedFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

const Planted kEveryKind[] = {Planted::Link, Planted::Fifo, Planted::Folder, Planted::DeviceLink};

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
// him write it: it stays as it is, with its owner and its permissions.
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
    } files[] = {
        {"read-only", 0444, false},
        {"another owner's", 0644, true},
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

            EXPECT_FALSE(asOtherUser([&, write = write] { return write(target); }));

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

} // namespace
