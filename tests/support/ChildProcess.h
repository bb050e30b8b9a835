#pragma once

// Processes a test runs beside it: waiting for one it forked, where one that
// does not end in time (a write that waits for good) fails the test instead
// of hanging it; another program holding a file's lock.

#include <QString>
#include <sys/types.h>

class QProcess;

// The child's wait status. A child still running after a minute is killed
// (SIGKILL) and fails the test.
int waitForChild(pid_t child);

// Starts flock(1) holding the lock of `file` (or folder) while it runs the
// shell command `command`; false when it did not take the lock within a minute.
bool holdLock(QProcess* holder, const QString& file, const QString& command = QStringLiteral("exec cat"));
