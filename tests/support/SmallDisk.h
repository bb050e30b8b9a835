#pragma once

// A disk of a test's own, to fill up: a tmpfs of 64 KiB (or the size asked
// for) and 16 inodes mounted on a folder for the test's life. Only root
// mounts one.

#include <QByteArray>
#include <QString>

class SmallDisk {
public:
    // Mounts it on `folder`, made when missing.
    explicit SmallDisk(const QString& folder, int kibibytes = 64);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    // One file takes all the room left.
    void fillRoom() const;
    // Empty files take every inode left.
    void fillInodes() const;

private:
    QByteArray folder_;
    bool mounted_ = false;
};
