#include "formulario/subsystems/reports/AnexoDeudas.h"

#include "formulario/core/Formato.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Registros.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/core/modGen02.h"
#include "formulario/subsystems/reports/DeclaracionImpresa.h"
#include "formulario/markup/ImpLinea.h"
#include "formulario/subsystems/reports/Repo04.h"
#include "platform/database.h"
#include "platform/utility.h"
#include "platform/vbnumbers.h"

#include <span>

namespace {

const QString kAnexoDeudas = QStringLiteral("DN");

// Page geometry of a debt annex by its kind.
struct GeometriaAnexo {
    int nAncho;   // right edge of the frames
    int nLimite;  // no detail line at or below this y
    int nTramo;   // span the title is centred in
    bool bApaisada;
};

GeometriaAnexo Geometria(const QString& sTipo)
{
    if (sTipo == kAnexoDeudas)
        return {16000, 9900, 15600, true};
    return {11000, 14500, 10300, false};
}

// The title centred in the span at 135 twips a character (halves to even).
int XTitulo(const QString& sTitulo, int nTramo)
{
    return int(platform::bankersRound((nTramo - 135.0 * sTitulo.size()) / 2 + 1));
}

QString SiNo(const QVariant& vValor)
{
    bool bOk = false;
    const int nValor = vValor.toInt(&bOk);
    if (bOk && nValor == 1)
        return QStringLiteral("SI");
    if (bOk && nValor == 2)
        return QStringLiteral("NO");
    return QStringLiteral("-");
}

// The period of the debt "MM" separator "YYYY".
QString Periodo(platform::Recordset& rs, const QString& sSeparador)
{
    const QString sPerDoc = rs.field(QStringLiteral("per_doc")).text();
    return sPerDoc.right(2) + sSeparador + sPerDoc.left(4);
}

QString Descripcion(const QString& sNumero, const QString& sArgumento, int nLargo)
{
    return ObtieneFuncionParam(sNumero, sArgumento, nLargo, 1, CorteFuncion::Recortado);
}

QString Monto(platform::Recordset& rs, const QString& sColumna, const QString& sPatron)
{
    return Formato(rs.field(sColumna).text(), sPatron);
}

bool EsBlanco(const QVariant& vValor)
{
    return vValor.isNull() || vValor.toString().trimmed().isEmpty();
}

// Interest and capitalised interest together; blank when neither is given.
QString Interes(platform::Recordset& rs)
{
    const QVariant vInteres = rs.value(QStringLiteral("mto_int_c"));
    const QVariant vCapitalizado = rs.value(QStringLiteral("mto_int_cap_c"));
    if (EsBlanco(vInteres) && EsBlanco(vCapitalizado))
        return QString(14, u' ');
    const Moneda total = CeroSiNulo(vInteres) + CeroSiNulo(vCapitalizado);
    return Derecha(Formato(total.Formatea(Moneda::kDecimales, false), QStringLiteral("#######,##0.00")), 14);
}

QStringList ColumnasDetalle(platform::Recordset& rs, const QString& sTipo)
{
    const QString sCodTri = rs.field(QStringLiteral("cod_tri")).text();
    const QString sNumDoc = rs.field(QStringLiteral("num_doc")).text().trimmed();
    const QString sTipDoc = rs.field(QStringLiteral("cod_tip_doc")).text();
    if (sTipo == kAnexoDeudas)
        return {Izquierda(Periodo(rs, QStringLiteral("/")), 7),
                Izquierda(FormateaCodigo(sCodTri, false), 6),
                Izquierda(Descripcion(QStringLiteral("871"), sCodTri, 30), 30),
                Izquierda(Descripcion(QStringLiteral("872"), sTipDoc, 10), 10),
                Izquierda(sNumDoc, 17),
                Izquierda(aCasilla[541], 10),
                Derecha(Monto(rs, QStringLiteral("mto_act_s"), QStringLiteral("###,###,###,##0.00")), 18),
                Izquierda(SiNo(rs.value(QStringLiteral("ind_acog"))), 3),
                Izquierda(SiNo(rs.value(QStringLiteral("ind_conf"))), 3),
                Derecha(Monto(rs, QStringLiteral("mto_act_c"), QStringLiteral("###,###,###,##0.00")), 18)};
    if (sTipo == QLatin1String("ODR"))
        return {Izquierda(Periodo(rs, QStringLiteral("/")), 7),
                Izquierda(FormateaCodigo(sCodTri, false), 4),
                Izquierda(Descripcion(QStringLiteral("871"), sCodTri, 14), 14),
                Izquierda(Descripcion(QStringLiteral("872"), sTipDoc, 10), 10),
                Izquierda(sNumDoc, 17),
                Izquierda(aCasilla[541], 10),
                Derecha(Monto(rs, QStringLiteral("mto_tributo_c"), QStringLiteral("#,###,###,##0.00")), 16),
                Derecha(Monto(rs, QStringLiteral("mto_act_c"), QStringLiteral("#,###,###,##0.00")), 16)};
    return {Izquierda(sNumDoc, 17),
            Izquierda(Periodo(rs, QStringLiteral("  ")), 7),
            Izquierda(FormateaCodigo(sCodTri, false), 6),
            Izquierda(Descripcion(QStringLiteral("725"), sCodTri, 30), 30),
            Derecha(Monto(rs, QStringLiteral("mto_tributo_c"), QStringLiteral("###,###,###,##0.00")), 18),
            Interes(rs),
            Derecha(Monto(rs, QStringLiteral("mto_act_c"), QStringLiteral("#######,##0.00")), 14)};
}

// The sum written with its picture; a sum of 0 leaves only the point.
QString TextoSuma(Moneda suma, bool bAncho)
{
    QString sPatron = bAncho ? QStringLiteral("###,###,###,##0.00") : QStringLiteral("#,###,###,##0.00");
    if (suma == Moneda())
        sPatron.replace(u'0', u'#');
    return Formato(suma.Formatea(Moneda::kDecimales, false), sPatron);
}

struct TextoCabecera {
    QString sTexto;
    int X;
    int Y;
    bool bNegrita;
    int nTamano;
};

struct Marco {
    int x1, y1, x2, y2;
};

// The header of a debt annex page: texts, then frames, at margin M.
void ImprimeCabeceraAnexo(int nHoja, bool bApaisada)
{
    const int M = bApaisada ? 140 : 0;
    const auto x = [bApaisada](int nApaisada, int nVertical) { return bApaisada ? nApaisada : nVertical; };
    const TextoCabecera textos[] = {
        {QStringLiteral("ALCOR"), x(300, 400), 350, true, 16},
        {QStringLiteral("0913"), x(550, 600), 1330, true, 12},
        {QStringLiteral("REGIMEN DE REPROGRAMACION DE DEUDAS"), x(4100, 1800), 400, true, 9},
        {QStringLiteral("Pag. %1").arg(nHoja + 1), x(14000, 9000), 400, false, 8},
        {QStringLiteral("RUC"), x(1850, 1750), 1170, false, 8},
        {sRuc, x(4700, 3850), 1170, true, 8},
        {bApaisada ? QStringLiteral("RAZÓN SOCIAL") : QStringLiteral("Apellidos y nombres"), x(1850, 1750), 1450,
         false, 8},
        {sRazonSocial, x(4700, 3850), 1450, true, 8},
        {QStringLiteral("TELEFONO"), x(14030, 9030), 1170, false, 8},
        {aCasilla[28], x(14030, 9030), 1440, false, 8},
        {QStringLiteral("Copia para el"), x(14000, 9000), 670, false, 8},
        {QStringLiteral("Contribuyente"), x(14000, 9000), 900, false, 8},
    };
    static const Marco marcosH[] = {
        {150, 300, 1700, 1640},     {1700, 300, 13360, 1100},   {13360, 300, 15860, 1370},
        {13360, 650, 15860, 1100},  {13360, 1370, 15860, 1640}, {1700, 1100, 13360, 1370},
        {1700, 1100, 4250, 1640},
    };
    static const Marco marcosV[] = {
        {290, 300, 1700, 1640},    {1700, 300, 8500, 1100},    {8500, 300, 11000, 650},
        {8500, 1100, 11000, 1370}, {1700, 1100, 3800, 1370},   {1700, 1370, 3800, 1640},
        {3800, 1370, 8500, 1640},  {8500, 300, 11000, 1100},   {8500, 1100, 11000, 1640},
    };
    for (const TextoCabecera& texto : textos)
        ImprimeTexto(M + texto.X, texto.Y, texto.sTexto, texto.bNegrita, texto.nTamano, nHoja);
    for (const Marco& marco : bApaisada ? std::span<const Marco>(marcosH) : std::span<const Marco>(marcosV))
        ImprimeCuadro(M + marco.x1, marco.y1, M + marco.x2, marco.y2, nHoja);
}

// The annex being written.
struct AnexoDeudas {
    QString sTitulo;
    QString sTipo;
    GeometriaAnexo geo;
};

// Where the annex writes: the page index and the y on that page.
struct Posicion {
    int nHoja;
    int nY;
};

struct TotalesAnexo {
    int nCuenta = 0;
    Moneda actS, actC, tributoC;
};

// A framed title at the head of the rows.
void ImprimeTituloEnMarco(int nHoja, int nY, const AnexoDeudas& anexo, int nAlto)
{
    ImprimeCuadro(290, nY - 100, anexo.geo.nAncho, nY + nAlto, nHoja);
    ImprimeTexto(XTitulo(anexo.sTitulo, anexo.geo.nTramo), nY - 60, anexo.sTitulo, true, nFontRep + 6, nHoja);
}

int CabeceraDe(const GeometriaAnexo& geo)
{
    return geo.bApaisada ? ImprimeCabeceraH() : ImprimeCabeceraV();
}

// The frame of the column headings and the headings at nY.
void ImprimeMarcoTitulos(Posicion& pos, int nAncho, const QString& sTipo)
{
    ImprimeCuadro(290, pos.nY, nAncho, pos.nY + 540, pos.nHoja);
    ImprimeTitulosAnexo(pos.nHoja, pos.nY, sTipo);
}

// A new page with its header and framed title, and the column headings
// when rows follow.
void NuevaHoja(Posicion& pos, const AnexoDeudas& anexo, bool bTitulos)
{
    pos.nY = 1740;
    pos.nHoja = CabeceraDe(anexo.geo);
    ImprimeTituloEnMarco(pos.nHoja, pos.nY, anexo, 300);
    if (!bTitulos) {
        pos.nY += 540;
        return;
    }
    pos.nY += 300;
    ImprimeMarcoTitulos(pos, anexo.geo.nAncho, anexo.sTipo);
    pos.nY += 270;
}

// One line per row, a new page whenever a line would reach the bottom limit.
TotalesAnexo ImprimeFilas(platform::Recordset& rs, Posicion& pos, const AnexoDeudas& anexo)
{
    TotalesAnexo totales;
    if (rs.eof())
        return totales;
    pos.nY += 270;
    if (pos.nY + 610 < anexo.geo.nLimite) {
        ImprimeMarcoTitulos(pos, anexo.geo.nAncho, anexo.sTipo);
        pos.nY += 70;
    }
    for (; !rs.eof(); rs.moveNext()) {
        pos.nY += 200;
        if (pos.nY >= anexo.geo.nLimite)
            NuevaHoja(pos, anexo, true);
        ImprimeDetalleDeuda(pos.nHoja, pos.nY, rs, anexo.sTipo);
        ++totales.nCuenta;
        totales.actC += CeroSiNulo(rs.value(QStringLiteral("mto_act_c")));
        if (anexo.sTipo == kAnexoDeudas)
            totales.actS += CeroSiNulo(rs.value(QStringLiteral("mto_act_s")));
        else
            totales.tributoC += CeroSiNulo(rs.value(QStringLiteral("mto_tributo_c")));
    }
    return totales;
}

// The count of rows and the sums of the annex's amount columns.
void ImprimeTotales(const TotalesAnexo& totales, const Posicion& pos, const AnexoDeudas& anexo)
{
    const int nY = pos.nY + 30;
    ImprimeCuadro(290, pos.nY, anexo.geo.nAncho, pos.nY + 270, pos.nHoja);
    ImprimeTexto(300, nY, QStringLiteral("Cantidad total de registros  : %1").arg(totales.nCuenta), false, nFontRep,
                 pos.nHoja);
    if (anexo.sTipo == kAnexoDeudas) {
        ImprimeTexto(7800, nY, QStringLiteral("Totales :"), false, nFontRep, pos.nHoja);
        sLineaRep = QString(88, u' ') + Derecha(TextoSuma(totales.actS, true), 18) + QString(9, u' ')
            + Derecha(TextoSuma(totales.actC, true), 18);
    } else {
        ImprimeTexto(6320, nY, QStringLiteral("Totales :"), false, nFontRep, pos.nHoja);
        sLineaRep = QString(70, u' ') + Derecha(TextoSuma(totales.tributoC, false), 16) + QLatin1Char(' ')
            + Derecha(TextoSuma(totales.actC, false), 16);
    }
    ImprimeTexto(90, nY, sLineaRep, false, nFontRep, pos.nHoja);
}

} // namespace

int AbreHojaReporte(const QString& sTagOrientacion)
{
    const int nHoja = ++nPagina;
    nUltPagina = nHoja;
    if (nHoja != 0)
        ImprimeNuevaHoja(sTagOrientacion);
    else
        ImprimeTagsPrimeraHoja(sTagOrientacion);
    return nHoja;
}

void ImprimeTagsPrimeraHoja(const QString& sTagOrientacion)
{
    for (const QString& sTag : {kTagFuente, sTagOrientacion, kTagColor}) {
        sLineaRep = sTag;
        ImprimeLinea(sLineaRep);
    }
}

QString Izquierda(const QString& sTexto, int nAncho)
{
    return oUtil->padRight(sTexto, nAncho, u' ');
}

QString Derecha(const QString& sTexto, int nAncho)
{
    return oUtil->padLeft(sTexto, nAncho, u' ');
}

QString TablaAnexo(const QString& sTabla)
{
    return bEnviadas ? QLatin1Char('H') + sTabla : sTabla;
}

QVariantList ArmaSqlAnexo(const QString& sTabla, const QString& sTipo, bool bAcogido)
{
    sSQL = QStringLiteral("SELECT * FROM ") + sTabla + QStringLiteral(" WHERE doc_id_d = ? AND Semana = ? ");
    QVariantList valores{sRuc, nEntidad};
    if (bEnviadas) {
        sSQL += QStringLiteral("AND Correl = ? ");
        valores << sCorrel;
    }
    if (sTipo == kAnexoDeudas) {
        sSQL += QStringLiteral("AND Ind_tip_deu in ('01', '04') AND ind_ver_deu in ( '00', '07' ) ");
        sSQL += bAcogido ? QStringLiteral("AND ind_acog = 1 ") : QStringLiteral("AND ( ind_acog = 2 OR ind_acog is null ) ");
    } else if (sTipo == QLatin1String("ODR")) {
        sSQL += QStringLiteral("AND Ind_tip_deu = '05' AND Ind_valor = 1 ");
    } else {
        // Debts the guarantee covers: accepted notified and hand-entered
        // ones, accepted ones of kinds 02 and 03, and every one of kind 04.
        sSQL += QStringLiteral(
            "AND ( ( ind_tip_deu in ( '01', '05' ) AND ind_acog = 1 AND ind_ver_deu in ( '0', '00', '07', '08' ) ) "
            "OR ( ind_tip_deu in ( '02', '03' ) AND ind_acog = 1 AND ind_ver_deu in ( '00', '07', '08' ) ) "
            "OR ind_tip_deu = '04' ) ");
    }
    sSQL += QStringLiteral("ORDER BY per_doc DESC, cod_tri ");
    return valores;
}

void ImprimeTitulosAnexo(int nHoja, int& nY, const QString& sTipo)
{
    QStringList lineas;
    if (sTipo == kAnexoDeudas)
        lineas = {QStringLiteral("PERIODO COD.   DESCRIPCIÓN DE TRIBUTO          TIPO  DE     Nº DE  RESOL    FECHA DE      DEUDA SEGÚN    IN  IN     DEUDA ACOGIDA"),
                  QStringLiteral("        TRIB                                  RESOLUCIÖN                   PRESENTAC.        ALCOR       AC  CO   SEGÚN CONTRIBUYENTE")};
    else if (sTipo == QLatin1String("ODR"))
        lineas = {QStringLiteral("PERIODO COD. DESCRIPCIÓN DE  TIPO  DE     Nº DE  RESOL    FECHA DE  TRIBUTO INSOLUTO   DEUDA ACOGIDA"),
                  QStringLiteral("        TRIB    TRIBUTO     RESOLUCIÓN                   PRESENTAC. SEGÚN CONTRIBUY.  SEGÚN CONTRIBUY.")};
    else
        lineas = {QStringLiteral("N° del valor     Período     Tributo / Concepto") + QString(26, u' ') + QStringLiteral("Monto actualizado al: ") + aCasilla[541],
                  QStringLiteral("resolución       Mes  Año Código  Denominación") + QString(24, u' ') + QStringLiteral("Tributo/Multa       Interés          Total")};
    sLineaRep = lineas[0];
    ImprimeTexto(300, nY, sLineaRep, true, nFontRep, nHoja);
    nY += 270;
    sLineaRep = lineas[1];
    ImprimeTexto(300, nY, sLineaRep, true, nFontRep, nHoja);
}

void ImprimeDetalleDeuda(int nHoja, int nY, platform::Recordset& rs, const QString& sTipo)
{
    sLineaRep = ColumnasDetalle(rs, sTipo).join(u' ');
    ImprimeTexto(300, nY, sLineaRep, false, nFontRep, nHoja);
}

int ImprimeCabeceraH()
{
    const int nHoja = AbreHojaReporte(kTagHorizontal);
    ImprimeCabeceraAnexo(nHoja, true);
    return nHoja;
}

int ImprimeCabeceraV()
{
    const int nHoja = AbreHojaReporte(kTagVertical);
    ImprimeCabeceraAnexo(nHoja, false);
    return nHoja;
}

void ImprimeSinInformacion(int nHoja, int nY, const QString& sTitulo, int nAncho)
{
    ImprimeCuadro(290, nY, nAncho, nY + 270, nHoja);
    ImprimeTexto(300, nY, sTitulo, true, nFontRep, nHoja);
    ImprimeTexto(300, nY + 270, QStringLiteral("NO EXISTE INFORMACIÓN A DECLARAR"), false, nFontRep, nHoja);
}

void ImprimeAnexoDeudas(const QString& sTabla, const QString& sTitulo, const QString& sTipo, bool bAcogido)
{
    nFontRep = 8;
    const AnexoDeudas anexo{sTitulo, sTipo, Geometria(sTipo)};
    const QVariantList valores = ArmaSqlAnexo(TablaAnexo(sTabla), sTipo, bAcogido);

    Posicion pos{CabeceraDe(anexo.geo), 1620 + 120};
    ImprimeTituloEnMarco(pos.nHoja, pos.nY, anexo, 270);
    const auto rs = oBaseDatos->openRecordset(sSQL, valores);
    const TotalesAnexo totales = ImprimeFilas(*rs, pos, anexo);

    pos.nY += 270;
    if (pos.nY > anexo.geo.nLimite - 1000)
        NuevaHoja(pos, anexo, false);
    if (totales.nCuenta > 0) {
        ImprimeTotales(totales, pos, anexo);
        return;
    }
    ImprimeCuadro(290, pos.nY, anexo.geo.nAncho, pos.nY + 270, pos.nHoja);
    ImprimeTexto(300, pos.nY, QStringLiteral("Cantidad total de registros  : 0"), false, nFontRep, pos.nHoja);
    ImprimeSinInformacion(pos.nHoja, pos.nY + 540, sTitulo, anexo.geo.nAncho);
}
