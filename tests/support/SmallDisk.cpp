#include "tests/support/SmallDisk.h"

#include <QDir>
#include <QFile>
#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

SmallDisk::SmallDisk(const QString& folder, int kibibytes)
    : folder_(QFile::encodeName(folder))
{
    const QByteArray options = "size=" + QByteArray::number(kibibytes) + "k,nr_inodes=16";
    mounted_ = QDir().mkpath(folder) && ::mount("tmpfs", folder_.constData(), "tmpfs", 0, options.constData()) == 0;
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
