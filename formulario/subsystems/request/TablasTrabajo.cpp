#include "formulario/subsystems/request/TablasTrabajo.h"

#include "formulario/core/ClaveDeclaracion.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Registros.h"
#include "formulario/core/Transaccion.h"
#include "platform/database.h"
#include "platform/rowcopy.h"

#include <QStringList>

namespace {

const QStringList kTablas = {QStringLiteral("F0913DEUDAS"), QStringLiteral("F0913MOTIVO"),
                             QStringLiteral("F0913SUSTEN")};

// The columns of each sent table but Correl, in table order.
QStringList ColumnasEnviadas(const QString& sTabla)
{
    static const QStringList clave = {"tip_doc_d", "doc_id_d", "periodo", "formulario", "semana",
                                      "Ind_tip_deu", "per_doc", "cod_tri", "Num_doc", "Cod_for"};
    if (sTabla == QLatin1String("F0913DEUDAS"))
        return clave
            + QStringList{"Cod_tip_doc", "Cod_tri_aso", "Ind_ver_deu", "Fec_des_deu", "Num_cuo", "Fec_ult_cap",
                          "Num_pro", "mto_tributo_s", "mto_int_cap_s", "mto_int_s", "mto_act_s", "ind_acog",
                          "ind_conf", "mto_tributo_c", "mto_int_cap_c", "mto_int_c", "mto_act_c", "Cod_for_dj",
                          "Num_ord_dj", "Ind_valor", "Ind_deuda_dj", "Ind_impugnado", "cNumero"};
    if (sTabla == QLatin1String("F0913MOTIVO"))
        return clave + QStringList{"cod_motivo", "cnumero"};
    return clave
        + QStringList{"cod_motivo", "num_sust", "cod_formulario", "num_orden", "num_res", "tip_impug", "num_exp",
                      "des_otros", "fec_pago", "cnumero"};
}

// A grid row's description from the PARAM entries `sNumero`: `sTexto`, made
// of their argumento and funcion, of the entry whose argumento is
// `sCodigo`. The entries' texts are made once for the whole grid, not once
// per row (LIMIT -1 keeps SQLite from folding them back into the look-up).
QString DescripcionParam(const char* sNumero, const char* sTexto, const char* sCodigo)
{
    return QStringLiteral("( SELECT d.des FROM ( SELECT argumento, %2 AS des FROM PARAM WHERE numero = '%1' "
                          "LIMIT -1 ) d WHERE d.argumento = %3 )")
        .arg(QLatin1String(sNumero), QLatin1String(sTexto), QLatin1String(sCodigo));
}

} // namespace

void CargaDataTemporales(const QString& sTipo, const ClaveDeclaracion& clave)
{
    if (sTipo != QLatin1String("C")) {
        ClaveDeclaracion claveGuardada = clave;
        claveGuardada.sCorrel.clear();
        EnTransaccion([&] { GuardaTablasTrabajo(claveGuardada); });
        return;
    }
    const QString sOrigen = bEnviadas ? QStringLiteral("H") : QString();
    ClaveDeclaracion claveOrigen = clave;
    if (!bEnviadas)
        claveOrigen.sCorrel.clear();
    // The three tables move together: all of them or, on an error, none.
    EnTransaccion([&] {
        for (const QString& sTabla : kTablas) {
            EliminaDataTabla(QStringLiteral("tmp_") + sTabla, clave.nTipoDoc, clave.sNumDoc, 1, QString());
            platform::copyRows(*oBaseDatos, QStringLiteral("tmp_") + sTabla, sOrigen + sTabla,
                               bEnviadas ? ColumnasEnviadas(sTabla) : QStringList(), claveOrigen.Condicion(),
                               claveOrigen.Parametros());
        }
    });
}

void GuardaTablasTrabajo(const ClaveDeclaracion& clave)
{
    for (const QString& sTabla : kTablas) {
        oBaseDatos->execute(QStringLiteral("DELETE FROM ") + sTabla + QStringLiteral(" WHERE ") + clave.Condicion(),
                            clave.Parametros());
        platform::copyRows(*oBaseDatos, sTabla, QStringLiteral("TMP_") + sTabla, {}, clave.Condicion(),
                           clave.Parametros());
    }
}

void VaciaTablasTrabajo()
{
    EnTransaccion([] {
        for (const QString& sTabla : kTablas)
            oBaseDatos->execute(QStringLiteral("DELETE FROM TMP_") + sTabla);
    });
}

QString ConsultaGrilla(int nIndex)
{
    QString sConsulta = QStringLiteral("SELECT per_doc, ind_tip_deu, ind_ver_deu, ")
        + DescripcionParam("871", "substr(argumento,2,3) || substr(argumento,-1) || '-' || substr(funcion,1,32)",
                           "cod_tri")
        + QStringLiteral(" AS des_tributo, ")
        + DescripcionParam("872", "UCase(trim(substr(funcion,22,80)))", "Trim(cod_tip_Doc)")
        + QStringLiteral(" AS des_valor, num_Doc, cod_tri, Cod_For, Cod_Tip_doc, cod_tri_aso, ")
        + DescripcionParam("871", "substr(funcion,1,32)", "cod_tri_aso")
        + QStringLiteral(
              " AS des_tributo_aso, fec_des_deu, mto_tributo_s, mto_int_cap_s, mto_int_s, mto_act_s, ind_acog, "
              "ind_conf, mto_tributo_c, mto_int_cap_c, mto_int_c, Mto_act_c, Cod_for_dj, Num_Ord_dj, ind_deuda_dj, "
              "Num_pro, ind_valor, ind_impugnado, num_cuo FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? ");
    sConsulta += nIndex == 1 ? QStringLiteral("AND ind_tip_deu in ( '01', '04', '06' ) ")
                             : QStringLiteral("AND ind_tip_deu = '05' ");
    return sConsulta + QStringLiteral("ORDER BY 1 DESC, cod_tri ");
}

QVariant SumaAcogidaGrilla(int nIndex, const QString& sNumDoc)
{
    sSQL = QStringLiteral("SELECT SUM(mto_act_c * 1) FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? ");
    sSQL += nIndex == 1 ? QStringLiteral("AND ind_tip_deu in ('01', '04') AND ind_ver_deu in ('00','07') ")
                        : QStringLiteral("AND ind_tip_deu = '05' ");
    return oBaseDatos->scalar(sSQL, {sNumDoc, nEntidad});
}

bool Existen_Deudas(const QString& sTipo, const QString& sNumDoc)
{
    sSQL = QStringLiteral("SELECT COUNT(*) FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? ");
    sSQL += sTipo == QLatin1String("1")
        ? QStringLiteral("AND ind_tip_deu in ( '01', '04' ) AND ind_ver_deu in ( '00', '07' ) ")
        : QStringLiteral("AND ind_tip_deu in ( '05' ) AND ind_ver_deu in ( '00' ) ");
    sSQL += QStringLiteral("AND ind_acog is null ");
    return oBaseDatos->scalar(sSQL, {sNumDoc, nEntidad}).toInt() > 0;
}
