#pragma once

// Reading zip archives: their entries, and extracting their files into a folder.

#include <QList>
#include <QString>
#include <QStringList>

namespace platform {

struct ZipEntry {
    QString name;        // as stored, "/" between folders
    bool folder = false; // a folder entry (its name ends with "/")
    qint64 size = 0;     // uncompressed size, as the archive states it
};

// The entries of a zip archive in stored order; false when the file is not a
// zip archive that can be read.
bool zipEntries(const QString& archive, QList<ZipEntry>* entries);

// Whether an entry name stays inside the folder it is extracted to: a relative
// name without "." or ".." parts.
bool isSafeEntryName(const QString& name);

// Extracts a zip archive's files into a folder, set up option by option.
//
//   Unzip unzip;
//   unzip.setArchiveName(path);
//   unzip.setRestoreStructure(false);
//   unzip.setExtractTo(folder);
//   unzip.setOverwrite(true);
//   int count = unzip.extract();
class Unzip {
public:
    void setArchiveName(const QString& archive) { archive_ = archive; }
    // Off: every file is written straight into the folder under its base name.
    void setRestoreStructure(bool restore) { restoreStructure_ = restore; }
    void setExtractTo(const QString& folder) { folder_ = folder; }
    // Off: a file that already exists is left alone and not counted.
    void setOverwrite(bool overwrite) { overwrite_ = overwrite; }
    // The most bytes a file may expand to; 0, the default, sets no limit.
    void setMaxFileSize(qint64 bytes) { maxFileSize_ = bytes; }

    // The number of files written (folder entries do not count). -1 when the
    // archive cannot be read or the folder made, when an entry would land
    // outside the folder (then nothing is written), or when a file cannot be
    // written in full or grows past the size limit: then no file it wrote is
    // left, and error() may tell why. A target that is a link or a folder is
    // never written through.
    int extract();
    // The errno of the call the system refused in the last extract(): ENOSPC
    // or EDQUOT when the disk was full. 0 when nothing failed, or the archive
    // or an entry did.
    int error() const { return error_; }

private:
    bool extractAll(QStringList* written);

    QString archive_;
    QString folder_;
    bool restoreStructure_ = true;
    bool overwrite_ = false;
    qint64 maxFileSize_ = 0;
    int error_ = 0;
};

} // namespace platform
