#include "formulario/subsystems/review/DeudaNoNotificada.h"

#include "formulario/core/ClaveDeclaracion.h"
#include "formulario/core/Fileproc.h"
#include "formulario/core/Formato.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Moneda.h"
#include "formulario/core/Registros.h"
#include "formulario/core/modGen02.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/core/ControlValor.h"
#include "formulario/subsystems/request/DatosDeclarante.h"
#include "formulario/subsystems/request/Frm913Servicios.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/utility.h"

#include <QDateTime>
#include <map>

using namespace platform::mb;

namespace {

const QString kNoAcogible = QStringLiteral("Error en el Nº de resolución. Tipo de resolución no acogible.");
const QString kTituloError = QStringLiteral("Error");

// How a refusal is shown: by the core's error box titled "Error", or in a box
// titled with the dialog's caption.
enum class Caja { Error, Critica, Informativa };

struct Refusal {
    QString sMensaje;
    Caja eCaja;
    CampoDeuda eCampo;
    bool bCajaEnCero = false;
};

// The stored form YYYYMM of a period MM/YYYY.
QString AAAAMM(const QString& sPeriodoMMAAAA)
{
    return sPeriodoMMAAAA.right(4) + sPeriodoMMAAAA.left(2);
}

bool EsNumero(const QString& sTexto)
{
    return Moneda::Convierte(sTexto).has_value();
}

Moneda Valor(const QString& sTexto)
{
    return Moneda::Convierte(sTexto).value_or(Moneda());
}

// The resolution number against the entity: the message of the first rule it
// breaks, or nothing.
std::optional<QString> FallaNumeroResolucion(const DeudaNoNotificada& deuda)
{
    const QString& sNumero = deuda.sNumDocumento;
    const QString sOficina = sNumero.mid(3, 3);
    const bool bMulta = deuda.sTipoDocumento == QLatin1String("017004");
    switch (sNumero.size()) {
    case 13:
        if (nEntidad == 2) {
            if (sOficina != QLatin1String("104") && sOficina != QLatin1String("017"))
                return kNoAcogible;
            if (sOficina == QLatin1String("104") && !bMulta)
                return QStringLiteral("Tipo de Resolución errado, para el número de documento ingresado corresponde "
                                      "seleccionar el tipo de resolución 017004");
            return std::nullopt;
        }
        if (nEntidad == 3) {
            if (sOficina != QLatin1String("114") && sOficina != QLatin1String("017"))
                return kNoAcogible;
            if (sOficina == QLatin1String("114") && !bMulta)
                return QStringLiteral(
                    "Tipo de Resolución errado, corresponde seleccionar el tipo de resolución 017004");
            return std::nullopt;
        }
        if (sOficina != QLatin1String("017"))
            return kNoAcogible;
        return std::nullopt;
    case 9:
        if (sNumero.at(3) != u'4')
            return kNoAcogible;
        return std::nullopt;
    default:
        return kNoAcogible;
    }
}

// The checks of an amount box: empty or not a number, below `minimo` (or at
// or below it when `bEstricto`), and the core's digit count.
std::optional<Refusal> FallaMonto(const QString& sMonto, CampoDeuda eCampo, const QString& sFalta,
                                  const QString& sIncorrecto, bool bEstricto, const QString& sTitulo)
{
    if (sMonto.trimmed().isEmpty() || !EsNumero(sMonto))
        return Refusal{sFalta, Caja::Error, eCampo, true};
    const Moneda monto = Valor(sMonto);
    if (bEstricto ? monto <= Moneda() : monto < Moneda())
        return Refusal{sIncorrecto, Caja::Critica, bEstricto ? CampoDeuda::Ninguno : eCampo};
    if (!ValidaTeclaMonto(QuitaFormatoMonto(QString(sMonto)), 10, 2, false, sTitulo))
        return Refusal{QString(), Caja::Critica, eCampo}; // the core has shown its own message
    return std::nullopt;
}

std::optional<Refusal> FallaIdentificacion(const DeudaNoNotificada& deuda)
{
    if (deuda.sPeriodo == QLatin1String("__/____"))
        return Refusal{QStringLiteral("Debe registrar el periodo"), Caja::Error, CampoDeuda::Periodo};
    const bool bPeriodoValido = deuda.sPeriodo.startsWith(QLatin1String("14"))
        ? ValidaPerMensual(deuda.sPeriodo, QStringLiteral("14/1991"), QStringLiteral("14/1997"), 4)
        // The open declaration's own period: the picker's copy of it is not set
        // for a new declaration and may be another declaration's.
        : ValidaPerMensual(deuda.sPeriodo, QStringLiteral("01/1992"), PeriodoMMAAAA(sPeriodo), 0);
    if (!bPeriodoValido)
        return Refusal{QStringLiteral("El periodo no es válido"), Caja::Error, CampoDeuda::Periodo};
    if (deuda.sTipoDocumento.isEmpty())
        return Refusal{QStringLiteral("Debe seleccionar el tipo de resolución"), Caja::Error,
                       CampoDeuda::TipoDocumento};
    const bool bReaf = deuda.sTipoDocumento == QLatin1String("017501")
        || deuda.sTipoDocumento == QLatin1String("017504");
    if (bReaf && deuda.PeriodoAAAAMM().toInt() < 200507)
        return Refusal{QStringLiteral("El periodo para resoluciones del  REAF debe ser mayor o igual a Julio de 2005"),
                       Caja::Error, CampoDeuda::TipoDocumento};
    if (deuda.sNumDocumento.trimmed().isEmpty())
        return Refusal{QStringLiteral("Debe ingresar un Nº de resolución válido para el tributo seleccionado."),
                       Caja::Critica, CampoDeuda::NumDocumento};
    if (ObtieneFuncionParam(QStringLiteral("874"), u'0' + deuda.sNumDocumento.left(3), 20, 1).trimmed().isEmpty())
        return Refusal{kNoAcogible, Caja::Critica, CampoDeuda::NumDocumento};
    if (const std::optional<QString> sFalla = FallaNumeroResolucion(deuda))
        return Refusal{*sFalla, Caja::Critica, CampoDeuda::NumDocumento};
    if (Existe_Deuda(deuda, QStringLiteral("TMP_F0913DEUDAS"), QStringLiteral("VALORES")))
        return Refusal{QStringLiteral("La resolución ya se encuentra registrado en la opción resoluciones"),
                       Caja::Critica, CampoDeuda::Periodo};
    return std::nullopt;
}

std::optional<Refusal> FallaRuc(const DeudaNoNotificada& deuda)
{
    const QString sRuc = deuda.sRuc.trimmed();
    if (sRuc.isEmpty())
        return Refusal{QStringLiteral("Debe registrar el RUC de la empresa absorvida y/o fusionada."), Caja::Critica,
                       CampoDeuda::Ruc};
    if (sRuc.size() != 11)
        return Refusal{QStringLiteral("El RUC de la empresa absorvida y/o fusionada debe ser de 11 dígitos."),
                       Caja::Critica, CampoDeuda::Ruc};
    if (!oUtil->isValidRuc(sRuc))
        return Refusal{QStringLiteral("El RUC de la empresa absorvida y/o fusionada no es válido."), Caja::Critica,
                       CampoDeuda::Ruc};
    if (deuda.sRuc == sRucDeclarante)
        return Refusal{
            QStringLiteral("El RUC de la empresa absorvida y/o fusionada no debe ser igual al RUC del declarante."),
            Caja::Critica, CampoDeuda::Ruc};
    return std::nullopt;
}

std::optional<Refusal> FallaMontos(const DeudaNoNotificada& deuda, const QString& sTitulo)
{
    if (auto falla = FallaMonto(deuda.sTributo, CampoDeuda::Tributo,
                                QStringLiteral("Debe registrar el monto del tributo adeudado"),
                                QStringLiteral("El monto de tributo insoluto debe ser mayor a cero."), true, sTitulo))
        return falla;
    if (!InteresCapitalizadoCerrado(deuda.sPeriodo)) {
        if (auto falla = FallaMonto(
                deuda.sInteresCap, CampoDeuda::InteresCap,
                QStringLiteral("Debe registrar el interés capitalizado del tributo adeudado"),
                QStringLiteral("Debe registrar el interés capitalizado del tributo adeudado correctamente"), false,
                sTitulo))
            return falla;
    }
    if (auto falla = FallaMonto(
            deuda.sInteres, CampoDeuda::Interes,
            QStringLiteral("Debe registrar el interés no capitalizado del tributo adeudado"),
            QStringLiteral("Debe registrar el interés no capitalizado del tributo adeudado correctamente"), false,
            sTitulo))
        return falla;
    if (Valor(deuda.sTotal) < Moneda::DesdeEntero(5))
        return Refusal{QStringLiteral("El monto acogido debe ser mayor o igual a 5 soles."), Caja::Critica,
                       CampoDeuda::Ninguno};
    return std::nullopt;
}

std::optional<Refusal> PrimeraFalla(const DeudaNoNotificada& deuda, bool bNueva, const QString& sTitulo)
{
    if (bNueva) {
        if (auto falla = FallaIdentificacion(deuda))
            return falla;
    }
    if (HayDeudasPersonaNatural(deuda.sDeclarante))
        return Refusal{QStringLiteral("No se puede combinar deudas de persona natural generadoras de rentas de "
                                      "capital y/o trabajo (tributos 3071, 3072, 3073, 3074) con el resto de deudas. "
                                      "Por favor, elija deudas de un solo tipo en la solicitud."),
                       Caja::Informativa, CampoDeuda::Ninguno};
    if (auto falla = FallaRuc(deuda))
        return falla;
    return FallaMontos(deuda, sTitulo);
}

void Muestra(const Refusal& falla, const QString& sTitulo)
{
    switch (falla.eCaja) {
    case Caja::Error: MuestraError(falla.sMensaje, kTituloError); break;
    case Caja::Critica:
        if (!falla.sMensaje.isEmpty())
            platform::messageBox(falla.sMensaje, Critical, sTitulo);
        break;
    case Caja::Informativa: platform::messageBox(falla.sMensaje, Information, sTitulo); break;
    }
}

// The work table's row of the debt's period, tribute, number and type.
std::unique_ptr<platform::Recordset> AbreFila(const DeudaNoNotificada& deuda)
{
    sSQL = QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? AND Ind_tip_deu = '05' "
                          "AND per_doc = ? AND cod_tri = ? AND num_doc = trim(?) AND cod_for = '0' "
                          "AND cod_tip_doc = ? AND cod_tri_aso = '000000' ");
    return oBaseDatos->openRecordset(sSQL,
                                     {deuda.sDeclarante, nEntidad, deuda.PeriodoAAAAMM(), deuda.CodigoTributo(),
                                      deuda.sNumDocumento, deuda.sTipoDocumento},
                                     platform::RecordsetType::Dynaset);
}

// A date text "dd/mm/yyyy", with or without its time, as a date; Null when
// there is none, since the date column takes no empty text.
QVariant FechaGuardada(const QString& sFecha)
{
    for (const QString& sFormato : {QStringLiteral("dd/MM/yyyy hh:mm:ss"), QStringLiteral("dd/MM/yyyy")}) {
        const QDateTime fecha = QDateTime::fromString(sFecha.trimmed(), sFormato);
        if (fecha.isValid())
            return fecha;
    }
    return QVariant();
}

// The column takes no empty text: none is stored as Null.
QVariant TextoONulo(const QString& sTexto)
{
    return sTexto.isEmpty() ? QVariant() : QVariant(sTexto);
}

// The columns that a change rewrites too: the amounts and the merged company.
void EscribeMontos(platform::Recordset& rs, const DeudaNoNotificada& deuda)
{
    const QString sDecimales = QStringLiteral("#########0.00");
    rs.field(QStringLiteral("mto_tributo_c")).setValue(Formato(deuda.sTributo, sDecimales));
    rs.field(QStringLiteral("mto_int_cap_c")).setValue(Formato(deuda.sInteresCap, sDecimales));
    rs.field(QStringLiteral("mto_int_c")).setValue(Formato(deuda.sInteres, sDecimales));
    rs.field(QStringLiteral("mto_act_c")).setValue(Formato(deuda.sTotal, QStringLiteral("#########0")));
    rs.field(QStringLiteral("Num_ord_dj")).setValue(deuda.sRuc.trimmed());
}

void EscribeFilaNueva(platform::Recordset& rs, const DeudaNoNotificada& deuda, ServiciosFrm913& frm)
{
    ClaveDeclaracionAbierta(6, deuda.sDeclarante).Escribe(rs);
    const std::map<QString, QVariant> valores = {
        {QStringLiteral("ind_tip_deu"), QStringLiteral("05")},
        {QStringLiteral("per_doc"), deuda.PeriodoAAAAMM()},
        {QStringLiteral("cod_tri"), deuda.CodigoTributo()},
        {QStringLiteral("num_cuo"), 0},
        {QStringLiteral("num_doc"), deuda.sNumDocumento},
        {QStringLiteral("cod_tip_doc"), deuda.sTipoDocumento},
        {QStringLiteral("cod_for"), QStringLiteral("0")},
        {QStringLiteral("cod_tri_aso"), QStringLiteral("000000")},
        {QStringLiteral("ind_ver_deu"), QStringLiteral("00")},
        {QStringLiteral("fec_des_deu"), FechaGuardada(Retorna_Columna(frm, QStringLiteral("fec_des_deu")))},
        {QStringLiteral("cod_for_dj"), QStringLiteral("0")},
        {QStringLiteral("Fec_ult_cap"), QDateTime(QDate(1901, 1, 1), QTime(0, 0))},
        {QStringLiteral("num_pro"), TextoONulo(Retorna_Columna(frm, QStringLiteral("Num_pro")))},
        {QStringLiteral("mto_tributo_s"), QStringLiteral("0.00")},
        {QStringLiteral("mto_int_cap_s"), QStringLiteral("0.00")},
        {QStringLiteral("mto_int_s"), QStringLiteral("0.00")},
        {QStringLiteral("mto_act_s"), QStringLiteral("0.00")},
        {QStringLiteral("ind_acog"), 1},
        {QStringLiteral("ind_conf"), 1},
        {QStringLiteral("ind_valor"), 1},
        {QStringLiteral("ind_deuda_dj"), 0},
    };
    for (const auto& [sColumna, vValor] : valores)
        rs.field(sColumna).setValue(vValor);
    EscribeMontos(rs, deuda);
}

// One try at storing the row; a duplicate key or a missing row is an outcome,
// any other database error is left to the caller.
GrabacionDeuda IntentaGrabar(const DeudaNoNotificada& deuda, bool bNueva, ServiciosFrm913& frm)
{
    auto rs = AbreFila(deuda);
    if (bNueva) {
        rs->addNew();
        EscribeFilaNueva(*rs, deuda, frm);
    } else {
        if (rs->eof())
            return GrabacionDeuda::NoEncontrada;
        rs->edit();
        EscribeMontos(*rs, deuda);
    }
    rs->field(QStringLiteral("cNumero")).setValue(FormateaCampo(*rs, bNueva ? 9 : 10));
    try {
        rs->update();
    } catch (const platform::DbError& err) {
        if (rs->editing())
            rs->cancelUpdate();
        if (err.number() != platform::dberr::DuplicateKey)
            throw;
        return GrabacionDeuda::Duplicada;
    }
    return GrabacionDeuda::Grabada;
}

// The value of one column in the first row of a grid's row set, when it has
// rows and the value counts.
QString ColumnaPrimeraFila(ServiciosFrm913& frm, int nTab, const QString& sColumna)
{
    platform::Recordset& rs = frm.Dat(nTab);
    if (rs.recordCount() < 1)
        return {};
    rs.moveFirst();
    const QString sValor = rs.field(sColumna).text();
    return sValor == QLatin1String("__/__/____") ? QString() : sValor;
}

} // namespace

QString DeudaNoNotificada::PeriodoAAAAMM() const
{
    return AAAAMM(sPeriodo);
}

QString DeudaNoNotificada::CodigoTributo() const
{
    return FormateaCodigo(TributoDeDocumento(sTipoDocumento, nEntidad), true);
}

QString TributoDeDocumento(const QString& sTipoDocumento, int nEntidadDeuda)
{
    // Per entity 1, 2, 3, 5, 8: the tribute of a resolution and of a REAF one.
    static const std::map<int, std::pair<const char*, const char*>> tributos = {
        {1, {"8021", "8029"}}, {2, {"5216", "5237"}}, {3, {"5315", "5331"}},
        {5, {"5031", "5059"}}, {8, {"7201", "7202"}},
    };
    const auto tributo = tributos.find(nEntidadDeuda);
    if (tributo == tributos.end())
        return {};
    if (sTipoDocumento == QLatin1String("017004") || sTipoDocumento == QLatin1String("017001"))
        return QString::fromLatin1(tributo->second.first);
    if (sTipoDocumento == QLatin1String("017501") || sTipoDocumento == QLatin1String("017504"))
        return QString::fromLatin1(tributo->second.second);
    return {};
}

bool InteresCapitalizadoCerrado(const QString& sPeriodo)
{
    return !sPeriodo.contains(u'_')
        && (sPeriodo.right(4) >= QLatin1String("2006") || sPeriodo == QLatin1String("12/2005"));
}

QString MontoAcogido(const QString& sTributo, const QString& sInteresCap, const QString& sInteres)
{
    const QStringList montos = {sTributo, sInteresCap, sInteres};
    if (std::all_of(montos.begin(), montos.end(), [](const QString& s) { return s.isEmpty(); }))
        return {};
    Moneda total;
    for (const QString& sMonto : montos)
        total += Valor(sMonto.isEmpty() ? QStringLiteral("0") : sMonto);
    return Formato(Formato(total.Formatea(Moneda::kDecimales, false), QStringLiteral("#,###,###,##0")),
                   QStringLiteral("#,###,###,##0.00"));
}

bool ValidaPerMensual(const QString& sPeriodo, const QString& sPrimero, const QString& sUltimo, int nTipo)
{
    if (sPeriodo.contains(u'_'))
        return false;
    const QString sIngresado = AAAAMM(sPeriodo);
    if (sIngresado.toLongLong() <= 0 || sIngresado < AAAAMM(sPrimero) || sIngresado > AAAAMM(sUltimo))
        return false;
    const int nMes = sIngresado.right(2).trimmed().toInt();
    switch (nTipo) {
    case 0: return nMes >= 1 && nMes <= 12;
    case 1: return nMes >= 1 && nMes <= 13;
    case 2: return nMes == 13;
    default: return true;
    }
}

bool Existe_Deuda(const DeudaNoNotificada& deuda, const QString& sTabla, const QString& sOpcion)
{
    Q_UNUSED(sTabla);
    sSQL = QStringLiteral("SELECT * FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND Semana = ? ");
    QVariantList params = {deuda.sDeclarante, nEntidad};
    if (sOpcion == QLatin1String("VALORES")) {
        sSQL += QStringLiteral("AND Ind_tip_deu in ('01', '04') AND per_doc = ? AND cod_tri = ? "
                               "AND num_doc = trim(?) AND cod_for = '0' AND cod_tip_doc = ? ");
        params << deuda.PeriodoAAAAMM() << deuda.CodigoTributo() << deuda.sNumDocumento << deuda.sTipoDocumento;
    }
    auto rs = oBaseDatos->openRecordset(sSQL, params);
    return !rs->eof() && !rs->bof();
}

QString Retorna_Columna(ServiciosFrm913& frm, const QString& sColumna)
{
    const QString sNombre = sColumna.toUpper();
    if (sNombre != QLatin1String("FEC_DES_DEU") && sNombre != QLatin1String("NUM_PRO"))
        return {};
    for (int nTab : {1, 2}) {
        const QString sValor = ColumnaPrimeraFila(frm, nTab, sColumna);
        if (!sValor.isEmpty())
            return sValor;
    }
    return {};
}

std::optional<RechazoDeuda> ValidaDeuda(const DeudaNoNotificada& deuda, bool bNueva, const QString& sTitulo)
{
    const std::optional<Refusal> falla = PrimeraFalla(deuda, bNueva, sTitulo);
    if (!falla)
        return std::nullopt;
    Muestra(*falla, sTitulo);
    return RechazoDeuda{falla->eCampo, falla->bCajaEnCero};
}

GrabacionDeuda GrabaDeuda(const DeudaNoNotificada& deuda, bool bNueva, ServiciosFrm913& frm, const QString& sTitulo)
{
    const GrabacionDeuda resultado = EjecutaGrabacion(
        QStringLiteral("GrabaDatos"), sTitulo, [&] { return IntentaGrabar(deuda, bNueva, frm); },
        [] { return GrabacionDeuda::Detenida; });
    switch (resultado) {
    case GrabacionDeuda::Grabada:
        platform::messageBox(QStringLiteral("La información se ") + (bNueva ? QStringLiteral("grabó")
                                                                            : QStringLiteral("modificó"))
                                 + QStringLiteral(" con éxito"),
                             Information, sTitulo);
        break;
    case GrabacionDeuda::Duplicada:
        platform::messageBox(QStringLiteral("La información que quiere actualizar ya se encuentra registrada."),
                             Exclamation, sTitulo);
        break;
    case GrabacionDeuda::NoEncontrada:
        platform::messageBox(QStringLiteral("Error de integridad. No se encontró el registro a actualizar."),
                             Critical, sTitulo);
        break;
    case GrabacionDeuda::Detenida: break;
    }
    return resultado;
}
