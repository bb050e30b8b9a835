#pragma once

// Processes a test runs beside it: waiting for one it forked, where one that
// does not end in time (a write that waits for good) fails the test instead
// of hanging it; a step run in a child whose system calls may be refused or
// kill it; another program holding a file's lock.

#include <QString>
#include <functional>
#include <initializer_list>
#include <sys/types.h>

class QProcess;

// The child's wait status. A child still running after a minute is killed
// (SIGKILL) and fails the test.
int waitForChild(pid_t child);

// Any of the system calls `calls` the calling process makes from now on gets
// `action` (a SECCOMP_RET_ value, SECCOMP_RET_ERRNO | EIO say) instead of
// running.
bool filterCalls(std::initializer_list<long> calls, unsigned action);

// `step` run in a forked child process, killed (SIGSYS) at any of the system
// calls `fatal`; its wait status, 0 when the step returned true.
int inChild(const std::function<bool()>& step, std::initializer_list<long> fatal = {});

// Starts flock(1) holding the lock of `file` (or folder) while it runs the
// shell command `command`; false when it did not take the lock within a minute.
bool holdLock(QProcess* holder, const QString& file, const QString& command = QStringLiteral("exec cat"));
