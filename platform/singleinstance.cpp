#include "platform/singleinstance.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    // Fails closed: a lock that cannot be taken on a plain file of our own
    // (a folder, a link, a file that cannot be opened) counts as another copy.
    fd_ = ::open(QFile::encodeName(lockPath(programName)).constData(),
                 O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0600);
    if (fd_ < 0)
        return;
    struct stat info {};
    held_ = ::fstat(fd_, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    if (held_)
        return;
    ::close(fd_);
    fd_ = -1;
}

SingleInstance::~SingleInstance()
{
    if (fd_ >= 0)
        ::close(fd_);
}

} // namespace platform
