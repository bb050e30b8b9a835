#include "formulario/core/Registros.h"

#include "formulario/core/ClaveDeclaracion.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/ModGen00.h"
#include "platform/database.h"

#include <QAbstractItemView>

using namespace platform::mb;

namespace {

constexpr int kBackspace = 8;
constexpr int kEnter = 13;

bool EsDigito(int nKeyAscii)
{
    return nKeyAscii >= '0' && nKeyAscii <= '9';
}

bool Conserva(int& nKeyAscii, bool bPasa)
{
    if (!bPasa)
        nKeyAscii = 0;
    return bPasa;
}

QString TextoOperacion(quint8 nOperacion)
{
    switch (nOperacion) {
    case operacionGrilla::Actualizar: return QStringLiteral("actualizar");
    case operacionGrilla::Eliminar: return QStringLiteral("eliminar");
    case operacionGrilla::VerEnviadas: return QStringLiteral("ver declaraciones enviadas");
    default: return {};
    }
}

} // namespace

bool SoloNumeros(int& nKeyAscii)
{
    return Conserva(nKeyAscii, EsDigito(nKeyAscii) || nKeyAscii == kBackspace || nKeyAscii == kEnter);
}

bool SoloAlfanumericos(int& nKeyAscii)
{
    const bool bPasa = EsDigito(nKeyAscii) || (nKeyAscii >= 'A' && nKeyAscii <= 'Z')
        || (nKeyAscii >= 'a' && nKeyAscii <= 'z') || nKeyAscii == kEnter || nKeyAscii == kBackspace
        || nKeyAscii == 164 || nKeyAscii == 165;
    return Conserva(nKeyAscii, bPasa);
}

void EliminaDataTabla(const QString& sTabla, int nTipoDoc, const QString& sNumDoc, quint8 nFiltro,
                      const QString& sCorrelativo)
{
    sSQL = QStringLiteral("DELETE FROM ") + sTabla + u' ';
    QVariantList params;
    if (nFiltro == 1) {
        ClaveDeclaracion clave = ClaveDeclaracionAbierta(nTipoDoc, sNumDoc);
        if (bEnviadas && sTabla.left(3).toUpper() != QLatin1String("TMP"))
            clave.sCorrel = sCorrelativo;
        sSQL += QStringLiteral("WHERE ") + clave.Condicion();
        params = clave.Parametros();
    }
    try {
        oBaseDatos->execute(sSQL, params);
    } catch (const platform::DbError&) {
        // The caller goes on; the rows stay where they were.
    }
}

bool ExisteDeclaracion(const QString& sRuc)
{
    sSQL = QStringLiteral("SELECT 'x' FROM CAB WHERE tip_doc_d = 6 AND doc_id_d = ? AND formulario = '0913' "
                          "AND Semana = ?");
    return oBaseDatos->scalar(sSQL, {sRuc, nEntidad}).isValid();
}

bool VerificaTablaValor(const QString& sRuc, quint8 nMensaje)
{
    const bool bExiste =
        EjecutaConReintento(QStringLiteral("VerificaTablaValor"), [&sRuc] { return ExisteDeclaracion(sRuc); });
    if (bExiste && nMensaje == 1)
        AvisaDeclaracionExistente();
    return bExiste;
}

void AvisaDeclaracionExistente()
{
    platform::messageBox(QStringLiteral("Ya existe una declaración para el RUC seleccionado. Elimine la "
                                        "declaración e importe el archivo nuevamente."),
                         Exclamation | OkOnly, QStringLiteral("Información"));
}

bool ValidaSeleccionGrilla(const QAbstractItemView& oGrilla, quint8 nOperacion)
{
    const QAbstractItemModel* modelo = oGrilla.model();
    QString sMensajeGrilla;
    if (!modelo || modelo->rowCount() == 0)
        sMensajeGrilla = QStringLiteral("No existen registros disponibles para ");
    else if (modelo->index(oGrilla.currentIndex().row(), 1).data().toString().isEmpty())
        sMensajeGrilla = QStringLiteral("Debe seleccionar algún registro para realizar la operación ");
    else
        return true;
    platform::messageBox(sMensajeGrilla + TextoOperacion(nOperacion), Information | OkOnly,
                         QStringLiteral("Información"));
    return false;
}

QString FormateaCodigo(const QString& sCodigo, bool bSeisCaracteres)
{
    if (bSeisCaracteres) {
        const QString sRecortado = sCodigo.trimmed();
        return u'0' + sRecortado.left(3) + u'0' + sRecortado.right(1);
    }
    return sCodigo.mid(1, 3) + sCodigo.right(1);
}
