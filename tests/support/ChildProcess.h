#pragma once

// Waiting for a process a test forked: one that does not end in time (a
// write that waits for good) fails the test instead of hanging it.

#include <sys/types.h>

// The child's wait status. A child still running after a minute is killed
// (SIGKILL) and fails the test.
int waitForChild(pid_t child);
