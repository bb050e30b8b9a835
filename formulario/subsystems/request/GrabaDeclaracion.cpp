#include "formulario/subsystems/request/GrabaDeclaracion.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Transaccion.h"
#include "formulario/core/ControlValor.h"
#include "formulario/subsystems/request/PlanPagos.h"
#include "formulario/subsystems/request/TablasTrabajo.h"
#include "platform/database.h"

#include <QDate>

namespace {

constexpr int kParticionCabecera = 5;
constexpr int kParticionCasilla = 6;
constexpr int kCasillaFusion = 545;
const QString kSi = QStringLiteral("SI");
const QString kNo = QStringLiteral("NO");

bool EsCasillaTexto(int nCasilla)
{
    static const QList<int> casillas{2, 5, 7, 28, 541, 551, 561, 571, 581, 591, 593, 595, 596, 721, 790, 871};
    return casillas.contains(nCasilla);
}

bool EsCasillaGarantia(int nCasilla)
{
    for (const BloqueEntidad& bloque : BloquesEntidad()) {
        if (bloque.Garantia() == nCasilla)
            return true;
    }
    return false;
}

// A guarantee-required box read or written sets the process-wide flag.
void FijaGarantia(int nCasilla, const QString& sGuardado)
{
    if (!EsCasillaGarantia(nCasilla))
        return;
    const QString sValor = sGuardado.trimmed();
    if (sValor == QLatin1String("1") || sValor == kSi)
        sGarantia = QStringLiteral("1");
    else if (sValor == QLatin1String("0") || sValor == kNo)
        sGarantia = QStringLiteral("0");
}

QString NumeroCasilla(int nCasilla)
{
    return QString::number(nCasilla).rightJustified(3, u'0');
}

QString TablaCasillas()
{
    return bEnviadas ? QStringLiteral("HDET") : QStringLiteral("DET");
}

std::unique_ptr<platform::Recordset> AbreCasilla(const ClaveDeclaracion& clave, const QString& sCasilla)
{
    sSQL = QStringLiteral("SELECT * FROM ") + TablaCasillas() + QStringLiteral(" WHERE ") + clave.Condicion()
        + QStringLiteral(" AND casilla = ?");
    return oBaseDatos->openRecordset(sSQL, clave.Parametros() << sCasilla, platform::RecordsetType::Dynaset);
}

void EscribeCasilla(const ClaveDeclaracion& clave, const QString& sCasilla, const QString& sValor)
{
    if (sValor.trimmed().isEmpty())
        return;
    const std::unique_ptr<platform::Recordset> rs = AbreCasilla(clave, sCasilla);
    if (rs->eof()) {
        rs->addNew();
        clave.Escribe(*rs);
        (*rs)["Casilla"].setValue(sCasilla);
    } else {
        rs->edit();
    }
    const int nCasilla = sCasilla.toInt();
    const QString sGuardado = ValorGuardado(nCasilla, sValor);
    (*rs)["i_valor"].setValue(sGuardado);
    FijaGarantia(nCasilla, sGuardado);
    (*rs)["idcasilla"].setValue(QStringLiteral("01"));
    (*rs)["cNumero"].setValue(FormateaCampo(*rs, kParticionCasilla));
    rs->update();
}

void EscribeCasilla(const ClaveDeclaracion& clave, int nCasilla, const QString& sValor)
{
    EscribeCasilla(clave, NumeroCasilla(nCasilla), sValor);
}

// The header row, created when the import left none; the bank code and
// the good-taxpayer flag are read back from it.
void GrabaCabecera(const DeclaracionFormulario& datos)
{
    sSQL = QStringLiteral("SELECT * FROM CAB WHERE ") + datos.clave.Condicion();
    const std::unique_ptr<platform::Recordset> rs =
        oBaseDatos->openRecordset(sSQL, datos.clave.Parametros(), platform::RecordsetType::Dynaset);
    if (rs->eof()) {
        rs->addNew();
        datos.clave.Escribe(*rs);
    } else {
        rs->edit();
    }
    (*rs)["fec_pro"].setValue(QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")));
    nBcolibrad = (*rs)["bcolibrad"].value().toInt();
    sBuenContrib = (*rs)["cheque"].text().trimmed().left(1);
    (*rs)["Rectifica"].setValue(datos.bRectifica ? 1 : 0);
    (*rs)["estado"].setValue(nInconsistencia == 1 ? 9 : 0);
    (*rs)["cNumero"].setValue(FormateaCampo(*rs, kParticionCabecera));
    rs->update();
}

class Grabacion {
public:
    explicit Grabacion(const DeclaracionFormulario& datos)
        : datos_(datos), clave_(datos.clave), bloque_(BloqueDeEntidad(datos.clave.nEntidad))
    {
    }

    // The routine of the step under way, which the error log is told about.
    const QString& Rutina() const { return sRutina_; }

    void Graba()
    {
        sRutina_ = QStringLiteral("GrabaFormulario");
        GrabaCabecera(datos_);
        sSQL = QStringLiteral("DELETE FROM DET WHERE ") + clave_.Condicion();
        oBaseDatos->execute(sSQL, clave_.Parametros());
        GrabaCasillas();
        sRutina_ = QStringLiteral("GrabaFormulario");
        GuardaTablasTrabajo(clave_);
        sRutina_ = QStringLiteral("GrabarCasilla");
        for (const BloqueEntidad& otro : BloquesEntidad())
            Casilla(otro.nCasillaCuotaInicial, datos_.casillas.value(otro.nCasillaCuotaInicial));
        if (bloque_ && sBuenContrib == QLatin1String("1"))
            Casilla(bloque_->nCasillaCuotaInicial, QStringLiteral("0"));
    }

private:
    void Casilla(int nCasilla, const QString& sValor) { EscribeCasilla(clave_, nCasilla, sValor); }

    void GrabaCasillas()
    {
        sRutina_ = QStringLiteral("GrabarCasilla");
        const QString sRectifica = datos_.bRectifica ? QStringLiteral("1") : QStringLiteral("0");
        if (clave_.nTipoDoc == 6)
            Casilla(2, clave_.sNumDoc);
        Casilla(5, sRectifica);
        Casilla(871, sRectifica);
        Casilla(7, clave_.sPeriodo);
        Casilla(589, sBuenContrib);
        GrabaCasillaParam(clave_, ClaveDeclaracion::kFormulario);
        Casilla(28, datos_.sTelefono.trimmed());
        // A code outside the five entities has no block, nor its guarantee types.
        if (bloque_)
            Casilla(bloque_->TiposGarantia(), datos_.sTiposGarantia);
        if (datos_.bFusion)
            Casilla(kCasillaFusion, *datos_.bFusion ? QStringLiteral("1") : QStringLiteral("0"));
        Casilla(541, datos_.sFechaAcog);
        Casilla(721, QStringLiteral("1.2"));
        Casilla(593, QString::number(nBcolibrad));
        Casilla(595, QString::number(datos_.nDeudasNotificadas));
        Casilla(596, QString::number(datos_.nOtrasResoluciones));
        for (int nFila = 0; nFila <= 6; ++nFila) {
            for (const BloqueEntidad& otro : BloquesEntidad())
                Casilla(otro.nCasillaBase + nFila, datos_.casillas.value(otro.nCasillaBase + nFila));
        }
    }

    const DeclaracionFormulario& datos_;
    const ClaveDeclaracion& clave_;
    const std::optional<BloqueEntidad> bloque_;
    QString sRutina_;
};

} // namespace

QString ValorGuardado(int nCasilla, const QString& sValor)
{
    const QString sRecortado = sValor.trimmed();
    if (EsCasillaTexto(nCasilla))
        return sRecortado;
    if (EsCasillaGarantia(nCasilla))
        return sRecortado == kSi ? QStringLiteral("1") : sRecortado == kNo ? QStringLiteral("0") : QString();
    if (nCasilla == kCasillaFusion)
        return sRecortado == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
    return Formato(sValor, QStringLiteral("###########0")).trimmed();
}

QString ValorMostrado(int nCasilla, const QString& sGuardado)
{
    const QString sRecortado = sGuardado.trimmed();
    if (EsCasillaTexto(nCasilla))
        return sGuardado;
    if (EsCasillaGarantia(nCasilla))
        return sRecortado == QLatin1String("1") ? kSi : sRecortado == QLatin1String("0") ? kNo : QString();
    if (nCasilla == kCasillaFusion)
        return sRecortado == QLatin1String("1") ? QStringLiteral("1") : QStringLiteral("0");
    return Formato(sGuardado, QStringLiteral("##,###,###,###0"));
}

QString GrabarCasilla(const ClaveDeclaracion& clave, const QString& sCasilla, const QString& sValor)
{
    if (nGrabando == 1) {
        EscribeCasilla(clave, sCasilla, sValor);
        return {};
    }
    const std::unique_ptr<platform::Recordset> rs = AbreCasilla(clave, sCasilla);
    if (rs->eof())
        return {};
    const QString sGuardado = (*rs)["i_valor"].text();
    FijaGarantia(sCasilla.toInt(), sGuardado);
    return ValorMostrado(sCasilla.toInt(), sGuardado);
}

void GrabaCasillaParam(const ClaveDeclaracion& clave, const QString& sArgumento)
{
    sSQL = QStringLiteral("SELECT * FROM param WHERE numero = '856' AND argumento = ?");
    const std::unique_ptr<platform::Recordset> rs = oBaseDatos->openRecordset(sSQL, {sArgumento});
    if (rs->eof())
        return;
    const QString sFuncion = (*rs)["Funcion"].text();
    const QString sCasilla = sFuncion.mid(19, 3).trimmed();
    if (!sCasilla.isEmpty())
        EscribeCasilla(clave, sCasilla, sFuncion.mid(4, 10));
}

QMap<int, QString> CargaCasillas(const ClaveDeclaracion& clave)
{
    return EjecutaConReintento(QStringLiteral("GrabarCasilla"), [&] {
        sSQL = QStringLiteral("SELECT Casilla, i_valor FROM ") + TablaCasillas() + QStringLiteral(" WHERE ")
            + clave.Condicion() + QStringLiteral(" ORDER BY Casilla");
        const std::unique_ptr<platform::Recordset> rs = oBaseDatos->openRecordset(sSQL, clave.Parametros());
        QMap<int, QString> casillas;
        for (; !rs->eof(); rs->moveNext()) {
            const int nCasilla = (*rs)["Casilla"].text().toInt();
            const QString sGuardado = (*rs)["i_valor"].text();
            FijaGarantia(nCasilla, sGuardado);
            casillas.insert(nCasilla, ValorMostrado(nCasilla, sGuardado));
        }
        return casillas;
    });
}

bool GrabaFormulario(const DeclaracionFormulario& datos, const QString& sTitulo)
{
    Grabacion grabacion(datos);
    // The routine's name is read when a step fails: the step's own.
    return EjecutaGrabacion(
        grabacion.Rutina(), sTitulo,
        [&] {
            EnTransaccion([&] { grabacion.Graba(); });
            return true;
        },
        [] { return false; });
}
