#include "platform/singleinstance.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform {

namespace {

QString lockPath(const QString& programName)
{
    QString folder = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = QStringLiteral("/tmp");
    return folder + u'/' + programName + u'-' + QString::number(getuid()) + QStringLiteral(".lock");
}

} // namespace

SingleInstance::SingleInstance(const QString& programName)
{
    fd_ = ::open(QFile::encodeName(lockPath(programName)).constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd_ < 0) {
        // Without a lock file no other copy can be known: this one runs.
        held_ = true;
        return;
    }
    if (::flock(fd_, LOCK_EX | LOCK_NB) == 0) {
        held_ = true;
        return;
    }
    // Only a lock held elsewhere means another copy; any other failure lets this one run.
    held_ = errno != EWOULDBLOCK;
    ::close(fd_);
    fd_ = -1;
}

SingleInstance::~SingleInstance()
{
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace platform
