#include "inserta/TablasFormulario.h"

#include "inserta/Instalacion.h"

using platform::ColumnDef;
using platform::FieldType;

namespace inserta {

namespace {

ColumnDef Texto(const QString& sNombre, int nLargo)
{
    return {sNombre, FieldType::Text, nLargo};
}

ColumnDef Byte(const QString& sNombre)
{
    return {sNombre, FieldType::Byte};
}

ColumnDef Entero(const QString& sNombre)
{
    return {sNombre, FieldType::Integer};
}

ColumnDef Fecha(const QString& sNombre)
{
    return {sNombre, FieldType::Date};
}

// Columns of a debt table that accept an empty text.
const QStringList kColumnasLongitudCero = {
    QStringLiteral("mto_tributo_c"), QStringLiteral("mto_int_c"), QStringLiteral("mto_int_cap_c"),
    QStringLiteral("mto_act_c"),     QStringLiteral("Cod_for_dj"), QStringLiteral("Num_ord_dj"),
};

const QString kGarantia = QStringLiteral("F0913GARANTIA");
// An F0913GARANTIA with no more columns than this is of the old layout.
constexpr int kColumnasGarantiaAntigua = 6;

QList<ColumnDef> ColumnasDeudas()
{
    QList<ColumnDef> columnas = {
        Byte("tip_doc_d"),         Texto("doc_id_d", 15),      Texto("periodo", 6),
        Texto("formulario", 4),    Byte("semana"),             Texto("Ind_tip_deu", 2),
        Texto("per_doc", 6),       Texto("cod_tri", 6),        Texto("Num_doc", 17),
        Texto("Cod_for", 4),       Texto("Cod_tip_doc", 6),    Texto("Cod_tri_aso", 6),
        Texto("Ind_ver_deu", 2),   Fecha("Fec_des_deu"),       Byte("Num_cuo"),
        Fecha("Fec_ult_cap"),      Texto("Num_pro", 14),       Texto("mto_tributo_s", 15),
        Texto("mto_int_cap_s", 15), Texto("mto_int_s", 15),    Texto("mto_act_s", 15),
        Byte("ind_acog"),          Byte("ind_conf"),           Texto("mto_tributo_c", 15),
        Texto("mto_int_cap_c", 15), Texto("mto_int_c", 15),    Texto("mto_act_c", 15),
        Texto("Cod_for_dj", 4),    Texto("Num_ord_dj", 11),    Byte("Ind_valor"),
        Byte("Ind_deuda_dj"),      Texto("Ind_impugnado", 2),  Texto("cnumero", 6),
    };
    // Made with the permission at once rather than rebuilt for it.
    for (ColumnDef& columna : columnas)
        columna.allowZeroLength = kColumnasLongitudCero.contains(columna.name);
    return columnas;
}

// Declaration key and debt identity shared by the reasons and their evidence.
QList<ColumnDef> ColumnasMotivoHastaCodigo()
{
    return {
        Byte("tip_doc_d"),      Texto("doc_id_d", 15), Texto("periodo", 6), Texto("formulario", 4),
        Byte("Semana"),         Texto("Ind_tip_deu", 2), Texto("per_doc", 6), Texto("cod_tri", 6),
        Texto("num_doc", 17),   Texto("cod_for", 4),   Byte("cod_motivo"),
    };
}

QList<ColumnDef> ColumnasMotivo()
{
    return ColumnasMotivoHastaCodigo() << Texto("cnumero", 6);
}

QList<ColumnDef> ColumnasSusten()
{
    return ColumnasMotivoHastaCodigo() << Byte("num_sust") << Texto("cod_formulario", 4) << Entero("num_orden")
                                       << Texto("num_res", 16) << Byte("tip_impug") << Texto("num_exp", 16)
                                       << Texto("des_otros", 30) << Texto("fec_pago", 10) << Texto("cnumero", 6);
}

QList<ColumnDef> ColumnasGarantia()
{
    return {
        Byte("tip_doc_d"),         Texto("doc_id_d", 15),    Texto("periodo", 6),
        Texto("formulario", 4),    Byte("Semana"),           Texto("ind_garantia", 10),
        Texto("ind_persona", 5),   Texto("mto_deuda", 15),   Texto("mto_deuda_garantia", 15),
    };
}

const QStringList kClaveDeudas = {"doc_id_d", "semana",  "Ind_tip_deu", "per_doc",    "cod_tri",
                                  "Num_doc",  "Cod_for", "Cod_tip_doc", "Cod_tri_aso"};
const QStringList kClaveMotivo = {"doc_id_d", "Semana", "Ind_tip_deu", "per_doc",
                                  "cod_tri",  "num_doc", "cod_for",    "cod_motivo"};

// The saved (F), sent (H, with the sending's correlative after the entity)
// and work (TMP_) copies of one family of tables.
QList<TablaFormulario> Familia(const QString& sNombre, const QList<ColumnDef>& columnas, const QStringList& clave)
{
    QList<ColumnDef> columnasEnviadas = columnas;
    columnasEnviadas.insert(5, Texto("Correl", 3));
    QStringList claveEnviada = clave;
    claveEnviada.insert(2, QStringLiteral("Correl"));

    const QString sEnviada = QStringLiteral("H") + sNombre;
    const QString sTrabajo = QStringLiteral("TMP_") + sNombre;
    return {
        {sNombre, columnas, QStringLiteral("PK_") + sNombre, clave},
        {sEnviada, columnasEnviadas, QStringLiteral("PK_") + sEnviada, claveEnviada},
        {sTrabajo, columnas, QStringLiteral("PK_") + sTrabajo, clave},
    };
}

QList<TablaFormulario> ConstruyeTablas()
{
    QList<TablaFormulario> tablas;
    tablas << Familia(QStringLiteral("F0913DEUDAS"), ColumnasDeudas(), kClaveDeudas)
           << Familia(QStringLiteral("F0913MOTIVO"), ColumnasMotivo(), kClaveMotivo)
           << Familia(QStringLiteral("F0913SUSTEN"), ColumnasSusten(), kClaveMotivo + QStringList{"num_sust"});
    // The guarantee's key bears the debt table's key name; names are per table.
    tablas << TablaFormulario{kGarantia, ColumnasGarantia(), QStringLiteral("PK_F0913DEUDAS"),
                              {"tip_doc_d", "doc_id_d", "periodo", "formulario", "Semana"}};
    return tablas;
}

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
bool CreaTablaConClave(const TablaFormulario& tabla)
{
    return EjecutaSentencia([&] { oBaseInstalacion->createTable(tabla.sNombre, tabla.columnas); })
        && EjecutaSentencia([&] {
               oBaseInstalacion->createPrimaryKey(tabla.sNombre, tabla.sNombreClave, tabla.columnasClave);
           });
}

// The table and its key, both or neither.
void CreaTabla(const TablaFormulario& tabla)
{
    EjecutaTransaccion([&] { return CreaTablaConClave(tabla); });
}

// Drops an F0913GARANTIA of the old layout and creates it anew (its rows are
// of no use to the current form); the old table stays when the new one fails.
void ReconstruyeGarantia(const TablaFormulario& tabla)
{
    if (oBaseInstalacion->columns(kGarantia).size() > kColumnasGarantiaAntigua)
        return;
    EjecutaTransaccion([&] {
        return EjecutaSentencia([&] { oBaseInstalacion->dropTable(NombreGuardado(kGarantia)); })
            && CreaTablaConClave(tabla);
    });
}

} // namespace

const QList<TablaFormulario>& TablasFormulario()
{
    static const QList<TablaFormulario> tablas = ConstruyeTablas();
    return tablas;
}

QStringList TablasDeudas()
{
    return {QStringLiteral("F0913DEUDAS"), QStringLiteral("HF0913DEUDAS"), QStringLiteral("TMP_F0913DEUDAS")};
}

bool ExisteTabla(const QString& sTabla)
{
    return !NombreGuardado(sTabla).isEmpty();
}

void BorraTablasTemporales()
{
    for (const TablaFormulario& tabla : TablasFormulario()) {
        if (!tabla.sNombre.startsWith(QStringLiteral("TMP_")))
            continue;
        const QString sGuardado = NombreGuardado(tabla.sNombre);
        if (!sGuardado.isEmpty())
            EjecutaSentencia([&] { oBaseInstalacion->dropTable(sGuardado); });
    }
}

void CreaTablas()
{
    for (const TablaFormulario& tabla : TablasFormulario()) {
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
    for (const QString& sColumna : kColumnasLongitudCero) {
        try {
            oBaseInstalacion->setAllowZeroLength(sTabla, sColumna, true);
        } catch (const platform::DbError&) {
            // A missing table or column leaves this setting undone; the next is still tried.
        }
    }
}

} // namespace inserta
