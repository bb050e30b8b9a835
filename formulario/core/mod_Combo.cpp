#include "formulario/core/mod_Combo.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/ModGen00.h"
#include "platform/database.h"
#include "platform/utility.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFontMetrics>
#include <QWidget>

using namespace platform::mb;

namespace {

const QString kFinUIT = QStringLiteral("99991231");

struct Declarante {
    QString sNumDoc;
    QString sNombre;
};

QList<Declarante> LeeDeclarantes(quint8 nTipoDoc)
{
    QVariantList params{nTipoDoc};
    sSQL = QStringLiteral("SELECT doc_id_d, nombre FROM CONT WHERE tip_doc_d = ? ");
    if (ObtieneTipoUsuario() != QLatin1String("0")) {
        sSQL += QStringLiteral("AND usuario = ? ");
        params << sSysUser;
    }
    sSQL += QStringLiteral("ORDER BY DOC_ID_D ASC");
    QList<Declarante> declarantes;
    auto rs = oBaseDatos->openRecordset(sSQL, params, platform::RecordsetType::ForwardOnly);
    for (; !rs->eof(); rs->moveNext())
        declarantes.append({rs->field(QStringLiteral("doc_id_d")).text(), rs->field(QStringLiteral("nombre")).text()});
    return declarantes;
}

} // namespace

QString ObtieneFuncionParam(const QString& sNumero, const QString& sArgumento, int nLargo, int nInicio,
                            CorteFuncion eCorte)
{
    const QString sClave = sNumero == QLatin1String("726") ? QStringLiteral("Mid(Argumento, 1, 3)")
                                                           : QStringLiteral("Argumento");
    const QString sConsulta = QStringLiteral("SELECT Mid(Funcion, ?, ?) AS Func FROM Param "
                                             "WHERE Numero = ? AND %1 = ? ORDER BY Argumento")
                                  .arg(sClave);
    const QString sFunc = oBaseDatos->scalar(sConsulta, {nInicio, nLargo, sNumero, sArgumento}).toString();
    return eCorte == CorteFuncion::Recortado ? sFunc.trimmed() : sFunc;
}

void CargaComboParam(QComboBox& oCombo, const QString& sNumero, const QString& sPatron, int nLargo, int nInicio,
                     quint8 nPosMarca)
{
    QVariantList params{nInicio, nLargo, sNumero, sPatron};
    sSQL = QStringLiteral("SELECT Argumento, Mid(Funcion, ?, ?) AS Func FROM Param "
                          "WHERE Numero = ? AND LIKEJET(Argumento, ?) ");
    if (nPosMarca != 0) {
        sSQL += QStringLiteral("AND Mid(Funcion, ?, 1) = '1' ");
        params << nPosMarca;
    }
    sSQL += QStringLiteral("ORDER BY 1");
    const int nActual = oCombo.currentIndex();
    auto rs = oBaseDatos->openRecordset(sSQL, params);
    for (; !rs->eof(); rs->moveNext()) {
        const QString sFunc = rs->field(QStringLiteral("Func")).text();
        QString sLinea = oUtil->fixedColumn(rs->field(QStringLiteral("Argumento")).text(), 12) + QString(5, u' ');
        if (!sFunc.left(15).trimmed().isEmpty())
            sLinea += sFunc;
        oCombo.addItem(sLinea);
    }
    oCombo.setCurrentIndex(nActual);
}

QString ObtieneTipoUsuario()
{
    const QVariant tipo = oBaseDatos->scalar(QStringLiteral("SELECT Tipo FROM CLAVES WHERE Usuario = ?"), {sSysUser});
    return tipo.isValid() ? tipo.toString() : QStringLiteral("1");
}

// Every start date is read, in date order; the period falls in the range that
// begins with the latest start month not after it.
Moneda ObtieneUIT()
{
    const QString sReferencia = sPeriodo.trimmed() + QStringLiteral("01");
    sSQL = QStringLiteral("SELECT Argumento, Funcion FROM Param WHERE Numero = '404' ORDER BY Argumento");
    QStringList inicios;
    QStringList montos;
    auto rs = oBaseDatos->openRecordset(sSQL);
    for (; !rs->eof(); rs->moveNext()) {
        inicios.append(rs->field(QStringLiteral("Argumento")).text().trimmed());
        montos.append(rs->field(QStringLiteral("Funcion")).text().trimmed());
    }
    inicios.append(kFinUIT);
    for (qsizetype i = 0; i + 1 < inicios.size(); ++i) {
        if (sReferencia >= inicios[i].left(6) && sReferencia < inicios[i + 1].left(6))
            return Moneda::ValorInicial(montos[i]);
    }
    return {};
}

bool CargaNumeroDocumento(QComboBox& oCombo, quint8 nTipoDoc, const QString& sNumDoc, int nSeleccion)
{
    const QList<Declarante> declarantes =
        EjecutaConReintento(QStringLiteral("CargaNumeroDocumento"), [nTipoDoc] { return LeeDeclarantes(nTipoDoc); });
    oCombo.clear();
    if (declarantes.isEmpty()) {
        platform::messageBox(QStringLiteral("No existen declarantes registrados. Para registrar un declarante salga "
                                            "de este módulo y en el menú principal elija la opción: "
                                            "Registro/Declarantes."),
                             Exclamation | OkOnly, kNombreProducto);
        return false;
    }
    int nElegido = -1;
    for (const Declarante& declarante : declarantes) {
        oCombo.addItem(declarante.sNumDoc.leftJustified(20, u' ', true) + declarante.sNombre.leftJustified(60, u' ', true));
        if (nSeleccion != 0 && declarante.sNumDoc == sNumDoc)
            nElegido = oCombo.count() - 1;
    }
    oCombo.setCurrentIndex(nElegido);
    return true;
}

int AnchoPromedioCaracter(const QWidget& oForm)
{
    static const QString sLetras = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    return QFontMetrics(oForm.font()).horizontalAdvance(sLetras) / int(sLetras.size());
}

void AjustaAnchoCombo(const QWidget& oForm, QComboBox& oCombo, int nCaracteres)
{
    oCombo.view()->setMinimumWidth(qMax(0, (nCaracteres - 2) * AnchoPromedioCaracter(oForm)));
}
