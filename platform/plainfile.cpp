#include "platform/plainfile.h"

#include <QFile>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

constexpr int kTemporaryAttempts = 16;

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

// A new file in the folder of `path`, named after it; -1 when the folder
// takes none.
int createBeside(const QString& path, QByteArray* name)
{
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        *name = QFile::encodeName(path) + ".~" + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        const PlainFileOpen file = openPlainFile(QFile::decodeName(*name), O_WRONLY | O_CREAT | O_EXCL);
        if (file.fd >= 0)
            return file.fd;
        if (file.error != EEXIST && !file.notPlain)
            return -1;
    }
    return -1;
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

    struct stat info {};
    ReadFailure failure = ::fstat(file.fd, &info) != 0 ? ReadFailure::Unreadable
        : info.st_size > limit                         ? ReadFailure::TooLarge
                                                       : ReadFailure::None;
    QByteArray content;
    if (failure == ReadFailure::None)
        content.reserve(qsizetype(info.st_size));
    // The size told may be wrong (a file still growing): the bound holds for what is read.
    char buffer[64 * 1024];
    while (failure == ReadFailure::None) {
        const ssize_t read = ::read(file.fd, buffer, sizeof buffer);
        if (read < 0 && errno == EINTR)
            continue;
        if (read == 0)
            break;
        if (read < 0)
            failure = ReadFailure::Unreadable;
        else if (content.size() + read > limit)
            failure = ReadFailure::TooLarge;
        else
            content.append(buffer, read);
    }
    ::close(file.fd);
    if (failure == ReadFailure::None)
        *bytes = content;
    return failure;
}

bool writePlainFile(const QString& path, const QByteArray& bytes)
{
    const QByteArray name = QFile::encodeName(path);
    struct stat old {};
    const bool exists = ::lstat(name.constData(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode))
        return false;
    // A file the user may not write is not his to replace, even where the
    // folder would let him put another in its place.
    if (exists && ::faccessat(AT_FDCWD, name.constData(), W_OK, AT_EACCESS) != 0)
        return false;
    QByteArray temporary;
    const int fd = createBeside(path, &temporary);
    if (fd < 0)
        return writeThrough(path, O_WRONLY | O_CREAT | O_TRUNC, bytes);
    // The new file keeps the owner, where the user may give it, and the
    // permissions of the one it replaces.
    if (exists) {
        [[maybe_unused]] const int given = ::fchown(fd, old.st_uid, old.st_gid);
        ::fchmod(fd, old.st_mode & 07777);
    }
    bool written = writeAll(fd, bytes) && ::fsync(fd) == 0;
    written = ::close(fd) == 0 && written;
    // A rename replaces whatever is at the name by now, never what a link there leads to.
    if (written && ::rename(temporary.constData(), name.constData()) == 0)
        return true;
    ::unlink(temporary.constData());
    return false;
}

bool appendPlainFile(const QString& path, const QByteArray& bytes)
{
    return writeThrough(path, O_WRONLY | O_CREAT | O_APPEND, bytes);
}

} // namespace platform
