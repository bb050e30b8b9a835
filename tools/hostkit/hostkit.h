#pragma once

// Stand-in of the host suite "Integrador del VRD": the folders, the settings
// file KOVAL.INI, the workgroup file and the shared database with the host's
// own tables, laid out as the three programs expect to find them.

#include <QList>
#include <QString>
#include <stdexcept>

namespace platform { class Database; }

namespace hostkit {

// Every failure of the stand-in (a folder or file that cannot be made, the
// installer that does not end well).
class HostError : public std::runtime_error {
public:
    explicit HostError(const QString& message) : std::runtime_error(message.toStdString()) {}
};

// Paths of one prepared host. Folders end with "/".
struct HostPaths {
    QString root;          // the folder everything lies in
    QString windowsDir;    // the Windows directory: KOVAL.INI, WIN.INI
    QString sysPath;       // SysPath: KOVAL.MDW, the database, RPT/, TMP/, tmp/, ENV/, 0913/
    QString dbPath;        // DBPath: the same folder
    QString dbName;        // DBName
    QString dbFile;        // dbPath + dbName
    QString workgroupFile; // sysPath + "KOVAL.MDW"
    QString iniFile;       // windowsDir + "KOVAL.INI"
};

struct PrepareOptions {
    QString user = QStringLiteral("ADMIN"); // SysUser
    bool withSamples = true;                // the sample users and declarants
    QString ravisolPath;                    // the installer to run once the host stands; empty: none
};

// A declarant of the host's register `CONT`.
struct SampleDeclarant {
    int tipDoc;      // 6 RUC, 1 DNI
    QString docId;
    QString nombre;
    QString usuario; // the user who registered it
};

// A user of `CLAVES`: type "0" sees every declarant, "1" only his own.
struct SampleUser {
    QString usuario;
    QString nombre;
    QString tipo;
};

// Where the host of `root` keeps everything (nothing is created).
HostPaths hostPaths(const QString& root);

// Makes (or completes) the host under `root`: folders, settings, workgroup
// files, the installer's input files and the database with the host tables.
// An existing database keeps its rows; only missing tables are made, and
// sample rows go only into the tables just made. With the installer run and
// the samples asked for, the sample declarations (declarations.h) are written
// too. Throws HostError.
HostPaths prepareHost(const QString& root, const PrepareOptions& options = {});

// Makes the host tables that `db` lacks; returns the names of those made.
QStringList createHostTables(platform::Database& db);
// The host's own parameter lists (the ones the installer does not seed).
void seedHostParameters(platform::Database& db);
// The sample users and declarants.
void seedSamples(platform::Database& db);

// Runs the installer `program` on the host (WINDIR set, off screen, every
// message box taking its default answer). Throws HostError when it cannot
// start, does not end within two minutes, ends with a failure or shows any
// message box (a run that goes well shows none).
void runRavisol(const HostPaths& paths, const QString& program);

// A program named with a folder, as an absolute path (programs of the host
// run in SysPath); a bare name is left for the search path.
QString programPath(const QString& program);

// WINDIR of this process (and of the programs it starts) becomes the host's.
void setWindowsDirectory(const HostPaths& paths);

const QList<SampleDeclarant>& sampleDeclarants();
const QList<SampleUser>& sampleUsers();

// The report program's command line for a saved declaration: positions 1-2
// the document type "06", 3-17 the document number, 18-21 the form "0913",
// 22-27 the period, 28 the entity and 29-36 an eight-character suffix.
QString quenboCommandLine(const QString& docId, const QString& periodo, int entidad, const QString& suffix);

} // namespace hostkit
