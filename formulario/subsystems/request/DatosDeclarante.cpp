#include "formulario/subsystems/request/DatosDeclarante.h"

#include "formulario/core/ClaveDeclaracion.h"
#include "formulario/core/ModGen00.h"
#include "platform/database.h"

namespace {

// The declaration's row of `sTabla` (a header or guarantee table), or none.
std::unique_ptr<platform::Recordset> FilaDeclaracion(const QString& sTabla, const ClaveDeclaracion& clave)
{
    sSQL = QStringLiteral("SELECT * FROM ") + sTabla + QStringLiteral(" WHERE ") + clave.Condicion();
    auto rs = oBaseDatos->openRecordset(sSQL, clave.Parametros());
    if (rs->bof() && rs->eof())
        return nullptr;
    return rs;
}

} // namespace

int Lee_RUC_Delito(const ClaveDeclaracion& clave)
{
    if (auto rs = FilaDeclaracion(QStringLiteral("CAB"), clave))
        nBcolibrad = rs->field(QStringLiteral("bcolibrad")).value().toInt() & 0xFF;
    return nBcolibrad;
}

QString Lee_BuenosCont(const ClaveDeclaracion& clave)
{
    if (auto rs = FilaDeclaracion(QStringLiteral("CAB"), clave))
        sBuenContrib = rs->field(QStringLiteral("cheque")).text().trimmed().left(1);
    return sBuenContrib;
}

void Datos_Iniciales(const ClaveDeclaracion& clave)
{
    auto rs = FilaDeclaracion(QStringLiteral("F0913GARANTIA"), clave);
    if (!rs)
        return;
    sIndGarantia = rs->field(QStringLiteral("ind_garantia")).text().trimmed();
    sIndPersona = rs->field(QStringLiteral("ind_persona")).text().trimmed();
    sMtoDeuda = rs->field(QStringLiteral("mto_deuda")).text().trimmed();
    sMtoDeudaGarantia = rs->field(QStringLiteral("mto_deuda_garantia")).text().trimmed();
}

bool HayDeudasPersonaNatural(const QString& sNumDoc)
{
    sSQL = QStringLiteral("SELECT count(*) as nCont FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? "
                          "AND ind_tip_deu in ( '01', '04', '06' ) AND ind_acog = 1 AND ind_valor = 0 ");
    return oBaseDatos->scalar(sSQL, {sNumDoc, nEntidad}).toInt() > 0;
}

void CargaTipoPersona(const QString& sNumDoc)
{
    sNumDeudas = HayDeudasPersonaNatural(sNumDoc) ? QStringLiteral("0") : QStringLiteral("1");
}
