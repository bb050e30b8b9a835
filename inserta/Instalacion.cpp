#include "inserta/Instalacion.h"

#include "formulario/core/DefinicionTablas.h"
#include "inserta/CargaDatos.h"
#include "inserta/TablasFormulario.h"
#include "platform/dialogs.h"
#include "platform/hostaccount.h"
#include "platform/profile.h"

#include <QFileInfo>

namespace inserta {

QString sRutaInstalacion;
std::unique_ptr<platform::Database> oBaseInstalacion;
bool bHuboFalla = false;

namespace {

const QString kArchivoConfiguracion = QStringLiteral("KOVAL.INI");

QString LeeOpcion(const QString& sClave)
{
    return platform::readProfileString(QStringLiteral("Options"), sClave, QString(), kArchivoConfiguracion, 255);
}

void CierraBase()
{
    if (oBaseInstalacion) {
        while (oBaseInstalacion->transactionLevel() > 0)
            oBaseInstalacion->rollback();
    }
    oBaseInstalacion.reset();
}

} // namespace

int Main()
{
    bHuboFalla = false;
    QString sRuta = LeeOpcion(QStringLiteral("SysPath")).trimmed();
    if (sRuta.isEmpty()) {
        platform::messageBox(QStringLiteral("Debe instalar primero el VRD "),
                             platform::mb::Information | platform::mb::OkOnly, QStringLiteral("Mensaje"));
        platform::endProgram(SalidaSinVrd);
    }
    if (sRuta.endsWith(QStringLiteral("//")))
        sRuta.chop(1);

    AbreBaseInstalacion(sRuta);
    ActualizaBase(sRuta);
    if (bHuboFalla)
        platform::endProgram(SalidaIncompleta);
    return SalidaCompleta;
}

bool AbreBaseInstalacion(const QString& sRuta)
{
    const QString sNombreBase = LeeOpcion(QStringLiteral("DBName"));
    platform::OpenOptions opciones;
    opciones.workgroupFile = sRuta + QStringLiteral("/KOVAL.MDW");
    opciones.user = platform::workgroupUser();
    opciones.password = platform::workgroupPassword();
    try {
        oBaseInstalacion = platform::Database::open(sRuta + sNombreBase, opciones);
        return true;
    } catch (const platform::DbError& e) {
        const QString sTexto = e.number() == platform::dberr::AlreadyExclusive
            ? QStringLiteral(" %1- La Base de datos esta bloqueda").arg(e.number())
            : QStringLiteral("%1\n %2").arg(e.description(), QString::number(e.number()));
        platform::messageBox(sTexto, platform::mb::OkOnly, QStringLiteral("Error de Conección"));
        platform::endProgram(SalidaSinBase);
    }
}

void ActualizaBase(const QString& sRuta)
{
    sRutaInstalacion = sRuta;
    try {
        BorraTablasTemporales();
        CreaTablas();
        for (const QString& sTabla : TablasDeudas())
            PermiteLongitudCero(sTabla);
        CargaDatos();
    } catch (const platform::DbError& e) {
        // A step without a statement runner of its own (a table or row lookup)
        // failed: the run cannot go on safely.
        CierraBase();
        AvisaFalla(QStringLiteral("Error %1\n%2").arg(e.number()).arg(e.description()),
                   QStringLiteral("Error de Ejecución"));
        platform::endProgram(SalidaIncompleta);
    }
    CierraBase();
}

bool EjecutaSentencia(const QString& sSQL, const QVariantList& params)
{
    return EjecutaSentencia([&] { oBaseInstalacion->execute(sSQL, params); });
}

bool EjecutaSentencia(const std::function<void()>& sentencia)
{
    try {
        sentencia();
        return true;
    } catch (const platform::DbError& e) {
        switch (e.number()) {
        case platform::dberr::TableExists:
            // Whatever the answer, nothing is overwritten: the table stays as it is.
            platform::messageBox(QStringLiteral("\nSe  detectado que ya existen las tablas del VRD ")
                                     + QStringLiteral(" Desea Sobreescribirlas?"),
                                 platform::mb::Question | platform::mb::YesNo | platform::mb::DefaultButton2,
                                 QStringLiteral("Mensaje"));
            return true;
        case platform::dberr::PrimaryKeyExists:
            return true;
        default:
            AvisaErrorSentencia(e);
            return false;
        }
    }
}

bool EjecutaTransaccion(const std::function<bool()>& unidad)
{
    oBaseInstalacion->beginTrans();
    try {
        if (unidad()) {
            oBaseInstalacion->commitTrans();
            return true;
        }
    } catch (...) {
        oBaseInstalacion->rollback();
        throw;
    }
    oBaseInstalacion->rollback();
    return false;
}

void AvisaErrorSentencia(const platform::DbError& e)
{
    AvisaFalla(QStringLiteral("Error Número : %1\n%2").arg(e.number()).arg(e.description()),
               QStringLiteral("Error al Ejecutar Sentencia SQL"));
}

void AvisaFalla(const QString& sTexto, const QString& sTitulo)
{
    bHuboFalla = true;
    platform::messageBox(sTexto, platform::mb::Critical | platform::mb::OkOnly, sTitulo);
}

bool VerificaArchivo(const QString& sRuta)
{
    const QString sCamino = sRuta.trimmed();
    const int nSeparador = sCamino.lastIndexOf(QLatin1Char('/'));
    if (nSeparador >= 0 && !QFileInfo(sCamino.left(nSeparador + 1)).isDir())
        return false;
    const QFileInfo archivo(sCamino);
    return archivo.exists() && !archivo.isDir();
}

} // namespace inserta
