#pragma once

#include <QString>

namespace platform {

// A lock held for the life of the process, named after the program, that a
// second copy of the same program finds. The lock lives in the user's
// runtime folder and is released when the process ends, however it ends.
// A lock that cannot be taken for any reason (the path is a folder, a link or
// cannot be opened) counts as another copy running.
class SingleInstance {
public:
    explicit SingleInstance(const QString& programName);
    ~SingleInstance();
    // True when another running process holds the lock.
    bool anotherIsRunning() const { return !held_; }

private:
    int fd_ = -1;
    bool held_ = false;
};

} // namespace platform
