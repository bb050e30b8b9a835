#include "formulario/subsystems/reports/DeclaracionImpresa.h"

#include "formulario/core/ModGen00.h"
#include "platform/database.h"

std::array<QString, 900> aCasilla;
QString sModalidad;
QString sCorrel;

namespace {

constexpr int kUltimaCasilla = 899;

// The payment-modality text of a value of a modality box; empty for another value.
QString TextoModalidad(const QString& sValor)
{
    if (sValor == QLatin1String("0"))
        return QStringLiteral("Fraccionamiento");
    if (sValor == QLatin1String("1"))
        return QStringLiteral("Aplazamiento");
    if (sValor == QLatin1String("2"))
        return QStringLiteral("Aplaz. con fracc.");
    return {};
}

bool EsCasillaModalidad(const QString& sCasilla)
{
    static const QStringList casillas{"501", "508", "515", "522", "529"};
    return casillas.contains(sCasilla);
}

} // namespace

void BorraArray()
{
    aCasilla.fill(QString());
}

QString ConsultaDeclaraciones(bool bEnviadas, bool bFiltraUsuario)
{
    QString sConsulta = QStringLiteral(
        "SELECT A.TIP_DOC_D, A.DOC_ID_D, B.NOMBRE, A.FORMULARIO, mid(C.funcion,31,12) as tipo_doc, "
        "(SELECT mid(funcion,1,12) FROM PARAM WHERE numero = '727' AND val(argumento) = a.semana ) as Entidad, "
        "semana, mid(A.PERIODO,5,2) || mid(A.PERIODO,1,4) as PERIODO");
    sConsulta += bEnviadas ? QStringLiteral(", CORREL FROM HCAB AS A, CONT AS B, PARAM AS C ")
                           : QStringLiteral(" FROM CAB AS A, CONT AS B, PARAM AS C ");
    sConsulta += QStringLiteral(" WHERE A.DOC_ID_D=B.DOC_ID_D AND A.TIP_DOC_D=B.TIP_DOC_D AND A.FORMULARIO='0913' AND");
    if (bFiltraUsuario)
        sConsulta += QStringLiteral(" B.USUARIO=? AND ");
    sConsulta += QStringLiteral(" C.NUMERO='044' AND val(C.ARGUMENTO)=A.TIP_DOC_D "
                                " ORDER BY A.TIP_DOC_D ASC, A.DOC_ID_D ASC ");
    return sConsulta;
}

void LeeCasillas(int nTipDoc, const QString& sDocId)
{
    BorraArray();
    sModalidad.clear();
    sSQL = bEnviadas ? QStringLiteral("SELECT CASILLA, I_VALOR FROM HDET ") : QStringLiteral("SELECT CASILLA, I_VALOR FROM DET ");
    sSQL += QStringLiteral(" WHERE TIP_DOC_D=? AND DOC_ID_D=? AND periodo =? AND FORMULARIO='0913' AND SEMANA=?");
    QVariantList valores{nTipDoc, sDocId, sPeriodo, nEntidad};
    if (bEnviadas) {
        sSQL += QStringLiteral(" AND CORREL=?");
        valores << sCorrel;
    }
    const auto rs = oBaseDatos->openRecordset(sSQL, valores);
    for (; !rs->eof(); rs->moveNext()) {
        const QString sCasilla = rs->field(QStringLiteral("CASILLA")).text();
        const QString sValor = rs->field(QStringLiteral("I_VALOR")).text();
        const int n = sCasilla.trimmed().toInt();
        if (n >= 1 && n <= kUltimaCasilla && n != 721 && n != 722)
            aCasilla[n] = sValor;
        if (EsCasillaModalidad(sCasilla)) {
            if (const QString sTexto = TextoModalidad(sValor); !sTexto.isEmpty())
                sModalidad = sTexto;
        }
    }
}

QString PeriodoDeLista(const QString& sPeriodoMMAAAA)
{
    return sPeriodoMMAAAA.right(4) + sPeriodoMMAAAA.left(2);
}

RegistroReporte EligeRegistro(bool bImprimir, bool bSoloAnexos, int nTipDocFila)
{
    if (bImprimir)
        return {QStringLiteral("F36005"), nTipDocFila};
    return {bSoloAnexos ? QStringLiteral("F36006") : QStringLiteral("F36005"), 6};
}
