#include "formulario/core/DefinicionTablas.h"

using platform::ColumnDef;
using platform::FieldType;

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
    const QStringList longitudCero = ColumnasLongitudCero();
    for (ColumnDef& columna : columnas)
        columna.allowZeroLength = longitudCero.contains(columna.name);
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
QList<DefinicionTabla> Familia(const QString& sNombre, const QList<ColumnDef>& columnas, const QStringList& clave)
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

QList<DefinicionTabla> ConstruyeTablas()
{
    QList<DefinicionTabla> tablas;
    tablas << Familia(QStringLiteral("F0913DEUDAS"), ColumnasDeudas(), kClaveDeudas)
           << Familia(QStringLiteral("F0913MOTIVO"), ColumnasMotivo(), kClaveMotivo)
           << Familia(QStringLiteral("F0913SUSTEN"), ColumnasSusten(), kClaveMotivo + QStringList{"num_sust"});
    // The guarantee's key bears the debt table's key name; names are per table.
    tablas << DefinicionTabla{QStringLiteral("F0913GARANTIA"), ColumnasGarantia(), QStringLiteral("PK_F0913DEUDAS"),
                              {"tip_doc_d", "doc_id_d", "periodo", "formulario", "Semana"}};
    return tablas;
}

} // namespace

const QList<DefinicionTabla>& TablasFormulario()
{
    static const QList<DefinicionTabla> tablas = ConstruyeTablas();
    return tablas;
}

const DefinicionTabla* DefinicionDe(const QString& sTabla)
{
    for (const DefinicionTabla& tabla : TablasFormulario()) {
        if (tabla.sNombre.compare(sTabla, Qt::CaseInsensitive) == 0)
            return &tabla;
    }
    return nullptr;
}

QStringList TablasDeudas()
{
    return {QStringLiteral("F0913DEUDAS"), QStringLiteral("HF0913DEUDAS"), QStringLiteral("TMP_F0913DEUDAS")};
}

QStringList ColumnasLongitudCero()
{
    return {QStringLiteral("mto_tributo_c"), QStringLiteral("mto_int_c"), QStringLiteral("mto_int_cap_c"),
            QStringLiteral("mto_act_c"),     QStringLiteral("Cod_for_dj"), QStringLiteral("Num_ord_dj")};
}
