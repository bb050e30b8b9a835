#include "formulario/core/ClaveDeclaracion.h"

#include "formulario/core/ModGen00.h"
#include "platform/database.h"

#include <QStringList>

QString ClaveDeclaracion::Condicion(const QString& sAlias) const
{
    const QString sPrefijo = sAlias.isEmpty() ? QString() : sAlias + QLatin1Char('.');
    QStringList columnas = {QStringLiteral("tip_doc_d"), QStringLiteral("doc_id_d"), QStringLiteral("periodo"),
                            QStringLiteral("formulario"), QStringLiteral("semana")};
    if (!sCorrel.isEmpty())
        columnas << QStringLiteral("Correl");
    QStringList partes;
    for (const QString& sColumna : columnas)
        partes << sPrefijo + sColumna + QStringLiteral(" = ?");
    return partes.join(QStringLiteral(" AND "));
}

QVariantList ClaveDeclaracion::Parametros() const
{
    QVariantList valores = {nTipoDoc, sNumDoc, sPeriodo, kFormulario, nEntidad};
    if (!sCorrel.isEmpty())
        valores << sCorrel;
    return valores;
}

void ClaveDeclaracion::Escribe(platform::Recordset& rs) const
{
    rs.field(QStringLiteral("tip_doc_d")).setValue(nTipoDoc);
    rs.field(QStringLiteral("doc_id_d")).setValue(sNumDoc);
    rs.field(QStringLiteral("periodo")).setValue(sPeriodo);
    rs.field(QStringLiteral("formulario")).setValue(kFormulario);
    rs.field(QStringLiteral("semana")).setValue(nEntidad);
    if (!sCorrel.isEmpty())
        rs.field(QStringLiteral("Correl")).setValue(sCorrel);
}

ClaveDeclaracion ClaveDeclaracionAbierta(int nTipoDoc, const QString& sNumDoc)
{
    ClaveDeclaracion clave;
    clave.nTipoDoc = nTipoDoc;
    clave.sNumDoc = sNumDoc;
    clave.sPeriodo = sPeriodo;
    clave.nEntidad = nEntidad;
    return clave;
}
