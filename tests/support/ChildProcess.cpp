#include "tests/support/ChildProcess.h"

#include <QDeadlineTimer>
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
