#include "platform/unzip.h"

#include "platform/plainfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <zip.h>

namespace platform {

namespace {

struct ZipCloser {
    void operator()(zip_t* archive) const { zip_discard(archive); }
};
using ZipHandle = std::unique_ptr<zip_t, ZipCloser>;

ZipHandle openArchive(const QString& archive)
{
    int error = 0;
    return ZipHandle(zip_open(QFile::encodeName(archive).constData(), ZIP_RDONLY, &error));
}

bool readEntries(zip_t* archive, QList<ZipEntry>* entries)
{
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const char* name = zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (!name)
            return false;
        ZipEntry entry;
        entry.name = QString::fromUtf8(name);
        entry.folder = entry.name.endsWith(u'/');
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, zip_uint64_t(i), 0, &stat) == 0 && (stat.valid & ZIP_STAT_SIZE))
            entry.size = qint64(stat.size);
        entries->append(entry);
    }
    return true;
}

// Copies one entry into `target`, up to `maxSize` bytes when it is not 0.
// Every write goes straight to the file and is checked, its closing too; a
// file not written whole is removed. `*error` is the errno of the call the
// system refused, 0 when the entry itself failed (unreadable, too large).
bool writeEntry(zip_t* archive, zip_uint64_t index, const QString& target, qint64 maxSize, int* error)
{
    *error = 0;
    const PlainFileOpen out = openPlainFile(target, O_WRONLY | O_CREAT | O_TRUNC);
    if (out.fd < 0) {
        *error = out.error;
        return false;
    }
    zip_file_t* in = zip_fopen_index(archive, index, 0);
    bool ok = in != nullptr;
    char buffer[64 * 1024];
    qint64 written = 0;
    while (ok) {
        const zip_int64_t read = zip_fread(in, buffer, sizeof buffer);
        if (read <= 0) {
            ok = read == 0;
            break;
        }
        written += read;
        ok = maxSize == 0 || written <= maxSize;
        if (ok && !writeAll(out.fd, QByteArray::fromRawData(buffer, qsizetype(read)))) {
            *error = errno;
            ok = false;
        }
    }
    if (in && zip_fclose(in) != 0)
        ok = false;
    if (::close(out.fd) != 0 && ok) {
        *error = errno;
        ok = false;
    }
    if (!ok)
        QFile::remove(target);
    return ok;
}

} // namespace

bool zipEntries(const QString& archive, QList<ZipEntry>* entries)
{
    entries->clear();
    const ZipHandle zip = openArchive(archive);
    return zip && readEntries(zip.get(), entries);
}

bool isSafeEntryName(const QString& name)
{
    if (name.isEmpty() || name.startsWith(u'/') || name.startsWith(u'\\') || name.contains(u':'))
        return false;
    const QStringList parts = name.split(QRegularExpression(QStringLiteral("[/\\\\]")), Qt::SkipEmptyParts);
    for (const QString& part : parts) {
        if (part == u"." || part == u"..")
            return false;
    }
    return true;
}

int Unzip::extract()
{
    error_ = 0;
    QStringList written;
    if (extractAll(&written))
        return int(written.size());
    for (const QString& file : written)
        QFile::remove(file);
    return -1;
}

bool Unzip::extractAll(QStringList* written)
{
    const ZipHandle zip = openArchive(archive_);
    QList<ZipEntry> entries;
    if (!zip || !readEntries(zip.get(), &entries))
        return false;
    for (const ZipEntry& entry : entries) {
        if (!isSafeEntryName(entry.name))
            return false;
    }
    const QDir folder(folder_);
    if (!folder.mkpath(QStringLiteral(".")))
        return false;

    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].folder)
            continue;
        const QString relative = QString(entries[i].name).replace(u'\\', u'/');
        const QString target = folder.filePath(restoreStructure_ ? relative : QFileInfo(relative).fileName());
        const QFileInfo existing(target);
        if (existing.isSymLink() || existing.isDir())
            return false;
        if (!overwrite_ && existing.exists())
            continue;
        if (restoreStructure_ && !QFileInfo(target).dir().mkpath(QStringLiteral(".")))
            return false;
        if (!writeEntry(zip.get(), zip_uint64_t(i), target, maxFileSize_, &error_))
            return false;
        written->append(target);
    }
    return true;
}

} // namespace platform
