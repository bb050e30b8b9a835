#include "inserta/TablasFormulario.h"

#include "formulario/core/DefinicionTablas.h"
#include "inserta/Instalacion.h"

namespace inserta {

namespace {

const QString kGarantia = QStringLiteral("F0913GARANTIA");
// An F0913GARANTIA with no more columns than this is of the old layout.
constexpr int kColumnasGarantiaAntigua = 6;

// The name under which the table is stored (any case); empty when missing.
QString NombreGuardado(const QString& sTabla)
{
    const QString sBuscado = sTabla.toUpper();
    for (const QString& sNombre : oBaseInstalacion->tableNames()) {
        if (sNombre.toUpper() == sBuscado)
            return sNombre;
    }
    return QString();
}

// The table, then its key.
bool CreaTablaConClave(const DefinicionTabla& tabla)
{
    return EjecutaSentencia([&] { oBaseInstalacion->createTable(tabla.sNombre, tabla.columnas); })
        && EjecutaSentencia([&] {
               oBaseInstalacion->createPrimaryKey(tabla.sNombre, tabla.sNombreClave, tabla.columnasClave);
           });
}

// The table and its key, both or neither.
void CreaTabla(const DefinicionTabla& tabla)
{
    EjecutaTransaccion([&] { return CreaTablaConClave(tabla); });
}

// Drops an F0913GARANTIA of the old layout and creates it anew (its rows are
// of no use to the current form); the old table stays when the new one fails.
void ReconstruyeGarantia(const DefinicionTabla& tabla)
{
    if (oBaseInstalacion->columns(kGarantia).size() > kColumnasGarantiaAntigua)
        return;
    EjecutaTransaccion([&] {
        return EjecutaSentencia([&] { oBaseInstalacion->dropTable(NombreGuardado(kGarantia)); })
            && CreaTablaConClave(tabla);
    });
}

} // namespace

bool ExisteTabla(const QString& sTabla)
{
    return !NombreGuardado(sTabla).isEmpty();
}

void BorraTablasTemporales()
{
    for (const DefinicionTabla& tabla : TablasFormulario()) {
        if (!tabla.sNombre.startsWith(QStringLiteral("TMP_")))
            continue;
        const QString sGuardado = NombreGuardado(tabla.sNombre);
        if (!sGuardado.isEmpty())
            EjecutaSentencia([&] { oBaseInstalacion->dropTable(sGuardado); });
    }
}

void CreaTablas()
{
    for (const DefinicionTabla& tabla : TablasFormulario()) {
        if (!ExisteTabla(tabla.sNombre))
            CreaTabla(tabla);
        else if (tabla.sNombre == kGarantia)
            ReconstruyeGarantia(tabla);
    }
}

void PermiteLongitudCero(const QString& sTabla)
{
    if (!TablasDeudas().contains(sTabla.toUpper()))
        return;
    for (const QString& sColumna : ColumnasLongitudCero()) {
        try {
            oBaseInstalacion->setAllowZeroLength(sTabla, sColumna, true);
        } catch (const platform::DbError& e) {
            // A missing table or column leaves this setting undone; a table
            // that could not be rebuilt for it is told. The next is still tried.
            if (e.number() != platform::dberr::NoSuchTable && e.number() != platform::dberr::ItemNotFound)
                AvisaErrorSentencia(e);
        }
    }
}

} // namespace inserta
