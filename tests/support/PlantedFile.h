#pragma once

// What a test puts at a name in place of a plain file, to see that the
// programs neither write through it nor wait on it, and that it is still
// there, untouched, afterwards.

#include <QString>
#include <QtGlobal>

enum class Planted {
    Link,       // a symbolic link to a plain file elsewhere
    Fifo,       // a FIFO nobody reads or writes
    Folder,
    DeviceLink, // a symbolic link to /dev/zero, which never ends
};

const char* plantedName(Planted kind);

// Puts `kind` at `path`; a link leads to `target`, a plain file of the test
// (ignored for the other kinds). False when it cannot.
bool plant(Planted kind, const QString& path, const QString& target = QString());
// The same thing still lies at `path`, a link still leading where it did.
bool stillPlanted(Planted kind, const QString& path, const QString& target = QString());

// A plain file "fuera.txt" holding "fuera\r\n" in `folder`, for planted
// links to lead to; its path, empty when it cannot be made.
QString outsideFile(const QString& folder);

// A sparse file that says it holds `size` bytes without taking the room.
bool plantHugeFile(const QString& path, qint64 size);

// The bytes of a plain file; empty when it cannot be read.
QByteArray plainBytes(const QString& path);

// While it lives, no file of the process grows past `bytes`: a write beyond
// fails as on a full disk.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    quint64 savedCurrent_ = 0;
    quint64 savedMaximum_ = 0;
    void (*savedSignal_)(int) = nullptr;
};
