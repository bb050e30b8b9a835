#include "platform/plainfile.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QThread>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kTemporaryAttempts = 16;
// How long a writer waits for its turn before the write fails, as a statement
// waits out the database's busy timeout: one that never lets the file go
// (stopped, or hung on a slow share) must not hold every other writer for good.
constexpr int kLockWaitMs = 3000;
constexpr int kLockPollMs = 20;

bool forOutput(int flags)
{
    return (flags & O_ACCMODE) != O_RDONLY;
}

// Something other than a plain file lies at the name: the link itself when
// links are not followed, else what it leads to.
bool holdsOther(const QByteArray& name, bool followLinks)
{
    struct stat info {};
    const int found = followLinks ? ::stat(name.constData(), &info) : ::lstat(name.constData(), &info);
    return found == 0 && !S_ISREG(info.st_mode);
}

PlainFileOpen refused()
{
    PlainFileOpen result;
    result.notPlain = true;
    return result;
}

PlainFileOpen failed(int error)
{
    PlainFileOpen result;
    result.error = error;
    return result;
}

// The errno of an open for output that failed: a name that holds no plain
// file is refused as one without access is.
int openError(const PlainFileOpen& file)
{
    return file.notPlain ? EACCES : file.error;
}

bool writeAll(int fd, const QByteArray& bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// Opens the file with `flags`, writes the bytes and closes it; false when
// any step fails.
bool writeThrough(const QString& path, int flags, const QByteArray& bytes)
{
    const PlainFileOpen file = openPlainFile(path, flags);
    if (file.fd < 0)
        return false;
    const bool written = writeAll(file.fd, bytes);
    return ::close(file.fd) == 0 && written;
}

// Reads the open file from where it stands to its end; `bytes` is set only
// when it all fits within `limit`.
ReadFailure readToEnd(int fd, qint64 limit, QByteArray* bytes)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0)
        return ReadFailure::Unreadable;
    if (info.st_size > limit)
        return ReadFailure::TooLarge;
    QByteArray content;
    content.reserve(qsizetype(info.st_size));
    // The size told may be wrong (a file still growing): the bound holds for what is read.
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t read = ::read(fd, buffer, sizeof buffer);
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            return ReadFailure::Unreadable;
        if (read == 0)
            break;
        if (content.size() + read > limit)
            return ReadFailure::TooLarge;
        content.append(buffer, read);
    }
    *bytes = content;
    return ReadFailure::None;
}

// The open file of a writer that holds its lock: an exclusive flock(2) on the
// file itself, taken before the file is read and kept until its new content
// has the name, so that writers of one file take turns.
struct LockedFile {
    int fd = -1; // open for reading and writing; closing it lets the lock go
    int error = 0; // errno of the failure, when there is no fd
    struct stat info {};
    bool created = false; // made empty by this writer, to have something to lock
};

// Opens the file to lock it; a missing one is made empty.
PlainFileOpen openForLock(const QString& path, bool* created)
{
    for (;;) {
        *created = false;
        PlainFileOpen file = openPlainFile(path, O_RDWR);
        if (file.error != ENOENT)
            return file;
        file = openPlainFile(path, O_RDWR | O_CREAT | O_EXCL);
        *created = file.fd >= 0;
        if (file.error != EEXIST)
            return file;
    }
}

bool waitForLock(int fd, const QDeadlineTimer& deadline)
{
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if ((errno != EWOULDBLOCK && errno != EINTR) || deadline.hasExpired())
            return false;
        QThread::msleep(kLockPollMs);
    }
    return true;
}

// The name still leads to the locked file: the writer before may have put a
// new file in its place, or taken it away.
bool stillNamed(const QByteArray& name, LockedFile* locked)
{
    struct stat named {};
    return ::fstat(locked->fd, &locked->info) == 0 && ::lstat(name.constData(), &named) == 0
        && named.st_dev == locked->info.st_dev && named.st_ino == locked->info.st_ino;
}

LockedFile lockFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const QDeadlineTimer deadline(kLockWaitMs);
    for (;;) {
        LockedFile locked;
        const PlainFileOpen file = openForLock(path, &locked.created);
        if (file.fd < 0) {
            locked.error = openError(file);
            return locked;
        }
        if (!waitForLock(file.fd, deadline)) {
            locked.error = errno;
            ::close(file.fd);
            return locked;
        }
        locked.fd = file.fd;
        if (stillNamed(name, &locked))
            return locked;
        ::close(locked.fd);
    }
}

bool isTemporaryOf(const QByteArray& entry, const QByteArray& name)
{
    const QByteArray prefix = name + ".~";
    return entry.size() > prefix.size() && entry.startsWith(prefix)
        && std::all_of(entry.begin() + prefix.size(), entry.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; });
}

// Under the lock no other writer is at work: a temporary file of the name
// ("<name>.~" and hex digits) is what a writer killed on the way left.
void removeLeftovers(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const qsizetype slash = name.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : name.left(slash);
    const QByteArray base = name.mid(slash + 1);
    DIR* entries = ::opendir(folder.constData());
    if (!entries)
        return;
    while (const dirent* entry = ::readdir(entries)) {
        struct stat info {};
        if (isTemporaryOf(entry->d_name, base)
            && ::fstatat(::dirfd(entries), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            ::unlinkat(::dirfd(entries), entry->d_name, 0);
    }
    ::closedir(entries);
}

// A file with no write permission at all is read-only to every user, root
// too. One the user may not write was not opened for writing in the first place.
bool writable(const struct stat& info)
{
    return (info.st_mode & 0222) != 0;
}

bool mayWrite(const LockedFile& file)
{
    return file.created || writable(file.info);
}

// The content of a plain file the user may write, read without its lock;
// nothing when there is none or it holds more than `limit` bytes. A write
// that would leave it as it is needs no turn.
std::optional<QByteArray> unlockedContent(const QString& path, qint64 limit)
{
    const PlainFileOpen file = openPlainFile(path, O_RDWR);
    if (file.fd < 0)
        return std::nullopt;
    struct stat info {};
    QByteArray content;
    const bool read = ::fstat(file.fd, &info) == 0 && writable(info)
        && readToEnd(file.fd, limit, &content) == ReadFailure::None;
    ::close(file.fd);
    return read ? std::optional<QByteArray>(content) : std::nullopt;
}

bool holds(const LockedFile& file, const QByteArray& bytes)
{
    QByteArray content;
    return file.info.st_size == bytes.size() && readToEnd(file.fd, bytes.size(), &content) == ReadFailure::None
        && content == bytes;
}

// The errno of a step that failed, 0 for one that succeeded.
int errorOf(bool succeeded)
{
    return succeeded ? 0 : errno;
}

// Takes the room a longer content needs before any old byte is written
// over, so that a full disk or quota fails the write with the old file whole.
int reserveRoom(const LockedFile& file, const QByteArray& bytes)
{
    const off_t size = file.info.st_size;
    if (bytes.size() <= size || ::fallocate(file.fd, FALLOC_FL_KEEP_SIZE, 0, bytes.size()) == 0)
        return 0;
    if (errno != EOPNOTSUPP)
        return errno;
    // The file system reserves no room: the bytes beyond the old end are
    // written first, which takes it as well. A full disk stops them there,
    // and the file goes back to its old length, whole.
    const int error = errorOf(::lseek(file.fd, size, SEEK_SET) == size && writeAll(file.fd, bytes.mid(size)));
    if (error != 0)
        ::ftruncate(file.fd, size);
    return error;
}

// Writes over the old content and only then cuts the file to the new length,
// so that a writer killed on the way leaves too much, never an empty file.
int writeOver(const LockedFile& file, const QByteArray& bytes)
{
    const int fd = file.fd;
    if (const int error = reserveRoom(file, bytes))
        return error;
    return errorOf(::lseek(fd, 0, SEEK_SET) == 0 && writeAll(fd, bytes) && ::fsync(fd) == 0
                   && ::ftruncate(fd, bytes.size()) == 0 && ::fsync(fd) == 0);
}

// The folder takes no new file, or does not let one take the name of a file
// of another owner (a sticky folder): the file may still be written.
bool folderRefuses(int error)
{
    return error == EACCES || error == EPERM || error == EROFS;
}

// A new file in the folder of `path`, named after it.
PlainFileOpen createBeside(const QString& path, QByteArray* name)
{
    PlainFileOpen file;
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        *name = QFile::encodeName(path) + ".~" + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        file = openPlainFile(QFile::decodeName(*name), O_WRONLY | O_CREAT | O_EXCL);
        if (file.error != EEXIST && !file.notPlain)
            break;
    }
    return file;
}

// Writes the bytes into the new file, to the disk, and closes it.
int fill(int fd, const QByteArray& bytes)
{
    const int error = errorOf(writeAll(fd, bytes) && ::fsync(fd) == 0);
    return ::close(fd) == 0 || error != 0 ? error : errno;
}

enum class Replaced { Yes, FolderRefuses, Failed };

// Writes a new file beside the locked one, with its owner, where the user may
// give it, and its permissions, and gives it the name; `*error` tells why it
// did not.
Replaced replaceByNewFile(const QString& path, const LockedFile& file, const QByteArray& bytes, int* error)
{
    QByteArray temporary;
    const PlainFileOpen made = createBeside(path, &temporary);
    if (made.fd < 0) {
        *error = openError(made);
        return folderRefuses(made.error) ? Replaced::FolderRefuses : Replaced::Failed;
    }
    [[maybe_unused]] const int given = ::fchown(made.fd, file.info.st_uid, file.info.st_gid);
    ::fchmod(made.fd, file.info.st_mode & 07777);
    *error = fill(made.fd, bytes);
    const bool written = *error == 0;
    // A rename replaces whatever is at the name by now, never what a link there leads to.
    if (written && ::rename(temporary.constData(), QFile::encodeName(path).constData()) == 0)
        return Replaced::Yes;
    if (written)
        *error = errno;
    ::unlink(temporary.constData());
    return written && folderRefuses(*error) ? Replaced::FolderRefuses : Replaced::Failed;
}

// A failed write leaves the old content: only where the folder refuses a new
// file is the old one written over.
int replace(const QString& path, const LockedFile& file, const QByteArray& bytes)
{
    int error = 0;
    switch (replaceByNewFile(path, file, bytes, &error)) {
    case Replaced::Yes:
        return 0;
    case Replaced::FolderRefuses:
        return writeOver(file, bytes);
    case Replaced::Failed:
        break;
    }
    return error;
}

// Runs `write` on the file under its lock; the errno of a failure, 0 when
// written. A file made for the lock goes again when the write leaves it empty.
int underLock(const QString& path, const std::function<int(const LockedFile&)>& write)
{
    const LockedFile locked = lockFile(path);
    if (locked.fd < 0)
        return locked.error;
    removeLeftovers(path);
    const int error = write(locked);
    struct stat info {};
    if (error != 0 && locked.created && ::fstat(locked.fd, &info) == 0 && info.st_size == 0)
        ::unlink(QFile::encodeName(path).constData());
    ::close(locked.fd);
    return error;
}

} // namespace

PlainFileOpen openPlainFile(const QString& path, int flags, int mode)
{
    const QByteArray name = QFile::encodeName(path);
    const bool followLinks = !forOutput(flags);
    // Looked at first, so that a FIFO or a device is never opened at all.
    if (holdsOther(name, followLinks))
        return refused();
    const int fd = ::open(name.constData(),
                          (flags & ~O_TRUNC) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW),
                          mode_t(mode));
    if (fd < 0) {
        const int error = errno;
        // Something else may have been put at the name in the meantime.
        return holdsOther(name, followLinks) ? refused() : failed(error);
    }
    struct stat info {};
    const int statError = ::fstat(fd, &info) == 0 ? 0 : errno;
    if (statError != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return statError != 0 ? failed(statError) : refused();
    }
    // A plain file never blocks; its reads and writes wait as usual from here.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if ((flags & O_TRUNC) && ::ftruncate(fd, 0) != 0) {
        const int error = errno;
        ::close(fd);
        return failed(error);
    }
    PlainFileOpen result;
    result.fd = fd;
    return result;
}

bool adoptPlainFile(QFile* file, int fd, QIODevice::OpenMode mode)
{
    if (file->open(fd, mode, QFileDevice::AutoCloseHandle))
        return true;
    ::close(fd);
    return false;
}

bool pathTaken(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

ReadFailure readPlainFile(const QString& path, QByteArray* bytes, qint64 limit)
{
    const PlainFileOpen file = openPlainFile(path, O_RDONLY);
    if (file.notPlain)
        return ReadFailure::NotPlain;
    if (file.fd < 0)
        return file.error == ENOENT || file.error == ENOTDIR ? ReadFailure::Missing : ReadFailure::Unreadable;
    const ReadFailure failure = readToEnd(file.fd, limit, bytes);
    ::close(file.fd);
    return failure;
}

bool writePlainFile(const QString& path, const QByteArray& bytes, int* error)
{
    const int failure = unlockedContent(path, bytes.size()) == bytes ? 0 : underLock(path, [&](const LockedFile& file) {
        if (!mayWrite(file))
            return EACCES;
        return holds(file, bytes) ? 0 : replace(path, file, bytes);
    });
    if (error)
        *error = failure;
    return failure == 0;
}

bool updatePlainFile(const QString& path, const std::function<QByteArray(const QByteArray&)>& change)
{
    const std::optional<QByteArray> current = unlockedContent(path, kPlainFileLimit);
    if (current && change(*current) == *current)
        return true;
    return underLock(path, [&](const LockedFile& file) {
        QByteArray content;
        if (!mayWrite(file) || readToEnd(file.fd, kPlainFileLimit, &content) != ReadFailure::None)
            return EACCES;
        const QByteArray changed = change(content);
        return changed == content ? 0 : replace(path, file, changed);
    }) == 0;
}

bool appendPlainFile(const QString& path, const QByteArray& bytes)
{
    return writeThrough(path, O_WRONLY | O_CREAT | O_APPEND, bytes);
}

} // namespace platform
