#include "formulario/subsystems/request/ValidaDeclaracion.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Moneda.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/subsystems/request/PlanPagos.h"
#include "platform/database.h"

namespace {

const QString kRutina = QStringLiteral("ValidaTodo");
const QString kFormatoLimite = QStringLiteral("############0");

const QString kCuotasFaltan = QStringLiteral(": Debe ingresar el número de cuotas de fraccionamiento.");
const QString kUnaCuota = QStringLiteral(": El número de cuotas de fraccionamiento debe ser mayor a 1.");
const QString kMesesFaltan = QStringLiteral(": Debe ingresar el número de meses de aplazamiento.");
const QString kCincoPorCiento = QStringLiteral("debe ser mayor o igual al  5% de la UIT vigente, es decir mayor o "
                                               "igual a S/. ");

bool Vacia(const QString& sTexto)
{
    return sTexto.trimmed().isEmpty();
}

// The amount a box holds, as a whole number; an empty box, or a text that is
// not a number, counts 0.
Moneda Valor(const QString& sTexto)
{
    return Moneda::Convierte(Formato(sTexto, QStringLiteral("##############0"))).value_or(Moneda());
}

int Entero(const QString& sTexto)
{
    return EnteroDeTexto(sTexto).value_or(0);
}

// True when the amount lies below UIT / nDivisor, compared exactly.
bool BajoFraccionUit(Moneda monto, Moneda uit, int nDivisor)
{
    return monto.Unidades() * nDivisor < uit.Unidades();
}

QString LimiteUit(Moneda uit, int nDivisor)
{
    return Formato(Moneda::DesdeUnidades(uit.Unidades() / nDivisor).Formatea(Moneda::kDecimales, false),
                   kFormatoLimite);
}

class Validacion {
public:
    Validacion(quint8 nModo, const DeclaracionAValidar& datos, int nArchivoMens)
        : nModo_(nModo), datos_(datos), nArchivoMens_(nArchivoMens)
    {
    }

    bool bSeleccionaModalidad = false;

    // False when a finding ends the checks (mode 2).
    bool Ejecuta()
    {
        if (datos_.clave.nTipoDoc == 6 && ExistenDeudasSinDecidir()
            && Hallazgo(QStringLiteral(
                "Debe pronunciarse sobre todas las deudas informadas por ALCOR en el rubro resoluciones.")))
            return false;
        if (datos_.sCodTriGrilla1 == QLatin1String("0") && datos_.nOtrasResoluciones == 0) {
            // Reported, but in the silent mode it does not stop the checks.
            const QString sHallazgo = QStringLiteral("Debe ingresar al menos un registro en la opción otras resoluciones");
            if (nModo_ == 2) {
                sMensaje = sHallazgo;
                nInconsistencia = 1;
                bSinHallazgos_ = false;
                bSeleccionaModalidad = true;
            } else {
                Hallazgo(sHallazgo);
            }
        }
        const std::optional<BloqueEntidad> bloque = BloqueDeEntidad(datos_.clave.nEntidad);
        if (!bloque)
            return true;
        b_ = *bloque;
        uit_ = EjecutaConReintento(kRutina, [] { return ObtieneUIT(); });
        return DeudaYModalidad() && TipoGarantia() && CuotaInicialMinima() && MesesAplazamiento() && CuotasMaximas()
            && CuotaInicialDada();
    }

    bool SinHallazgos() const { return bSinHallazgos_; }

private:
    QString Casilla(int nCasilla) const { return datos_.casillas.value(nCasilla); }

    // Records a finding; true when it ends the checks.
    bool Hallazgo(const QString& sHallazgo)
    {
        sMensaje = sHallazgo;
        nInconsistencia = 1;
        bSinHallazgos_ = false;
        if (nModo_ == 2)
            return true;
        if (nArchivoMens_ != 0)
            EscribeLinea(nArchivoMens_, sHallazgo);
        return false;
    }

    bool Hallazgo(int nCasilla, const QString& sSufijo)
    {
        return Hallazgo(QStringLiteral("Casilla ") + QString::number(nCasilla) + sSufijo);
    }

    bool ExistenDeudasSinDecidir()
    {
        sSQL = QStringLiteral("SELECT COUNT(*) FROM TMP_F0913DEUDAS WHERE doc_id_d = ? AND semana = ? "
                              "AND Ind_tip_deu IN ('01', '04') AND (ind_acog IS NULL OR ind_acog = 0 "
                              "OR (ind_acog = 1 AND ind_conf = 2 AND Trim(Nz(mto_act_c, '')) = ''))");
        return EjecutaConReintento(kRutina, [&] {
                   return oBaseDatos->scalar(sSQL, {datos_.clave.sNumDoc, datos_.clave.nEntidad}).toInt();
               })
            > 0;
    }

    bool MenosDelDiezPorCiento()
    {
        return Hallazgo(b_.nCasillaBase, QStringLiteral(": La deuda acogida debe ser mayor o igual al 10% de la UIT "
                                                        "vigente, es decir mayor o igual a S/. ")
                                             + LimiteUit(uit_, 10) + QStringLiteral(" nuevos soles."));
    }

    bool DeudaYModalidad()
    {
        const int b = b_.nCasillaBase;
        const QString sDeuda = Casilla(b);
        if (sDeuda.isEmpty())
            return !Hallazgo(b, QStringLiteral(": La deuda acogida debe ser mayor a cero "));
        if (!Vacia(sDeuda) && Valor(sDeuda) <= Moneda()
            && Hallazgo(b, QStringLiteral(": La deuda acogida debe ser mayor a cero.")))
            return false;
        if (BajoFraccionUit(Valor(sDeuda), uit_, 10) && MenosDelDiezPorCiento())
            return false;
        const QString sModalidad = Casilla(b_.Modalidad());
        if (sModalidad.isEmpty())
            return !Hallazgo(b_.Modalidad(), QStringLiteral(": Indique la Modalidad de Pago."));
        if (sModalidad == QLatin1String("1"))
            return !(Vacia(Casilla(b_.Meses())) && Hallazgo(b_.Meses(), kMesesFaltan))
                && !(!Vacia(sDeuda) && BajoFraccionUit(Valor(sDeuda), uit_, 10) && MenosDelDiezPorCiento());
        if (sModalidad == QLatin1String("2") && Vacia(Casilla(b_.Meses())) && Hallazgo(b_.Meses(), kMesesFaltan))
            return false;
        if (sModalidad == QLatin1String("0") || sModalidad == QLatin1String("2"))
            return Cuotas();
        return true;
    }

    bool Cuotas()
    {
        const QString sCuotas = Casilla(b_.Cuotas());
        if (Vacia(sCuotas) && Hallazgo(b_.Cuotas(), kCuotasFaltan))
            return false;
        if (sCuotas.trimmed() == QLatin1String("1") && Hallazgo(b_.Cuotas(), kUnaCuota))
            return false;
        const QString sMonto = Casilla(b_.MontoCuota());
        return !(!Vacia(sMonto) && BajoFraccionUit(Valor(sMonto), uit_, 20)
                 && Hallazgo(b_.MontoCuota(), QStringLiteral(": El monto de la cuota de fraccionamiento ")
                                                  + kCincoPorCiento + LimiteUit(uit_, 20)
                                                  + QStringLiteral(" nuevos soles.")));
    }

    bool TipoGarantia()
    {
        return !(Casilla(b_.Garantia()) == QLatin1String("SI") && !datos_.bTipoGarantia
                 && Hallazgo(QStringLiteral("Debe consignar el tipo de garantía de deuda.")));
    }

    bool CuotaInicialMinima()
    {
        const int c = b_.nCasillaCuotaInicial;
        if (sBuenContrib != QLatin1String("0") || Vacia(Casilla(c)) || Vacia(Casilla(b_.nCasillaBase))
            || Vacia(Casilla(b_.Modalidad())))
            return true;
        const Moneda minimo = Moneda::Convierte(CalculaCuotaInicial2(Casilla(b_.nCasillaBase), uit_,
                                                                     Casilla(b_.Modalidad()), Casilla(b_.Cuotas()),
                                                                     Casilla(b_.Meses())))
                                  .value_or(Moneda());
        const Moneda cuota = Valor(Casilla(c));
        if (cuota < minimo)
            return !Hallazgo(c, QStringLiteral(": El monto de la cuota de acogimiento debe ser mayor o igual al monto "
                                               "mínimo, es decir mayor o igual a S/.")
                                    + Formato(minimo.Formatea(Moneda::kDecimales, false), kFormatoLimite)
                                    + QStringLiteral(" nuevos soles"));
        return !(cuota > Moneda() && BajoFraccionUit(cuota, uit_, 20)
                 && Hallazgo(c, QStringLiteral(": El monto de la cuota de acogimiento ") + kCincoPorCiento
                                    + LimiteUit(uit_, 20) + QStringLiteral(" nuevos soles.")));
    }

    bool MesesAplazamiento()
    {
        const QString sMeses = Casilla(b_.Meses());
        if (Casilla(b_.Modalidad()) != QLatin1String("2") || Vacia(sMeses))
            return true;
        const int nLimite = Vacia(Casilla(b_.nCasillaBase)) ? 0 : 6;
        return !(Entero(sMeses) > nLimite
                 && Hallazgo(b_.Meses(), QStringLiteral(": Los meses de aplazamiento deben ser menores a (meses "
                                                        "mínimo) meses")));
    }

    bool CuotasMaximas()
    {
        const QString sCuotas = Casilla(b_.Cuotas());
        return !(!Vacia(sCuotas) && !Vacia(Casilla(b_.nCasillaBase)) && !Vacia(Casilla(b_.Modalidad()))
                 && Entero(sCuotas) >= 73
                 && Hallazgo(b_.Cuotas(),
                             QStringLiteral(": El número de cuotas de fraccionamiento debe ser menor o igual a 72")));
    }

    bool CuotaInicialDada()
    {
        const int c = b_.nCasillaCuotaInicial;
        return !(Vacia(Casilla(c)) && Hallazgo(c, QStringLiteral(": Debe ingresar la cuota de acogimiento.")));
    }

    quint8 nModo_;
    const DeclaracionAValidar& datos_;
    int nArchivoMens_;
    bool bSinHallazgos_ = true;
    BloqueEntidad b_;
    Moneda uit_;
};

} // namespace

int AbreArchivoMens()
{
    sArchivo = sSysPath + QStringLiteral("Mens.txt");
    const int nArchivo = FreeFile();
    if (nArchivo == 0 || AbreNumero(nArchivo, sArchivo, modoArchivo::Salida) != 0)
        return 0;
    return nArchivo;
}

bool ValidaTodo(quint8 nModo, const DeclaracionAValidar& datos, int nArchivoMens, bool* bSeleccionaModalidad)
{
    sMensaje.clear();
    nInconsistencia = 0;
    Validacion validacion(nModo, datos, nArchivoMens);
    validacion.Ejecuta();
    if (bSeleccionaModalidad)
        *bSeleccionaModalidad = validacion.bSeleccionaModalidad;
    return validacion.SinHallazgos();
}

std::optional<bool> ValidaDeclaracion(const std::function<bool(int nArchivoMens)>& ValidaContForm1,
                                      const DeclaracionAValidar& datos)
{
    nGrabando = 0;
    nInconsistencia = 0;
    const int nArchivoMens = AbreArchivoMens();
    if (nArchivoMens == 0) {
        MensajeArchivoNoEscrito(sArchivo);
        return std::nullopt;
    }
    bool bLimpia = false;
    if (ValidaContForm1(nArchivoMens))
        bLimpia = ValidaTodo(0, datos, nArchivoMens);
    else
        nInconsistencia = 1;
    // Findings that did not all reach the file are not shown as if they had.
    if (CierraArchivo(nArchivoMens) != 0) {
        MensajeArchivoNoEscrito(sArchivo);
        return std::nullopt;
    }
    return bLimpia;
}
