#include "platform/singleinstance.h"

#include "tests/platform/scopedenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <functional>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace platform;

namespace {

class SingleInstances : public ::testing::Test {
protected:
    static QString programName(const char* test)
    {
        return QStringLiteral("vardeno-test-%1-%2").arg(QCoreApplication::applicationPid()).arg(test);
    }

    QTemporaryDir dir_;
    ScopedEnv runtimeDir_{"XDG_RUNTIME_DIR", dir_.path().toLocal8Bit()};
};

} // namespace

TEST_F(SingleInstances, ASecondCopyFindsTheFirstUntilItEnds)
{
    const QString name = programName("same");
    {
        SingleInstance first(name);
        EXPECT_FALSE(first.anotherIsRunning());
        EXPECT_TRUE(QFile::exists(dir_.filePath(name + "-" + QString::number(getuid()) + ".lock")));
        SingleInstance second(name);
        EXPECT_TRUE(second.anotherIsRunning());
        EXPECT_FALSE(SingleInstance(programName("other")).anotherIsRunning());
        EXPECT_TRUE(SingleInstance(name).anotherIsRunning());
    }
    EXPECT_FALSE(SingleInstance(name).anotherIsRunning());
}

TEST_F(SingleInstances, WithoutARuntimeFolderTheLockLiesInTmp)
{
    qunsetenv("XDG_RUNTIME_DIR");
    const QString name = programName("tmp");
    SingleInstance first(name);
    EXPECT_FALSE(first.anotherIsRunning());
    EXPECT_TRUE(QFile::exists("/tmp/" + name + "-" + QString::number(getuid()) + ".lock"));
    EXPECT_TRUE(SingleInstance(name).anotherIsRunning());
    QFile::remove("/tmp/" + name + "-" + QString::number(getuid()) + ".lock");
}

TEST_F(SingleInstances, AnotherProcessHoldsTheLockUntilItDies)
{
    const QString name = programName("fork");
    int ready[2];
    int release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        close(ready[0]);
        close(release[1]);
        SingleInstance held(name);
        const char state = held.anotherIsRunning() ? 'n' : 'y';
        (void)!write(ready[1], &state, 1);
        char ignored;
        (void)!read(release[0], &ignored, 1); // waits until the parent kills it
        _exit(0);
    }
    close(ready[1]);
    close(release[0]);
    char state = 0;
    ASSERT_EQ(read(ready[0], &state, 1), 1);
    EXPECT_EQ(state, 'y');
    EXPECT_TRUE(SingleInstance(name).anotherIsRunning());

    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    close(ready[0]);
    close(release[1]);
    EXPECT_FALSE(SingleInstance(name).anotherIsRunning());
}

TEST_F(SingleInstances, ALockThatCannotBeTakenLetsNoSecondCopyRun)
{
    const QString name = programName("closed");
    const QString lock = dir_.filePath(name + "-" + QString::number(getuid()) + ".lock");
    const QString elsewhere = dir_.filePath(QStringLiteral("elsewhere"));
    const struct {
        const char* caso;
        std::function<bool()> prepare;
    } cases[] = {
        {"a folder", [&] { return QDir().mkdir(lock); }},
        {"a link", [&] { return QFile(elsewhere).open(QIODevice::WriteOnly) && QFile::link(elsewhere, lock); }},
        {"a FIFO", [&] { return ::mkfifo(QFile::encodeName(lock).constData(), 0600) == 0; }},
        {"a file that cannot be opened",
         [&] { return QFile(lock).open(QIODevice::WriteOnly) && QFile::setPermissions(lock, QFileDevice::ReadOwner); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.caso);
        ASSERT_TRUE(c.prepare());
        if (c.caso == std::string("a file that cannot be opened") && ::access(QFile::encodeName(lock).constData(), W_OK) == 0)
            continue; // the superuser opens it anyway
        EXPECT_TRUE(SingleInstance(name).anotherIsRunning());
        QFileInfo(lock).isDir() ? QDir().rmdir(lock) : QFile::remove(lock);
    }
}
