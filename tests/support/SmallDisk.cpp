#include "tests/support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

namespace {

// Runs the command to its end, within a minute; true when it succeeded.
bool runs(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (process.waitForFinished(60000))
        return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    process.kill();
    process.waitForFinished();
    return false;
}

} // namespace

SmallDisk::SmallDisk(const QString& folder, int kibibytes, Kind kind)
    : folder_(QFile::encodeName(folder))
{
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k,nr_inodes=16";
    mounted_ = QDir().mkpath(folder)
        && (kind == Kind::Ext2 ? mountExt2(kibibytes)
                               : ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0);
}

// No block is kept for root: the disk is full for him as for any user.
bool SmallDisk::mountExt2(int kibibytes)
{
    const QString image = image_.filePath(QStringLiteral("disco.img"));
    return ::geteuid() == 0
        && runs(QStringLiteral("mkfs.ext2"), {"-q", "-F", "-m", "0", image, QString::number(kibibytes) + "k"})
        && runs(QStringLiteral("mount"), {"-o", "loop", image, QFile::decodeName(folder_)});
}

SmallDisk::~SmallDisk()
{
    if (mounted_)
        ::umount2(folder_.constData(), MNT_DETACH);
}

void SmallDisk::fillRoom() const
{
    const int fd = ::open((folder_ + "/lleno").constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    const QByteArray block(4096, 'x');
    while (fd >= 0 && ::write(fd, block.constData(), size_t(block.size())) > 0) {
    }
    ::close(fd);
}

void SmallDisk::fillInodes() const
{
    for (int i = 0;; ++i) {
        const int fd = ::open((folder_ + "/vacio" + QByteArray::number(i)).constData(),
                              O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0)
            return;
        ::close(fd);
    }
}
