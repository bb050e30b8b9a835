#include "platform/plainfile.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kTemporaryAttempts = 16;
// How long a writer waits for the file's lock before the write fails, as a
// statement waits out the database's busy timeout: one that never lets the
// file go (stopped, or hung on a slow share) must not hold every other writer
// for good. Writers that let it go take turns however slow their disk. The
// turn before it is waited for as long at most.
constexpr int kLockWaitMs = 3000;
constexpr long kLockTickMs = 10;

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

// The signal that ends a wait for a lock: it only interrupts the flock(2)
// of the thread its timer was made for, and does nothing else.
int lockTimeoutSignal()
{
    static const int signal = [] {
        struct sigaction action {};
        action.sa_handler = [](int) {};
        sigemptyset(&action.sa_mask);
        action.sa_flags = 0; // no SA_RESTART: the interrupted flock(2) returns EINTR
        ::sigaction(SIGRTMIN, &action, nullptr);
        return SIGRTMIN;
    }();
    return signal;
}

// A timer of the calling thread that goes off at the deadline, and every few
// milliseconds after it: a signal that comes before the wait has begun is
// followed by another.
class WaitTimer {
public:
    explicit WaitTimer(const QDeadlineTimer& deadline)
    {
        struct sigevent event {};
        event.sigev_notify = SIGEV_THREAD_ID;
        event.sigev_signo = lockTimeoutSignal();
        event._sigev_un._tid = ::gettid();
        if (::timer_create(CLOCK_MONOTONIC, &event, &timer_) != 0)
            return;
        created_ = true;
        const qint64 remaining = std::max<qint64>(1, deadline.remainingTimeNSecs());
        struct itimerspec times {};
        times.it_value.tv_sec = time_t(remaining / 1000000000);
        times.it_value.tv_nsec = long(remaining % 1000000000);
        times.it_interval.tv_nsec = kLockTickMs * 1000000L;
        armed_ = ::timer_settime(timer_, 0, &times, nullptr) == 0;
    }
    ~WaitTimer()
    {
        if (created_)
            ::timer_delete(timer_);
    }
    WaitTimer(const WaitTimer&) = delete;
    WaitTimer& operator=(const WaitTimer&) = delete;

    bool armed() const { return armed_; }

private:
    timer_t timer_ {};
    bool created_ = false;
    bool armed_ = false;
};

// One way of taking an exclusive lock: waiting in the kernel's queue for it,
// or not at all; -1 with errno as the call it makes.
using TakeLock = std::function<int(bool wait)>;

TakeLock wholeFile(int fd)
{
    return [fd](bool wait) { return ::flock(fd, LOCK_EX | (wait ? 0 : LOCK_NB)); };
}

// A byte of the file, locked for the open file (not the process), so that
// two writers in one program take turns as two programs do.
TakeLock oneByte(int fd, off_t offset)
{
    return [fd, offset](bool wait) {
        struct flock range {};
        range.l_type = F_WRLCK;
        range.l_whence = SEEK_SET;
        range.l_start = offset;
        range.l_len = 1;
        return ::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &range);
    };
}

bool heldByAnother(int error)
{
    return error == EWOULDBLOCK || error == EAGAIN || error == EACCES;
}

void pauseTick(const QDeadlineTimer& deadline)
{
    const qint64 nanoseconds = std::min<qint64>(kLockTickMs * 1000000L, deadline.remainingTimeNSecs());
    const struct timespec tick {0, long(std::max<qint64>(0, nanoseconds))};
    ::nanosleep(&tick, nullptr);
}

// Takes the lock, waiting in the kernel's queue for it until the deadline:
// the lock goes to a waiter the moment its holder lets it go. Where no timer
// can be had to end that wait (none left to the user), the lock is tried
// again every few milliseconds until the deadline instead. False with errno
// EWOULDBLOCK when the deadline came first, or the errno of any other failure.
bool waitForLock(const TakeLock& take, const QDeadlineTimer& deadline)
{
    if (take(false) == 0)
        return true;
    if (!heldByAnother(errno))
        return false;
    const WaitTimer timer(deadline);
    for (;;) {
        if (take(timer.armed()) == 0)
            return true;
        if (errno != EINTR && !heldByAnother(errno))
            return false;
        if (deadline.hasExpired()) {
            errno = EWOULDBLOCK;
            return false;
        }
        if (!timer.armed())
            pauseTick(deadline);
    }
}

// The name still leads to the locked file: the writer before may have put a
// new file in its place, or taken it away.
bool stillNamed(const QByteArray& name, LockedFile* locked)
{
    struct stat named {};
    return ::fstat(locked->fd, &locked->info) == 0 && ::lstat(name.constData(), &named) == 0
        && named.st_dev == locked->info.st_dev && named.st_ino == locked->info.st_ino;
}

QByteArray folderOf(const QByteArray& name)
{
    const qsizetype slash = name.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : name.left(slash);
}

// The byte of the turns file that stands for the file at `name`: the same for
// every writer however it spells the path, as the folder is known by its
// device and inode. Nothing when the folder cannot be looked at.
std::optional<off_t> turnByte(const QByteArray& name)
{
    struct stat folder {};
    if (::stat(folderOf(name).constData(), &folder) != 0)
        return std::nullopt;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArray::number(quint64(folder.st_dev)) + ':' + QByteArray::number(quint64(folder.st_ino)) + '/'
                 + name.mid(name.lastIndexOf('/') + 1));
    quint64 key = 0;
    std::memcpy(&key, hash.result().constData(), sizeof key);
    return off_t(key >> 2); // far past any end, as locks may be
}

// The home folder of `user` as the user database names it; empty when it
// names none.
QByteArray homeFolder(uid_t user)
{
    struct passwd account {};
    struct passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(user, &account, buffer, sizeof buffer, &found) != 0 || !found || account.pw_dir[0] != '/')
        return {};
    return account.pw_dir;
}

// Of `user`, and open to no other user in the ways `others` names.
bool ownedAlone(const struct stat& info, uid_t user, mode_t others)
{
    return info.st_uid == user && (info.st_mode & others) == 0;
}

// Opens the user's own turns file for its locks: ".vardeno-turnos" in his
// home folder as the user database names it, whatever HOME, TMPDIR or
// XDG_RUNTIME_DIR say, so that all his programs share it. No other user may
// write that folder or open the file, so none can lock it, put anything else
// at its name or take it away. -1 where there is no such place (no home, or
// one that others may write): the file's own lock is then waited for alone.
int openTurns()
{
    const uid_t user = ::geteuid();
    const QByteArray home = homeFolder(user);
    const int folder = home.isEmpty() ? -1 : ::open(home.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    struct stat info {};
    int turns = -1;
    if (folder >= 0 && ::fstat(folder, &info) == 0 && ownedAlone(info, user, 022))
        turns = ::openat(folder, ".vardeno-turnos", O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (folder >= 0)
        ::close(folder);
    if (turns >= 0 && !(::fstat(turns, &info) == 0 && S_ISREG(info.st_mode) && ownedAlone(info, user, 077))) {
        ::close(turns);
        turns = -1;
    }
    return turns;
}

// The turn for the file's lock. A writer that has just let the file go and
// comes back at once would take its lock again before a writer that has
// waited for it wakes up; so who comes next is settled first, under a lock
// of the file's own byte of the user's turns file, held until the file's
// lock is taken. That byte is never replaced as the file is, and the one
// waiting for the file holds it: the writer coming back queues behind.
// Writers of other files have other bytes. A turn only orders the writers
// and never refuses: where it cannot be had within the bound (its holder
// stopped, say) or the turns file cannot be had, the file's lock alone is
// waited for.
class Turn {
public:
    explicit Turn(const QByteArray& name)
    {
        const std::optional<off_t> byte = turnByte(name);
        turns_ = byte ? openTurns() : -1;
        if (turns_ >= 0 && !waitForLock(oneByte(turns_, *byte), QDeadlineTimer(kLockWaitMs))) {
            ::close(turns_);
            turns_ = -1;
        }
    }
    ~Turn()
    {
        if (turns_ >= 0)
            ::close(turns_);
    }
    Turn(const Turn&) = delete;
    Turn& operator=(const Turn&) = delete;

private:
    int turns_ = -1;
};

LockedFile lockFile(const QString& path)
{
    const QByteArray name = QFile::encodeName(path);
    const Turn turn(name);
    // The file itself is waited for the whole bound, however long the turn took.
    const QDeadlineTimer deadline(kLockWaitMs);
    LockedFile locked;
    for (;;) {
        const PlainFileOpen file = openForLock(path, &locked.created);
        if (file.fd < 0) {
            locked.error = openError(file);
            return locked;
        }
        if (!waitForLock(wholeFile(file.fd), deadline)) {
            locked.error = errno;
            ::close(file.fd);
            return locked;
        }
        locked.fd = file.fd;
        if (stillNamed(name, &locked))
            return locked;
        ::close(locked.fd);
        locked.fd = -1;
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
    const QByteArray base = name.mid(name.lastIndexOf('/') + 1);
    DIR* entries = ::opendir(folderOf(name).constData());
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

// Bytes that read as nothing after any text: a line end, then blanks.
QByteArray filler(qsizetype size)
{
    return size == 0 ? QByteArray() : QByteArray("\r\n") + QByteArray(size - 2, ' ');
}

// The length the file has while it is written over: room for the old content
// and for the new, each followed by filler of no less than a line end where
// it is shorter.
off_t workingLength(off_t oldSize, qsizetype newSize)
{
    off_t length = std::max<off_t>(oldSize, newSize);
    if (length - oldSize == 1 || length - newSize == 1)
        length += 2;
    return length;
}

bool writeAllAt(int fd, const QByteArray& bytes, off_t offset)
{
    return ::lseek(fd, offset, SEEK_SET) == offset && writeAll(fd, bytes);
}

// Writes the file over where no new file can take its name. A writer killed
// at any point leaves the old content or the new one, either followed at
// most by filler:
// 1. The room the new content needs is taken by filler after the old end,
//    and reaches the disk; a full disk stops it there, and the file goes
//    back to its old length, whole. Nothing is reserved without writing: not
//    every file system can (ext2, some shares).
// 2. The new content, with filler over what is left of the old, is written in
//    one write(2), which a kill does not split within a page; the settings
//    files written over are far smaller.
// 3. The file is cut to the new content's length.
int writeOver(const LockedFile& file, const QByteArray& bytes)
{
    const int fd = file.fd;
    const off_t oldSize = file.info.st_size;
    const off_t length = workingLength(oldSize, bytes.size());
    if (length > oldSize) {
        if (const int error = errorOf(writeAllAt(fd, filler(length - oldSize), oldSize) && ::fsync(fd) == 0)) {
            ::ftruncate(fd, oldSize);
            return error;
        }
    }
    return errorOf(writeAllAt(fd, bytes + filler(length - bytes.size()), 0) && ::fsync(fd) == 0
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
