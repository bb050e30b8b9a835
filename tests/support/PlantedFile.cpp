#include "tests/support/PlantedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kDevice = QStringLiteral("/dev/zero");

mode_t typeAt(const QString& path)
{
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

} // namespace

const char* plantedName(Planted kind)
{
    switch (kind) {
    case Planted::Link: return "a link";
    case Planted::Fifo: return "a FIFO";
    case Planted::Folder: return "a folder";
    case Planted::DeviceLink: return "a link to a device";
    }
    return "";
}

bool plant(Planted kind, const QString& path, const QString& target)
{
    switch (kind) {
    case Planted::Link: return QFile::link(target, path);
    case Planted::Fifo: return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
    case Planted::Folder: return QDir().mkdir(path);
    case Planted::DeviceLink: return QFile::link(kDevice, path);
    }
    return false;
}

bool stillPlanted(Planted kind, const QString& path, const QString& target)
{
    switch (kind) {
    case Planted::Link: return typeAt(path) == S_IFLNK && QFileInfo(path).symLinkTarget() == target;
    case Planted::Fifo: return typeAt(path) == S_IFIFO;
    case Planted::Folder: return typeAt(path) == S_IFDIR;
    case Planted::DeviceLink: return typeAt(path) == S_IFLNK && QFileInfo(path).symLinkTarget() == kDevice;
    }
    return false;
}

QString outsideFile(const QString& folder)
{
    const QString path = QDir(folder).filePath(QStringLiteral("fuera.txt"));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write("fuera\r\n") == 7 ? path : QString();
}

bool plantHugeFile(const QString& path, qint64 size)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.resize(size);
}

QByteArray plainBytes(const QString& path)
{
    QFile file(path);
    if (typeAt(path) != S_IFREG || !file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    struct rlimit limit {};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    savedCurrent_ = limit.rlim_cur;
    savedMaximum_ = limit.rlim_max;
    // The write fails with EFBIG instead of the signal ending the process.
    savedSignal_ = ::signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = rlim_t(bytes);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    const struct rlimit limit {rlim_t(savedCurrent_), rlim_t(savedMaximum_)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    ::signal(SIGXFSZ, savedSignal_);
}
