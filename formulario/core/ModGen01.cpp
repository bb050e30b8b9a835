#include "formulario/core/ModGen01.h"

#include "formulario/core/ModGen00.h"
#include "platform/dialogs.h"
#include "platform/hostaccount.h"
#include "platform/profile.h"

#include <QDir>
#include <QFileInfo>

using platform::mb::Critical;
using platform::mb::Information;
using platform::mb::OkOnly;

namespace {

QString LeeOpcion(const QString& sClave)
{
    return platform::readProfileString(QStringLiteral("Options"), sClave, QString(), QStringLiteral("KOVAL.INI"), 255)
        .trimmed();
}

} // namespace

void LeeConfiguracion()
{
    sSysPath = LeeOpcion(QStringLiteral("SysPath"));
    sRutaRpt = sSysPath + QStringLiteral("RPT/");
    // Everything below is looked up under SysPath: without it the program
    // would run on in whatever folder it was started from.
    if (sSysPath.isEmpty() || !QFileInfo(sSysPath).isDir() || !QDir::setCurrent(sSysPath)) {
        platform::messageBox(QStringLiteral("Debe instalar primero el VRD "), Information | OkOnly,
                             QStringLiteral("Mensaje"));
        platform::endProgram(1);
    }
    sRutaBD = LeeOpcion(QStringLiteral("DBPath"));
    sRutaBD += LeeOpcion(QStringLiteral("DBName"));
    sArchivoAyuda = sSysPath + QStringLiteral("0913/Tarvel.hlp");
    sSysUser = LeeOpcion(QStringLiteral("SysUser"));
    AbreBaseDatos();
}

bool AbreBaseDatos()
{
    platform::OpenOptions options;
    options.workgroupFile = sSysPath + QStringLiteral("KOVAL.MDW");
    options.user = platform::workgroupUser();
    options.password = platform::workgroupPassword();
    try {
        oBaseDatos = platform::Database::open(sRutaBD, options);
        return true;
    } catch (const platform::DbError& e) {
        const QString sTexto = e.number() == platform::dberr::AlreadyExclusive
            ? QStringLiteral(" %1- Base esta bloqueda").arg(e.number())
            : QStringLiteral("%1\n %2").arg(e.description(), QString::number(e.number()));
        platform::messageBox(sTexto, OkOnly, QStringLiteral("Error de Conección"));
        platform::endProgram(1);
    }
}

void EjecutaSQL(const QString& sSentencia, const QVariantList& params)
{
    try {
        oBaseDatos->execute(sSentencia, params);
    } catch (const platform::DbError& e) {
        MuestraErrorSQL(e);
    }
}

void MuestraErrorSQL(const platform::DbError& err)
{
    platform::messageBox(QStringLiteral("Error Número : %1\n%2").arg(err.number()).arg(err.description()), Critical,
                         QStringLiteral("Error al Ejecutar Sentencia SQL"));
}
