#include "formulario/subsystems/reports/Repo04.h"

#include "formulario/core/Formato.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/core/modGen02.h"
#include "formulario/markup/ArchivoSpool.h"
#include "formulario/subsystems/reports/AnexoDeudas.h"
#include "formulario/subsystems/reports/AnexoGarantia.h"
#include "formulario/subsystems/reports/DeclaracionImpresa.h"
#include "formulario/markup/ImpLinea.h"
#include "formulario/subsystems/reports/frmPreview.h"
#include "formulario/subsystems/request/PlanPagos.h"
#include "platform/dberror.h"
#include "platform/dialogs.h"

int nDestino = 1;
int nFontRep = 8;
std::unique_ptr<frmPreview> oPreview;

namespace {

constexpr int kHojaFormulario = 0;

void AbreArchivoReporte()
{
    nArchivo = FreeFile();
    sLineaRep.clear();
    if (sSalida != kSalidaArchivo)
        return;
    const int nError = AbreNumero(nArchivo, sArchivo, modoArchivo::Salida);
    if (nError != 0) {
        throw platform::DbError(
            nError, QStringLiteral("No se pudo crear el archivo del reporte %1").arg(ArchivoDeReporte(sArchivo)));
    }
    nPagina = 0;
}

// The guarantee types of the entity, "1" or "0" for carta fianza, hipoteca
// and garantía mobiliaria; "" for an unknown entity.
QString TiposGarantia()
{
    const auto bloque = BloqueDeEntidad(nEntidad);
    return bloque ? aCasilla[bloque->TiposGarantia()] : QString();
}

bool TieneGarantia(int nPosicion)
{
    return TiposGarantia().mid(nPosicion, 1) == QLatin1String("1");
}

void ImprimeAnexos(const EleccionReporte& eleccion, int nTipDoc)
{
    const QString sTabla = QStringLiteral("F0913DEUDAS");
    if (eleccion.bAcogidos)
        ImprimeAnexoDeudas(sTabla, QStringLiteral("RESOLUCIONES - ACOGIDOS"), QStringLiteral("DN"), true);
    if (eleccion.bNoAcogidos)
        ImprimeAnexoDeudas(sTabla, QStringLiteral("RESOLUCIONES - NO ACOGIDOS"), QStringLiteral("DN"), false);
    if (eleccion.bOtras)
        ImprimeAnexoDeudas(sTabla, QStringLiteral("OTRAS RESOLUCIONES - RESOLUCIONES"), QStringLiteral("ODR"), false);
    if (eleccion.bCartaFianza && TieneGarantia(0))
        ImprimeAnexoGarantia(QStringLiteral("CARTA FIANZA"), QStringLiteral("CF"), nTipDoc);
    if (eleccion.bHipoteca && TieneGarantia(1))
        ImprimeAnexoGarantia(QStringLiteral("HIPOTECA"), QStringLiteral("GH"), nTipDoc);
}

QString Derecha16(const QString& sTexto)
{
    return RellenaDerecha(sTexto, 16);
}

// The guarantee types named one after another.
QString ListaGarantias()
{
    const QString sTipos = TiposGarantia();
    QString sLista;
    if (sTipos.mid(0, 1) == QLatin1String("1"))
        sLista = QStringLiteral("- Carta fianza ");
    if (sTipos.mid(1, 1) == QLatin1String("1"))
        sLista += QStringLiteral("- Hipoteca ");
    if (sTipos.mid(2, 1) == QLatin1String("1"))
        sLista += QStringLiteral("- Garantía mobiliaria");
    return sLista;
}

QString SiNoGarantia(const QString& sValor)
{
    if (sValor == QLatin1String("0"))
        return QString(14, u' ') + QStringLiteral("NO");
    if (sValor == QLatin1String("1"))
        return QString(14, u' ') + QStringLiteral("SI");
    return {};
}

// One row of the payment table: its label, its box number (0 for none), its
// value and the value's x.
struct FilaPago {
    QString sEtiqueta;
    int nCasilla;
    QString sValor;
    int nXValor = 9275;
    bool bNegrita = false;
};

QList<FilaPago> FilasDePago()
{
    const auto bloque = BloqueDeEntidad(nEntidad);
    // An unknown entity has no boxes: its rows show no number and no value.
    const auto casilla = [&bloque](int nDesplazamiento) { return bloque ? bloque->nCasillaBase + nDesplazamiento : 0; };
    const auto valor = [](int nCasilla) { return nCasilla ? aCasilla[nCasilla] : QString(); };
    const auto monto = [&valor](int nCasilla) {
        return Derecha16(Formato(valor(nCasilla), QStringLiteral("###,###,###,##0")));
    };
    const auto numero = [&valor](int nCasilla, const char* sPatron) {
        return Derecha16(Formato(valor(nCasilla), QLatin1String(sPatron)));
    };
    const int nCuota = bloque ? bloque->nCasillaCuotaInicial : 0;
    const QString sSeis(6, u' ');
    return {
        {QStringLiteral("Entidad"), 0,
         ObtieneFuncionParam(QStringLiteral("727"), QString::number(nEntidad), 10, 1, CorteFuncion::Recortado), 9800,
         true},
        {QStringLiteral("Deuda acogida"), casilla(0), monto(casilla(0))},
        {QStringLiteral("Forma de pago"), casilla(1), sModalidad},
        {QStringLiteral("Número de meses de aplazamiento"), casilla(2), numero(casilla(2), "##")},
        {QStringLiteral("Número de cuotas de fraccionamiento"), casilla(3), numero(casilla(3), "##")},
        {QStringLiteral("Monto de la cuota de fraccionamiento"), casilla(4), monto(casilla(4))},
        {QStringLiteral("Código de tributo"), casilla(5), numero(casilla(5), "######")},
        {QStringLiteral("Garantía de deuda"), casilla(6), SiNoGarantia(valor(casilla(6)))},
        {QStringLiteral("Cuota de acogimiento"), nCuota, monto(nCuota)},
        {QStringLiteral("Tipo de garantía"), 0, sSeis + ListaGarantias(), 3275},
        {QStringLiteral("¿Tiene empresas fusionadas y/o absorbidas?"), 0,
         sSeis + (aCasilla[545] == QLatin1String("1") ? QStringLiteral("SI") : QStringLiteral("NO"))},
        {},
        {QStringLiteral("Fecha de actualización"), 0, sSeis + aCasilla[541]},
    };
}

// The table's rows and columns: a label column, a narrow box-number column
// and a value column; row 9 has no box number and row 11 is a gap.
void ImprimeCuadricula()
{
    for (int r = 0; r <= 12; ++r) {
        const int nArriba = 2820 + 270 * r;
        const int nAbajo = nArriba + 270;
        if (r == 11)
            continue;
        ImprimeCuadro(150, nArriba, 11000, nAbajo, kHojaFormulario);
        if (r == 9)
            continue;
        ImprimeCuadro(8675, nArriba, 8675, nAbajo, kHojaFormulario);
        if (r != 0 && r != 12)
            ImprimeCuadro(9175, nArriba, 9175, nAbajo, kHojaFormulario);
    }
}

} // namespace

void ImprimeDeclaracion(const EleccionReporte& eleccion, int nTipDoc)
{
    AbreArchivoReporte();
    for (int nCopia = 0; nCopia < nDestino; ++nCopia) {
        nLinea = 0;
        if (eleccion.bDeclaracion) {
            nPagina = 1;
            ImprimeFormulario();
        }
        // The form sheet is page 0; without it the first annex page is.
        nPagina = eleccion.bDeclaracion ? 0 : -1;
        // Every report counts its own pages, whatever an earlier one left.
        nUltPagina = nPagina;
        ImprimeAnexos(eleccion, nTipDoc);
    }
    sLineaRep = QStringLiteral("<!nHojas!>%1<!/nHojas!>").arg(nUltPagina + 1);
    // What did not reach the file by its closing fails the report as well.
    EscribeLinea(nArchivo, sLineaRep);
    if (const int nError = CierraArchivo(nArchivo))
        throw ErrorEscrituraReporte(nError);
    PunteroNormal();
}

void ImprimeFormulario()
{
    nFontRep = 8;
    ImprimeTagsPrimeraHoja(kTagVertical);
    ImprimeCabecera(kHojaFormulario);
    ImprimeCuadricula();
    ImprimeCuadro(150, 2470, 11000, 2815, kHojaFormulario);
    ImprimeTexto(300, 2540, QStringLiteral("MODALIDAD DE PAGO"), true, 10, kHojaFormulario);
    int nY = 2880;
    for (const FilaPago& fila : FilasDePago()) {
        if (!fila.sEtiqueta.isEmpty()) {
            ImprimeTexto(300, nY, fila.sEtiqueta, false, nFontRep, kHojaFormulario);
            if (fila.nCasilla != 0)
                ImprimeTexto(8775, nY, QString::number(fila.nCasilla), false, nFontRep, kHojaFormulario);
            ImprimeTexto(fila.nXValor, nY, fila.sValor, fila.bNegrita, nFontRep, kHojaFormulario);
        }
        nY += 270;
    }
}

void ImprimeCabecera(int nHoja)
{
    if (nHoja != 0)
        ImprimeTexto(0, 0, kNuevaHoja, false, 0, nHoja);
    const auto texto = [nHoja](int X, int Y, const QString& sTexto, bool bNegrita = false, int nTamano = 8) {
        ImprimeTexto(X, Y, sTexto, bNegrita, nTamano, nHoja);
    };
    const auto cuadro = [nHoja](int x1, int y1, int x2, int y2) { ImprimeCuadro(x1, y1, x2, y2, nHoja); };
    texto(300, 350, QStringLiteral("ALCOR"), true, 16);
    texto(550, 1330, QStringLiteral("0913"), true, 12);
    cuadro(150, 300, 1700, 1640);
    texto(1760, 400, QStringLiteral("REGIMEN DE REPROGRAMACION DE DEUDAS"), true, 9);
    cuadro(1700, 300, 8500, 1100);
    texto(1750, 1170, QStringLiteral("RUC"));
    texto(3150, 1170, sRuc, true);
    cuadro(3100, 1100, 11000, 1370);
    cuadro(8500, 1100, 11000, 1370);
    texto(9030, 1170, QStringLiteral("TELEFONO"));
    texto(9030, 1440, aCasilla[28]);
    texto(1750, 1450, QStringLiteral("RAZÓN SOCIAL"));
    texto(3150, 1450, sRazonSocial, true);
    cuadro(1700, 1370, 3100, 1640);
    cuadro(3100, 1370, 8500, 1640);
    texto(9000, 400, QStringLiteral("Copia para el"));
    texto(9000, 700, QStringLiteral("Contribuyente (%1)").arg(nHoja + 1));
    cuadro(8500, 300, 11000, 1100);
    cuadro(8500, 1100, 11000, 1640);
}

bool MuestraReporte(const QString& sNombre, const QString& sModo)
{
    oPreview = std::make_unique<frmPreview>();
    oPreview->sArchivoReporte = sNombre;
    bool bHecho = true;
    if (sModo == QLatin1String("Vprevia")) {
        oPreview->Form_Load();
        platform::showModal(*oPreview);
    } else {
        bHecho = oPreview->Imprime();
    }
    oPreview.reset();
    return bHecho;
}
