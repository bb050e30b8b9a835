#include "tests/support/ChildProcess.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/wait.h>

namespace {

constexpr int kTimeoutMs = 60000;
constexpr int kPollMs = 10;

} // namespace

int waitForChild(pid_t child)
{
    const QDeadlineTimer deadline(kTimeoutMs);
    int status = -1;
    while (::waitpid(child, &status, WNOHANG) == 0) {
        if (deadline.hasExpired()) {
            ADD_FAILURE() << "process " << child << " did not end";
            ::kill(child, SIGKILL);
            ::waitpid(child, &status, 0);
            break;
        }
        QThread::msleep(kPollMs);
    }
    return status;
}

bool holdLock(QProcess* holder, const QString& file, const QString& command)
{
    // flock(1) holds the lock itself, not its command, and lets it go when killed with the process.
    holder->start(QStringLiteral("flock"), {QStringLiteral("--close"), file, QStringLiteral("--command"),
                                            QStringLiteral("echo; ") + command});
    return holder->waitForReadyRead(kTimeoutMs);
}
