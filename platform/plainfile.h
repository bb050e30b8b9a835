#pragma once

// Opening, reading and writing the files the programs keep: settings,
// reports, findings, logs. Whatever lies at a name may have been put there
// by someone else: a symbolic link to a file elsewhere, a FIFO that blocks
// whoever opens it, a device that never ends. Output never goes through a
// link at the name and never waits; input follows a link but reads only a
// plain file, and only up to a bound.

#include <QByteArray>
#include <QIODevice>
#include <QString>
#include <functional>

class QFile;

namespace platform {

// The most bytes a file is read to: far above any report or settings file.
constexpr qint64 kPlainFileLimit = qint64(64) << 20;

struct PlainFileOpen {
    int fd = -1;           // the open file, closed by the caller; -1 when refused
    bool notPlain = false; // refused: a folder, FIFO, device or socket lies at the name (or a link, for output)
    int error = 0;         // errno of any other failure
};

// open(2) of `path` with `flags`, for a plain file only: never blocks, and a
// file opened for writing is never reached through a symbolic link. O_TRUNC
// empties the file only once it is known to be plain. `mode` is that of a
// file created.
PlainFileOpen openPlainFile(const QString& path, int flags, int mode = 0666);

// Hands the open file `fd` to `file`, which closes it from then on; false,
// and `fd` closed, when it cannot be taken in `mode`.
bool adoptPlainFile(QFile* file, int fd, QIODevice::OpenMode mode);

// Writes all of `bytes` to the open file, going on where a write(2) stopped
// short or a signal interrupted it; false, errno telling why, when the
// system refuses the rest.
bool writeAll(int fd, const QByteArray& bytes);

// Something lies at the name: a file of any kind, or a link, even one that
// leads nowhere.
bool pathTaken(const QString& path);

enum class ReadFailure { None, Missing, NotPlain, TooLarge, Unreadable };

// The whole content of the plain file, when it holds at most `limit` bytes.
ReadFailure readPlainFile(const QString& path, QByteArray* bytes, qint64 limit = kPlainFileLimit);

// Makes `bytes` the whole content of the file, which is created when
// missing. One user's writers of one file take turns, in the order they
// came, however slow the disk (those of other users only share the file's
// lock): each holds an exclusive flock(2) on the file itself, and removes
// what a writer killed before it left. The file is waited for a few
// seconds at most: a writer that never lets it go fails the write, not
// every other one's forever. A file that holds `bytes` already is not
// touched, and waits for no turn. The bytes go into a new file beside it
// that then takes the name, so a failed write (a full disk) leaves the old
// content; only where the folder refuses the new file or its rename is the
// old file written over, and then a failed write or a writer killed at any
// point leaves the old content or the new one, followed at most by blank
// filler. False, and nothing touched, when
// the name holds anything but a plain file, or a file the user may not write
// or with no write permission at all (root too). On failure `*error`, when
// asked for, is the errno of why: EACCES for a refusal, ENOSPC for a full
// disk, ...
bool writePlainFile(const QString& path, const QByteArray& bytes, int* error = nullptr);
// The same, for the content `change` makes of the current one (empty for a
// missing file), read under the same lock: no other writer's change is lost
// in between; a change that leaves the file as it is waits for no turn.
// False also when the current content cannot be read.
bool updatePlainFile(const QString& path, const std::function<QByteArray(const QByteArray&)>& change);
// Adds `bytes` at the end of the file, which is created when missing.
bool appendPlainFile(const QString& path, const QByteArray& bytes);

} // namespace platform
