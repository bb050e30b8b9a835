#include "formulario/subsystems/request/RecalculaDeudas.h"

#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/ModGen01.h"
#include "formulario/core/Moneda.h"
#include "formulario/core/Transaccion.h"
#include "formulario/core/modGen02.h"
#include "formulario/core/ControlValor.h"
#include "platform/database.h"

#include <QDate>

namespace {

const QString kFormatoInteres = QStringLiteral("###########0.00");
const QString kFormatoTotal = QStringLiteral("###########0");
constexpr int kParticionDeuda = 9;

QString Texto(Moneda monto)
{
    return monto.Formatea(Moneda::kDecimales, false);
}

QDate Fecha(const QString& sFecha)
{
    const QDate dFecha = QDate::fromString(sFecha, QStringLiteral("dd/MM/yyyy"));
    if (!dFecha.isValid())
        platform::throwTypeMismatch();
    return dFecha;
}

// The statement's date as the first grid shows it; the zero date means none.
QDate FechaEstadoCuenta()
{
    const QDate dFecha = LeeFechaPersonalizado();
    if (!dFecha.isValid() || dFecha == QDate(1899, 12, 30))
        platform::throwTypeMismatch();
    return dFecha;
}

// The row's interest (and, at a year end, its first stage) up to `dHasta`.
struct Actualizacion {
    Moneda interes;
    std::optional<Moneda> interesAlCierre;
};

class Recalculo {
public:
    // `dCierre` is valid when the update crosses that year end.
    Recalculo(platform::Recordset& rs, QDate dEstado, QDate dActualiza, QDate dCierre)
        : rs_(rs), dEstado_(dEstado), dActualiza_(dActualiza), dCierre_(dCierre)
    {
    }

    void Reescribe()
    {
        const Moneda tributo = MontoDeTexto(rs_["mto_tributo_c"].text());
        const Moneda interesCapS = MontoDeTexto(rs_["mto_int_cap_s"].text());
        const Moneda interesS = MontoDeTexto(rs_["mto_int_s"].text());
        const Moneda interesesDeclarados = interesCapS + interesS;
        const Actualizacion act = Calcula(tributo, interesCapS, interesS);

        rs_.edit();
        if (act.interesAlCierre) {
            rs_["mto_int_c"].setValue(Formato(Texto(act.interes), kFormatoInteres));
            rs_["mto_act_c"].setValue(
                Formato(Texto(tributo + act.interes + interesesDeclarados + *act.interesAlCierre), kFormatoTotal));
        } else {
            rs_["mto_int_c"].setValue(Formato(Texto(act.interes + interesS), kFormatoInteres));
            rs_["mto_act_c"].setValue(Formato(Texto(tributo + act.interes + interesesDeclarados), kFormatoTotal));
        }
        rs_["cnumero"].setValue(FormateaCampo(rs_, kParticionDeuda));
        rs_.update();
    }

private:
    Actualizacion Calcula(Moneda tributo, Moneda interesCapS, Moneda interesS)
    {
        if (!dCierre_.isValid())
            return {Interes(Texto(tributo), Texto(interesCapS), dEstado_, dActualiza_), std::nullopt};
        // Interest up to the year end is capitalised with both stated
        // interests; the second stage runs on that total.
        const Moneda interesAlCierre = Interes(Texto(tributo), Texto(interesCapS), dEstado_, dCierre_);
        const Moneda capitalizado = interesCapS + interesAlCierre + tributo + interesS;
        return {Interes(Texto(capitalizado), QStringLiteral("0"), dCierre_, dActualiza_), interesAlCierre};
    }

    Moneda Interes(const QString& sMonto, const QString& sAdicional, QDate dDesde, QDate dHasta)
    {
        return MontoDeTexto(CalculaInteres(sMonto, sAdicional, dDesde, dHasta, rs_["Ind_deuda_dj"].text(),
                                    rs_["Cod_For_Dj"].text()));
    }

    platform::Recordset& rs_;
    QDate dEstado_;
    QDate dActualiza_;
    QDate dCierre_;
};

bool Acepta(platform::Recordset& rs)
{
    const QString sTipo = rs["ind_tip_deu"].text();
    return (sTipo == QLatin1String("01") || sTipo == QLatin1String("04")) && rs["ind_acog"].text() == QLatin1String("1")
        && rs["ind_conf"].text() == QLatin1String("1");
}

// Runs `paso` in a transaction of its own; an error is shown and undoes it.
template <class Paso>
bool CambiaTablaTrabajo(Paso&& paso)
{
    try {
        EnTransaccion(paso);
        return true;
    } catch (const platform::DbError& err) {
        MuestraErrorSQL(err);
        return false;
    }
}

} // namespace

void Recalcula_deuda(const QString& sNumDocDeclarante, const QString& sFechaAcog)
{
    sSQL = QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? "
                          "AND ind_tip_deu in ( '01', '04') AND ind_ver_deu in ( '00', '07' ) ");
    const std::unique_ptr<platform::Recordset> rs =
        oBaseDatos->openRecordset(sSQL, {sNumDocDeclarante, nEntidad}, platform::RecordsetType::Dynaset);
    if (rs->eof())
        return;
    const QDate dEstado = FechaEstadoCuenta();
    const QDate dActualiza = Fecha(sFechaAcog);
    // A December period updated in January crosses 31 December of the period's year.
    const bool bCierreAnual = sPeriodo.right(2) == QLatin1String("12") && sFechaAcog.mid(3, 2) == QLatin1String("01");
    const QDate dCierre = bCierreAnual ? QDate(sPeriodo.left(4).toInt(), 12, 31) : QDate();
    Recalculo recalculo(*rs, dEstado, dActualiza, dCierre);
    for (; !rs->eof(); rs->moveNext()) {
        if (Acepta(*rs))
            recalculo.Reescribe();
    }
}

bool AcogeTodas(const QString& sNumDocDeclarante, const QString& sFechaAcog)
{
    return CambiaTablaTrabajo([&] {
        sSQL = QStringLiteral("UPDATE TMP_F0913DEUDAS SET ind_acog = 1, ind_conf = 1, "
                              "Mto_tributo_c = Mto_tributo_s, Mto_int_cap_c = Mto_int_cap_s, "
                              "Mto_int_c = Mto_int_s, Mto_act_c = Mto_act_s "
                              "WHERE doc_id_d = ? AND Semana = ? AND ind_tip_deu in ( '01', '04' ) "
                              "AND ind_ver_deu in ( '00', '07' ) AND ind_acog is null AND ind_impugnado = '00' ");
        oBaseDatos->execute(sSQL, {sNumDocDeclarante, nEntidad});
        Recalcula_deuda(sNumDocDeclarante, sFechaAcog);
    });
}

bool NoAcogeTodas(const QString& sNumDocDeclarante)
{
    return CambiaTablaTrabajo([&] {
        sSQL = QStringLiteral("UPDATE TMP_F0913DEUDAS SET ind_acog = 2, Mto_tributo_c = 0, Mto_int_cap_c = 0, "
                              "Mto_int_c = 0, Mto_act_c = 0 WHERE doc_id_d = ? AND Semana = ? "
                              "AND ind_tip_deu in ( '01', '04' ) AND ind_ver_deu in ( '00', '07' ) "
                              "AND ind_acog is null ");
        oBaseDatos->execute(sSQL, {sNumDocDeclarante, nEntidad});
    });
}

bool ActualizaDeudasAcogidas(const QString& sNumDocDeclarante, const QString& sFechaAcog)
{
    return CambiaTablaTrabajo([&] { Recalcula_deuda(sNumDocDeclarante, sFechaAcog); });
}
