#include "formulario/subsystems/review/Conciliacion.h"

#include "formulario/core/ClaveDeclaracion.h"
#include "formulario/core/Fileproc.h"
#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Transaccion.h"
#include "formulario/core/modGen02.h"
#include "formulario/core/ControlValor.h"
#include "formulario/subsystems/request/Frm913Servicios.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/utility.h"

#include <QLineEdit>
#include <optional>

using namespace platform::mb;
using platform::Recordset;
using platform::RecordsetType;

namespace {

const QString kRutina = QStringLiteral("GrabaConciliacion");
// Amounts as the work tables keep them.
const QString kEntero = QStringLiteral("###########0");
const QString kDecimal = QStringLiteral("###########0.00");

// Ends the conciliation early with an outcome code.
struct Cancelacion {
    quint8 nCodigo;
};

const QString kMezcla = QStringLiteral(
    "No se puede combinar deudas de persona natural generadoras de rentas de capital y/o trabajo (tributos "
    "3071, 3072, 3073, 3074) con el resto de deudas. Por favor, elija deudas de un solo tipo en la solicitud.");

QString MensajeCodigo(quint8 nCodigo)
{
    switch (nCodigo) {
    case codigoConciliacion::SinAcogimiento: return QStringLiteral("Debe seleccionar un tipo de acogimiento.");
    case codigoConciliacion::SinConformidad:
        return QStringLiteral("Debe seleccionar un tipo de conformidad del monto.");
    case codigoConciliacion::SinTributo: return QStringLiteral("Debe ingresar un monto de tributo.");
    case codigoConciliacion::Cancelado: return QStringLiteral("Se canceló la actualización de la información.");
    case codigoConciliacion::SinRegistro:
        return QStringLiteral("Error de integridad. No se encontró el registro a actualizar.");
    default: return {};
    }
}

Moneda Monto(const QString& sTexto)
{
    return CeroSiNulo(sTexto);
}

// An evidence value that would be empty is stored as no value: the text
// columns refuse the empty text and the number columns cannot take it.
QVariant ValorEvidencia(const QString& sValor)
{
    return sValor.trimmed().isEmpty() ? QVariant() : QVariant(sValor);
}

// The conditions on the debt's identity shared by its reasons and evidence.
const QString kCondicionMotivo = QStringLiteral(
    "doc_id_d = ? AND Semana = ? AND Ind_tip_deu = ? AND per_doc = ? AND cod_tri = ? AND num_doc = ? "
    "AND cod_for = ?");

QVariantList ParametrosMotivo(const DeudaRevisada& d)
{
    return {d.sDocId, nEntidad, d.sIndTipDeu, d.sPerDoc, d.sCodTri, d.sNumDoc, d.sCodFor};
}

// Tributes whose own amounts are checked on the capitalised interest.
bool TributoEspecial(const DeudaRevisada& d)
{
    static const QStringList especiales = {"3011", "3021", "3031", "3041", "3311", "3411", "3611", "3033"};
    static const QStringList conCuotas = {"2011", "2021", "2031", "2041"};
    if (especiales.contains(d.sCodTributo))
        return true;
    if (conCuotas.contains(d.sCodTributo))
        return d.nNumCuo != 0;
    return d.sCodTributo == QLatin1String("9021") && d.sPeriodo.left(2) != QLatin1String("13");
}

class Conciliacion {
public:
    Conciliacion(DeudaRevisada& deuda, const QString& sTitulo) : d(deuda), sTitulo_(sTitulo) {}

    // The checks. They run outside any transaction and keep nothing open,
    // so that while their boxes wait for the user the database is free for
    // other writers.
    void Verifica()
    {
        DeudaExistente();
        if (d.nAcoge == 0)
            throw Cancelacion{codigoConciliacion::SinAcogimiento};
        if (d.nAcoge == 1) {
            if (d.nConforme == 0)
                throw Cancelacion{codigoConciliacion::SinConformidad};
            VerificaMezcla();
            VerificaMotivos();
            if (d.nConforme == 2)
                VerificaMontos();
        }
    }

    // The writes, inside the transaction the caller holds; they ask nothing.
    void Graba()
    {
        auto rsDeuda = DeudaExistente();
        rsDeuda->edit();
        EscribeDeuda(*rsDeuda);
        for (int nMotivo = 1; nMotivo <= 6; ++nMotivo)
            EscribeMotivo(nMotivo);
    }

    int nMotivoFoco = 0;

private:
    std::unique_ptr<Recordset> DeudaExistente()
    {
        auto rsDeuda = AbreDeuda();
        if (rsDeuda->eof() && rsDeuda->bof())
            throw Cancelacion{codigoConciliacion::SinRegistro};
        return rsDeuda;
    }

    std::unique_ptr<Recordset> AbreDeuda()
    {
        // The whole key, so that the answer goes to this debt alone.
        return oBaseDatos->openRecordset(
            QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? AND Ind_tip_deu = ? "
                           "AND per_doc = ? AND cod_tri = ? AND num_doc = ? AND cod_for = ? "
                           "AND Nz(Cod_tip_doc, '') = ? AND Nz(Cod_tri_aso, '') = ?"),
            ParametrosMotivo(d) << d.sCodTipDoc << d.sCodTriAso, RecordsetType::Dynaset);
    }

    int Cuenta(const QString& sCondicion)
    {
        return oBaseDatos
            ->scalar(QStringLiteral("SELECT COUNT(*) FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? "
                                    "AND ind_acog = 1 AND ")
                         + sCondicion,
                     {d.sDocId, nEntidad})
            .toInt();
    }

    void Mezcla(int nIcono)
    {
        platform::messageBox(kMezcla, nIcono | OkOnly, sTitulo_);
        throw Cancelacion{codigoConciliacion::Ninguno};
    }

    void VerificaMezcla()
    {
        const QString sNotificadas = QStringLiteral("Ind_tip_deu IN ('01', '04', '06') AND Ind_valor = ");
        if (d.sIndValor == QLatin1String("0")) {
            if (Cuenta(sNotificadas + QStringLiteral("1")) > 0)
                Mezcla(Information);
            if (Cuenta(QStringLiteral("Ind_tip_deu = '05'")) > 0)
                Mezcla(Critical);
        } else if (Cuenta(sNotificadas + QStringLiteral("0")) > 0) {
            Mezcla(Information);
        }
    }

    void Informa(const QString& sMensaje) { platform::messageBox(sMensaje, Information | OkOnly, sTitulo_); }

    void CancelaEnMotivo(const QString& sMensaje, int nMotivo)
    {
        Informa(sMensaje);
        nMotivoFoco = nMotivo;
        throw Cancelacion{codigoConciliacion::Cancelado};
    }

    bool Marcado(int nMotivo) const { return d.motivos[nMotivo].bMarcado; }

    void VerificaMotivos()
    {
        if (d.nConforme != 2 && !(d.nConforme == 1 && d.bImpugnada))
            return;
        nCodigo_ = codigoConciliacion::Silencioso;
        if (Marcado(4) && Marcado(6) && d.sIndVerDeu == QLatin1String("07")) {
            Informa(QStringLiteral("El motivo de desistimiento aceptado y el motivo Lit. b) Art.3° de RS 176-2007 "
                                   "son excluyentes"));
            throw Cancelacion{codigoConciliacion::Cancelado};
        }
        if (!Marcado(6)) {
            int nSinSustento = 0;
            for (int nMotivo = 1; nMotivo <= 5; ++nMotivo) {
                const MotivoRevisado& m = d.motivos[nMotivo];
                if (m.bMarcado && (m.sTag == QLatin1String("0") || m.sTag.isEmpty()))
                    CancelaEnMotivo(QStringLiteral("Se ha detectado que ha seleccionado un motivo (") + m.sCaption
                                        + QStringLiteral(") pero no ha registrado su sustento. Actualice la "
                                                         "información respectiva o no seleccione el motivo."),
                                    nMotivo);
                if (m.bMarcado)
                    nCodigo_ = codigoConciliacion::Ninguno;
                if (m.sTag == QLatin1String("0"))
                    ++nSinSustento;
            }
            if (nSinSustento == 5)
                CancelaEnMotivo(QStringLiteral("Debe especificar un motivo y su respectivo sustento."),
                                d.motivos[6].bHabilitado ? 6 : 0);
        }
        if (d.nConforme == 2 && d.bImpugnada && !Marcado(4) && !Marcado(6))
            CancelaEnMotivo(QStringLiteral("Debe registrar el desistimiento aceptado"), 4);
    }

    void CancelaMonto(const QString& sMensaje)
    {
        Informa(sMensaje);
        throw Cancelacion{nCodigo_};
    }

    void VerificaMontos()
    {
        if (d.sTributo.trimmed().isEmpty())
            throw Cancelacion{codigoConciliacion::SinTributo};
        if (TributoEspecial(d)) {
            if (d.sInteresCap.isEmpty())
                d.sInteresCap = QStringLiteral("0");
            if (Monto(d.sInteresCap) <= Moneda() && !d.bInteresCapBloqueado)
                CancelaMonto(QStringLiteral("Debe registrar un importe mayor a cero en interes capitalizado"));
        } else {
            if (d.sTributo.isEmpty())
                d.sTributo = QStringLiteral("0");
            if (Monto(d.sTributo) <= Moneda() && !d.bTributoBloqueado)
                CancelaMonto(QStringLiteral("Debe registrar un importe mayor a cero en el tributo insoluto"));
            if (d.sPeriodo.right(4) == d.sFechaAcog.right(4) && Monto(d.sInteresCap.trimmed()) > Moneda())
                CancelaMonto(QStringLiteral("Interés capitalizado no debe ser mayor a 0.00"));
        }
        if (Monto(d.sAcogido) < Moneda::DesdeEntero(5))
            CancelaMonto(QStringLiteral("Debe registrar monto acogido mayor o igual a 5 soles"));
        if (Monto(d.sAcogido) == Monto(d.sTotalAlcor)
            && platform::messageBox(QStringLiteral("Se ha detectado que la deuda según ALCOR es igual a la deuda "
                                                   "que está acogiendo, ¿Desea continuar?"),
                                    Question | YesNo, sTitulo_)
                   == No)
            throw Cancelacion{nCodigo_};
    }

    void EscribeDeuda(Recordset& rs)
    {
        rs.field(QStringLiteral("ind_acog")).setValue(d.nAcoge);
        rs.field(QStringLiteral("ind_conf")).setValue(d.nAcoge == 2 ? 0 : d.nConforme);
        rs.field(QStringLiteral("mto_tributo_c")).setValue(Formato(d.sTributo, kEntero));
        rs.field(QStringLiteral("mto_int_cap_c")).setValue(Formato(d.sInteresCap, kDecimal));
        rs.field(QStringLiteral("mto_int_c")).setValue(Formato(d.sInteres, kDecimal));
        rs.field(QStringLiteral("mto_act_c")).setValue(Formato(d.sAcogido, kEntero));
        rs.field(QStringLiteral("cnumero")).setValue(FormateaCampo(rs, 9));
        rs.update();
    }

    void EscribeClave(Recordset& rs, int nMotivo) const
    {
        const ClaveDeclaracion clave{d.nTipDoc, d.sDocId, sPeriodo, nEntidad, {}};
        clave.Escribe(rs);
        rs.field(QStringLiteral("Ind_tip_deu")).setValue(d.sIndTipDeu);
        rs.field(QStringLiteral("per_doc")).setValue(d.sPerDoc);
        rs.field(QStringLiteral("cod_tri")).setValue(d.sCodTri);
        rs.field(QStringLiteral("num_doc")).setValue(d.sNumDoc);
        rs.field(QStringLiteral("cod_for")).setValue(d.sCodFor);
        rs.field(QStringLiteral("cod_motivo")).setValue(nMotivo);
    }

    // The eight evidence values, in column order from num_sust to fec_pago.
    using Evidencia = std::array<QString, 8>;

    QList<Evidencia> EvidenciasDe(int nMotivo) const
    {
        const QString sFechaVacia = QStringLiteral("01/01/1901");
        const auto una = [&](const QString& sForm, const QString& sOrden, const QString& sRes, const QString& sExp) {
            return QList<Evidencia>{{QStringLiteral("1"), sForm, sOrden, sRes, QStringLiteral("0"), sExp,
                                     QStringLiteral("-"), sFechaVacia}};
        };
        const QString s0 = QStringLiteral("0");
        switch (nMotivo) {
        case 1: {
            QList<Evidencia> filas;
            for (int i = 0; i < d.pagos.size(); ++i) {
                const QString& sEntrada = d.pagos.at(i);
                const QString sOrden = sEntrada.mid(5, 13).trimmed();
                filas.append({QString::number(i + 1), sEntrada.left(5).trimmed(), sOrden.isEmpty() ? s0 : sOrden,
                              s0, s0, s0, QStringLiteral("-"), sEntrada.right(10).trimmed()});
            }
            return filas;
        }
        case 2: return una(d.sFormMotivo2, d.sOrdenMotivo2.isEmpty() ? s0 : d.sOrdenMotivo2, s0, s0);
        case 3: return una(s0, s0, s0, d.sNumExp);
        case 4: return una(s0, s0, d.sNumRes, s0);
        case 5: return una(d.sFormMotivo5, d.sOrdenMotivo5, s0, s0);
        case 6: return una(s0, s0, QString(), s0);
        default: return {};
        }
    }

    void EscribeMotivo(int nMotivo)
    {
        const QString sBorra = QStringLiteral(" WHERE ") + kCondicionMotivo + QStringLiteral(" AND cod_motivo = ?");
        const QVariantList params = ParametrosMotivo(d) << nMotivo;
        oBaseDatos->execute(QStringLiteral("DELETE FROM TMP_F0913MOTIVO") + sBorra, params);
        oBaseDatos->execute(QStringLiteral("DELETE FROM TMP_F0913SUSTEN") + sBorra, params);
        if (!Marcado(nMotivo))
            return;

        auto rsMotivo = oBaseDatos->openRecordset(QStringLiteral("SELECT * FROM TMP_F0913MOTIVO WHERE 1 = 0"), {},
                                                  RecordsetType::Dynaset);
        rsMotivo->addNew();
        EscribeClave(*rsMotivo, nMotivo);
        rsMotivo->field(QStringLiteral("cnumero")).setValue(FormateaCampo(*rsMotivo, 8));
        rsMotivo->update();

        static const QStringList columnas = {"num_sust", "cod_formulario", "num_orden", "num_res",
                                             "tip_impug", "num_exp",        "des_otros", "fec_pago"};
        auto rsSusten = oBaseDatos->openRecordset(QStringLiteral("SELECT * FROM TMP_F0913SUSTEN WHERE 1 = 0"), {},
                                                  RecordsetType::Dynaset);
        for (const Evidencia& evidencia : EvidenciasDe(nMotivo)) {
            rsSusten->addNew();
            EscribeClave(*rsSusten, nMotivo);
            for (int i = 0; i < columnas.size(); ++i)
                rsSusten->field(columnas.at(i)).setValue(ValorEvidencia(evidencia.at(i)));
            rsSusten->field(QStringLiteral("cnumero")).setValue(FormateaCampo(*rsSusten, 10));
            rsSusten->update();
        }
    }

    DeudaRevisada& d;
    QString sTitulo_;
    quint8 nCodigo_ = codigoConciliacion::Ninguno;
};

// One try at the save: the checks, then the writes in their own
// transaction, which a database error rolls back whole. The transaction
// takes the database's write lock only once every question is answered.
ResultadoConciliacion IntentaConciliacion(DeudaRevisada& deuda, const QString& sTitulo)
{
    Conciliacion conciliacion(deuda, sTitulo);
    try {
        conciliacion.Verifica();
        EnTransaccion([&] { conciliacion.Graba(); });
        return {true, 0};
    } catch (const Cancelacion& cancelacion) {
        const QString sMensaje = MensajeCodigo(cancelacion.nCodigo);
        if (!sMensaje.isEmpty())
            platform::messageBox(sMensaje, Critical | OkOnly, sTitulo);
        return {false, conciliacion.nMotivoFoco};
    }
}

} // namespace

ResultadoConciliacion GrabaConciliacion(DeudaRevisada& deuda, const QString& sTitulo)
{
    // Nothing is kept of a try that failed: the dialog stays open with the
    // user's answers.
    return EjecutaGrabacion(kRutina, sTitulo, [&] { return IntentaConciliacion(deuda, sTitulo); },
                            [] { return ResultadoConciliacion{}; });
}

bool ContinuaConSiguiente(ServiciosFrm913& frm, int nTab, const QString& sTitulo)
{
    const int nPosicion = frm.Dat(nTab).absolutePosition();
    const int nFilas = frm.Dat(nTab).recordCount();
    frm.CargaTabIndex(nTab);
    QLineEdit& txtTotal = frm.txtmtototal(nTab);
    if (txtTotal.text() != QLatin1String("0"))
        frm.CalculaMontoTotal(txtTotal, nTab);
    if (nPosicion + 1 < nFilas) {
        if (platform::messageBox(
                QStringLiteral("¿Desea continuar con la actualización del siguiente registro de Deudas?"),
                Question | YesNo, sTitulo)
            != Yes)
            return false;
        frm.PosicionaDat(nTab, nPosicion + 1);
        return true;
    }
    frm.PosicionaDat(nTab, nPosicion);
    platform::messageBox(QStringLiteral("La información se actualizó satisfactoriamente"), Information | OkOnly,
                         sTitulo);
    return false;
}

QString EntradaPago(const QString& sFormulario, const QString& sOrden, const QString& sFecha)
{
    return sFormulario + QString(4, u' ') + oUtil->padLeft(sOrden, 9, u' ') + QString(8, u' ') + sFecha;
}
