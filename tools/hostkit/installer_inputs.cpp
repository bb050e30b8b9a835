#include "tools/hostkit/installer_inputs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace hostkit {

namespace {

// The samples lie beside this source file.
QString dataFolder()
{
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/data/");
}

} // namespace

void copyInstallerInputs(const HostPaths& paths)
{
    const QString folder = paths.sysPath + QStringLiteral("tmp/");
    if (!QDir().mkpath(folder))
        throw HostError(QStringLiteral("No se pudo crear la carpeta %1").arg(folder));
    for (const QString& name : {QStringLiteral("env913.txt"), QStringLiteral("Par913.txt")}) {
        const QString target = folder + name;
        if (QFileInfo::exists(target))
            continue;
        if (!QFile::copy(dataFolder() + name, target))
            throw HostError(QStringLiteral("No se pudo copiar %1 en %2").arg(dataFolder() + name, target));
        // A copy keeps the source's read-only mode; the host's files can be changed.
        QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
}

} // namespace hostkit
