#pragma once

// A disk of a test's own, to fill up, mounted on a folder for the test's
// life: a tmpfs of 64 KiB (or the size asked for) and 16 inodes, or an ext2
// image on a loop device, where a folder takes a block as a file does. Only
// root mounts one.

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

class SmallDisk {
public:
    enum class Kind { Tmpfs, Ext2 };

    // Mounts it on `folder`, made when missing.
    explicit SmallDisk(const QString& folder, int kibibytes = 64, Kind kind = Kind::Tmpfs);
    ~SmallDisk();
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool mounted() const { return mounted_; }
    // One file takes all the room left.
    void fillRoom() const;
    // Empty files take every inode left.
    void fillInodes() const;

private:
    bool mountExt2(int kibibytes);

    QByteArray folder_;
    QTemporaryDir image_;
    bool mounted_ = false;
};
