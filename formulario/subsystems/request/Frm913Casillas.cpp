// The request form's boxes on the payment tab: the plan arithmetic that fills
// them from the accepted debts, and their own events, where a changed box
// has the dependent boxes of its entity block follow.

#include "formulario/subsystems/request/Frm913.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Registros.h"
#include "formulario/core/modGen02.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/subsystems/request/PlanPagos.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>

// ---------------------------------------------------------------------------
// Plan arithmetic and the boxes it fills

void Frm913::Obtiene_TIM(const QString& sFecha)
{
    ::Obtiene_TIM(sFecha);
}

void Frm913::CalculaCasillas()
{
    const std::optional<BloqueEntidad> bloque = BloqueDeEntidad(nEntidad);
    if (!bloque)
        return;
    txtValor.at(bloque->nCasillaBase)->setText(CalculaDeudaAcogida(sNumDocDeclarante));
}

void Frm913::CalculaCasillas2()
{
    const std::optional<BloqueEntidad> bloque = BloqueDeEntidad(nEntidad);
    if (!bloque)
        return;
    const Moneda dUit = EjecutaConReintento(QStringLiteral("CalculaCasillas2"), [] { return ObtieneUIT(); });
    txtValor.at(bloque->nCasillaBase)->setText(CalculaDeudaAcogida(sNumDocDeclarante));
    if (nModo != 1 || !bDeudaGrabada)
        return;
    auto texto = [this](int nCasilla) { return txtValor.at(nCasilla)->text(); };
    txtValor.at(bloque->nCasillaCuotaInicial)
        ->setText(::CalculaCuotaInicial2(texto(bloque->nCasillaBase), dUit, texto(bloque->Modalidad()),
                                         texto(bloque->Cuotas()), texto(bloque->Meses())));
}

void Frm913::CambiaGarantia2(const QString& sDeuda, Moneda dUit, int iCasGar, const QString& sCuotaAcog,
                             const QString& sFormaPago)
{
    switch (::CambiaGarantia2(sDeuda, dUit, sCuotaAcog, sFormaPago)) {
    case DecisionGarantia::SinCambio: return;
    case DecisionGarantia::Si:
        txtValor.at(iCasGar)->setText(QStringLiteral("SI"));
        ChkGarantia[1]->setEnabled(true);
        Frame_Garantia->setVisible(true);
        return;
    case DecisionGarantia::No:
        txtValor.at(iCasGar)->setText(QStringLiteral("NO"));
        Frame_Garantia->setVisible(false);
        ChkGarantia[0]->setChecked(false);
        ChkGarantia[1]->setChecked(false);
        return;
    }
}

// ---------------------------------------------------------------------------
// The boxes' own events

namespace {

// The number a box's text begins with; 0 without one.
double ValorDe(const QString& sTexto)
{
    return Moneda::ValorInicial(sTexto).ComoDouble();
}

bool EsCuotaInicial(int nCasilla)
{
    return nCasilla >= 535 && nCasilla <= 539;
}

} // namespace

QString Frm913::Texto(int nCasilla) const
{
    return txtValor.at(nCasilla)->text();
}

void Frm913::Vacia(int nCasilla)
{
    txtValor.at(nCasilla)->clear();
}

void Frm913::EstadoCaja(int nCasilla, bool bHabilitada, bool bBlanca)
{
    QLineEdit* caja = txtValor.at(nCasilla);
    caja->setEnabled(bHabilitada);
    PintaCaja(*caja, bBlanca);
}

// The open entity's guarantee is decided again.
void Frm913::ActualizaGarantia()
{
    const BloqueEntidad bloque = *BloqueDeEntidad(nEntidad);
    CambiaGarantia2(Texto(bloque.nCasillaBase), ObtieneUIT(), bloque.Garantia(), Texto(bloque.nCasillaCuotaInicial),
                    Texto(bloque.Modalidad()));
}

// The open entity's initial instalment follows the debt and modality given.
void Frm913::ActualizaCuotaInicial(int nDeuda, int nModalidad, int nMeses, int nCuotas)
{
    if (Texto(nDeuda).trimmed().isEmpty() || Texto(nModalidad).trimmed().isEmpty())
        return;
    txtValor.at(nCasillaCuota)
        ->setText(::CalculaCuotaInicial2(Texto(nDeuda), ObtieneUIT(), Texto(nModalidad), Texto(nCuotas),
                                         Texto(nMeses)));
}

void Frm913::txtValor_Change(int Index)
{
    if (!bFormCargado)
        return;
    try {
        RecalculaCasilla(Index);
    } catch (const platform::DbError& err) {
        // The UIT could not be read: what was set stays, as after any failed step.
        if (ManejaErrorBD(QStringLiteral("txtValor_Change"), err) == kTerminar)
            platform::endProgram();
    }
    bModificado = true;
}

// The case of the changed box: its block's dependent boxes follow.
void Frm913::RecalculaCasilla(int Index)
{
    if (BloqueDeEntidad(nEntidad)) {
        const int nDesplazamiento = Index - 500;
        const int B = 500 + 7 * (nDesplazamiento / 7);
        if (nDesplazamiento >= 0 && nDesplazamiento <= 34) {
            switch (nDesplazamiento % 7) {
            case 0: CambiaDeuda(B); break;
            case 1: CambiaModalidad(B); break;
            case 2: CambiaMeses(B); break;
            case 3: CambiaCuotas(B); break;
            default: break;
            }
        } else if (EsCuotaInicial(Index)) {
            CambiaCuotaInicial(Index);
        }
    }
}

void Frm913::CambiaDeuda(int B)
{
    const QString sDeuda = Texto(B);
    if (sDeuda.isEmpty() || sDeuda == QLatin1String("0")) {
        Vacia(B + 1);
        for (int nCasilla : {B + 2, B + 3, B + 4}) {
            Vacia(nCasilla);
            EstadoCaja(nCasilla, false, false);
        }
    }
    // The instalment counts the initial instalment the box holds.
    if (!Texto(B + 3).isEmpty() && !Texto(B).isEmpty())
        txtValor.at(B + 4)->setText(CuotaFraccionamiento(Texto(B + 3), Texto(B), Texto(nCasillaCuota)));
    else
        Vacia(B + 4);
    Vacia(nCasillaBase2);
    ActualizaGarantia();
}

void Frm913::CambiaModalidad(int B)
{
    const int n = B + 1;
    const double dValor = ValorDe(Texto(n));
    if (dValor < 0 || dValor > 2 || dValor == 1)
        Vacia(n);
    const QString sModalidad = Texto(n);
    if (sModalidad.isEmpty()) {
        for (int nCasilla : {B + 2, B + 3, B + 4}) {
            Vacia(nCasilla);
            EstadoCaja(nCasilla, false, false);
        }
    } else if (sModalidad == QLatin1String("0") || sModalidad == QLatin1String("2")) {
        const bool bAplaza = sModalidad == QLatin1String("2");
        if (!Texto(B).isEmpty()) {
            Vacia(B + 2);
            EstadoCaja(B + 2, bAplaza, bAplaza);
            txtValor.at(B + 2)->setReadOnly(!bAplaza);
            Vacia(B + 3);
            EstadoCaja(B + 3, true, true);
            txtValor.at(B + 3)->setReadOnly(false);
            Vacia(B + 4);
            EstadoCaja(B + 4, false, false);
        } else {
            Vacia(n);
        }
        ActualizaCuotaInicial(B, n, B + 2, B + 3);
    } else {
        Vacia(n);
    }
    Vacia(nCasillaBase2);
    const bool bCerrada = Texto(n).trimmed().isEmpty() || Texto(n) == QLatin1String("2")
        || sBuenContrib == QLatin1String("1");
    EstadoCaja(nCasillaCuota, !bCerrada, !bCerrada);
    ActualizaGarantia();
}

void Frm913::CambiaMeses(int B)
{
    const int nMaximo = Texto(B).trimmed().isEmpty() ? 0 : 6;
    const double dValor = ValorDe(Texto(B + 2));
    if (dValor < 1 || dValor > nMaximo)
        Vacia(B + 2);
}

void Frm913::CambiaCuotas(int B)
{
    const int n = B + 3;
    const double dModalidad = ValorDe(Texto(B + 1));
    const double dValor = ValorDe(Texto(n));
    const int nMaximo = dModalidad == 0 ? 72 : dModalidad == 2 ? 66 : 0;
    if (nMaximo > 0 && (dValor < 1 || dValor > nMaximo))
        Vacia(n);
    ActualizaCuotaInicial(B, B + 1, B + 2, n);
    if (!Texto(n).isEmpty() && !Texto(B).isEmpty())
        txtValor.at(B + 4)->setText(CuotaFraccionamiento(Texto(n), Texto(B), Texto(nCasillaCuota).trimmed()));
    else
        Vacia(B + 4);
}

void Frm913::CambiaCuotaInicial(int nCasilla)
{
    ActualizaGarantia();
    const int E = nCasillaBase;
    if (!Texto(nCasilla).trimmed().isEmpty() && !Texto(E + 3).isEmpty())
        txtValor.at(E + 4)->setText(CuotaFraccionamiento(Texto(E + 3), Texto(E), Texto(nCasilla)));
    txtValor.at(nCasillaCuota)->setText(Formato(Texto(nCasillaCuota), QStringLiteral("############0")));
    if (sBuenContrib == QLatin1String("1"))
        txtValor.at(nCasillaCuota)->setText(QStringLiteral("0"));
}

void Frm913::txtValor_GotFocus(int Index)
{
    if (!EsCuotaInicial(Index))
        return;
    QLineEdit* caja = txtValor.at(Index);
    const QString sEntero = Formato(caja->text(), QStringLiteral("############"));
    caja->setText(QString::number(qint64(NumeroDeTexto(sEntero).value_or(0))));
    caja->setMaxLength(12);
}

void Frm913::txtValor_KeyPress(int, int& KeyAscii)
{
    SoloNumeros(KeyAscii);
    if (KeyAscii == 13) {
        EnviaTab(QStringLiteral("TAB"));
        KeyAscii = 0;
    }
    bModificado = true;
}

void Frm913::txtValor_LostFocus(int Index)
{
    if (EsCuotaInicial(Index)) {
        QLineEdit* caja = txtValor.at(Index);
        if (!caja->text().trimmed().isEmpty()) {
            caja->setMaxLength(15);
            caja->setText(Formato(caja->text(), QStringLiteral("###,###,###,##0")));
        }
        return;
    }
    for (const BloqueEntidad& bloque : BloquesEntidad()) {
        if (bloque.Modalidad() != Index)
            continue;
        const int C = bloque.nCasillaCuotaInicial;
        const QString sModalidad = Texto(Index);
        if (!sModalidad.trimmed().isEmpty() && sBuenContrib != QLatin1String("1")) {
            const bool bAplaza = sModalidad == QLatin1String("2");
            EstadoCaja(C, !bAplaza, !bAplaza);
        } else {
            EstadoCaja(C, false, false);
            Vacia(C);
        }
    }
}
