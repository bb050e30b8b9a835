#include "tests/support/ChildProcess.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <csignal>
#include <cstddef>
#include <gtest/gtest.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

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

bool filterCalls(std::initializer_list<long> calls, unsigned action)
{
    std::vector<sock_filter> filter = {BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr))};
    for (const long call : calls) {
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __u32(call), 0, 1));
        filter.push_back(BPF_STMT(BPF_RET | BPF_K, action));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program {static_cast<unsigned short>(filter.size()), filter.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 && ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

int inChild(const std::function<bool()>& step, std::initializer_list<long> fatal)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(filterCalls(fatal, SECCOMP_RET_KILL_PROCESS) && step() ? 0 : 1);
    return waitForChild(child);
}

bool holdLock(QProcess* holder, const QString& file, const QString& command)
{
    // flock(1) holds the lock itself, not its command, and lets it go when killed with the process.
    holder->start(QStringLiteral("flock"), {QStringLiteral("--close"), file, QStringLiteral("--command"),
                                            QStringLiteral("echo; ") + command});
    return holder->waitForReadyRead(kTimeoutMs);
}
