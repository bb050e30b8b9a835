#include "formulario/core/modGen02.h"

#include "formulario/core/ModGen00.h"
#include "platform/dberror.h"
#include "platform/dialogs.h"
#include "platform/utility.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

using namespace platform::mb;

namespace {

const QString kMascaraFecha = QStringLiteral("__/__/____");
constexpr int kMaxDias = 32767;

std::function<QDate()>& LectorFechaPersonalizado()
{
    static std::function<QDate()> lector;
    return lector;
}

QDate LeeFecha(const QString& sFecha)
{
    return QDate::fromString(sFecha.trimmed(), QStringLiteral("d/M/yyyy"));
}

// What is wrong with the update date against the statement file's date.
QString FallaFechaPersonalizado(const QDate& fecha, const QString& sEtiqueta, bool bSilencioso)
{
    const QDate fechaArchivo = LeeFechaPersonalizado();
    const QString sFechaArchivo = fechaArchivo.toString(QStringLiteral("dd/MM/yyyy"));
    const QString sArchivo = fechaArchivo.toString(QStringLiteral("yyyyMMdd"));
    if (fecha.toString(QStringLiteral("yyyyMMdd")) < sArchivo)
        return QStringLiteral("La ") + sEtiqueta
            + QStringLiteral(" no debe ser menor a la fecha de pedido de archivo personalizado. ")
            + (bSilencioso ? QString() : QStringLiteral("\n"))
            + QStringLiteral("Fecha de pedido de archivo personalizado: ") + sFechaArchivo;
    if (sArchivo != QDate::currentDate().toString(QStringLiteral("yyyyMMdd")))
        return QStringLiteral("El archivo personalizado no es de hoy día, por favor descargue y procese nuevamente el "
                              "archivo");
    if (fechaArchivo.daysTo(fecha) >= 1)
        return QStringLiteral("La fecha de actualización no corresponde con la fecha del personalizado");
    return {};
}

// The message of a failed date check; empty when the date passes.
QString FallaFecha(const QString& sTipo, const QString& sEtiqueta, const QString& sFecha, bool bSilencioso)
{
    if (sFecha == kMascaraFecha)
        return QStringLiteral("Debe registrar la ") + sEtiqueta;
    if (!oUtil->isValidDate(sFecha, QStringLiteral("01/01/1850"), QStringLiteral("01/01/2500")))
        return QStringLiteral("La ") + sEtiqueta + QStringLiteral(" no es válida");
    const QDate fecha = LeeFecha(sFecha);
    if (sTipo == QLatin1String("PRE"))
        return FallaFechaPersonalizado(fecha, sEtiqueta, bSilencioso);
    const QString sFechaOrden = fecha.toString(QStringLiteral("yyyy/MM/dd"));
    const QString sHoyOrden = QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd"));
    if (sTipo == QLatin1String("PAG"))
        return sFechaOrden > sHoyOrden
            ? QStringLiteral("La ") + sEtiqueta + QStringLiteral(" no debe ser mayor a la fecha del sistema ")
            : QString();
    return sFechaOrden < sHoyOrden
        ? QStringLiteral("La ") + sEtiqueta + QStringLiteral(" no debe ser menor a la fecha del sistema ")
        : QString();
}

} // namespace

QString SinBlancos(QStringView sTexto)
{
    qsizetype nInicio = 0;
    qsizetype nFin = sTexto.size();
    while (nInicio < nFin && sTexto[nInicio] == u' ')
        ++nInicio;
    while (nFin > nInicio && sTexto[nFin - 1] == u' ')
        --nFin;
    return sTexto.mid(nInicio, nFin - nInicio).toString();
}

QString RellenaIzquierda(const QString& sTexto, int nAncho, const QString& sRelleno)
{
    const QString sRecortado = sTexto.trimmed();
    const qsizetype nCopias = nAncho - sRecortado.size();
    if (nCopias < 1 || sRelleno.isEmpty())
        return sRecortado;
    return sRecortado + QString(nCopias, sRelleno.front());
}

QString RellenaDerecha(const QString& sTexto, int nAncho)
{
    const qsizetype nBlancos = qMin<qsizetype>(nAncho - sTexto.size(), 200);
    return nBlancos > 0 ? QString(nBlancos, u' ') + sTexto : sTexto;
}

void EnviaTab(const QString& sTecla)
{
    if (sTecla != QLatin1String("TAB"))
        return;
    QWidget* destino = QApplication::focusWidget();
    if (!destino)
        destino = QApplication::activeWindow();
    if (destino)
        QCoreApplication::postEvent(destino,
                                    new QKeyEvent(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier, QStringLiteral("\t")));
}

bool ValidaFecha(const QString& sTipo, const QString& sEtiqueta, const QString& sFecha, const QString& sTitulo,
                 bool bSilencioso)
{
    const QString sFalla = FallaFecha(sTipo, sEtiqueta, sFecha, bSilencioso);
    if (sFalla.isEmpty())
        return true;
    if (bSilencioso)
        sMensaje = sFalla;
    else
        MuestraError(sFalla, sTitulo);
    return false;
}

void MuestraError(const QString& sMensajeError, const QString& sTitulo)
{
    platform::messageBox(sMensajeError, Critical | OkOnly, sTitulo);
}

QString QuitaFormatoMonto(QString& sMonto)
{
    sMonto.remove(u',');
    const QString sRecortado = sMonto.trimmed();
    if (sRecortado.isEmpty() || sRecortado == QLatin1String("0") || sRecortado == QLatin1String("."))
        return QStringLiteral("0.00");
    return sMonto;
}

QString QuitaFormatoMonto(QString&& sMonto)
{
    return QuitaFormatoMonto(sMonto);
}

bool ValidaTeclaMonto(QString& sMonto, int nEnteros, int& nDecimales, bool bSilencioso, const QString& sTitulo)
{
    if (nDecimales == 0)
        nDecimales = 2;
    if (sMonto.isEmpty()) {
        sMonto = QStringLiteral("0.00");
        return true;
    }
    const qsizetype nPunto = sMonto.indexOf(u'.');
    const QString sLimites = QStringLiteral("Registre como máximo %1 enteros y %2 decimales").arg(nEnteros).arg(nDecimales);
    QString sFalla;
    int nIcono = Critical;
    if (nPunto >= 0 ? nPunto > nEnteros : sMonto.size() > nEnteros) {
        sFalla = sLimites;
    } else if (sMonto.count(u'.') > 1) {
        sFalla = QStringLiteral("No registre mas de un punto decimal");
        nIcono = 0;
    } else if (nPunto >= 0 && sMonto.size() - nPunto - 1 > nDecimales) {
        sFalla = sLimites;
    } else {
        return true;
    }
    if (bSilencioso)
        sMensaje = sFalla;
    else
        platform::messageBox(sFalla, nIcono | OkOnly, sTitulo);
    return false;
}

bool ValidaTeclaMonto(QString& sMonto, int nEnteros, int&& nDecimales, bool bSilencioso, const QString& sTitulo)
{
    return ValidaTeclaMonto(sMonto, nEnteros, nDecimales, bSilencioso, sTitulo);
}

bool ValidaTeclaMonto(QString&& sMonto, int nEnteros, int nDecimales, bool bSilencioso, const QString& sTitulo)
{
    return ValidaTeclaMonto(sMonto, nEnteros, nDecimales, bSilencioso, sTitulo);
}

Moneda CeroSiNulo(const QVariant& vValor)
{
    if (vValor.isNull() || vValor.toString().trimmed().isEmpty())
        return {};
    return MontoDeTexto(vValor.toString());
}

QDate LeeFechaPersonalizado()
{
    const QDate fecha = LectorFechaPersonalizado() ? LectorFechaPersonalizado()() : QDate();
    return fecha.isValid() ? fecha : QDate(1899, 12, 30);
}

void FijaLectorFechaPersonalizado(std::function<QDate()> lector)
{
    LectorFechaPersonalizado() = std::move(lector);
}

QString CalculaInteres(const QString& sMonto, const QString& sMontoAdicional, const QDate& dDesde,
                       const QDate& dHasta, const QString& sIndicador, const QString& sPorcentaje)
{
    if (sMonto.isEmpty())
        return {};
    const Moneda monto = MontoDeTexto(sMonto);
    const Moneda adicional = MontoDeTexto(sMontoAdicional.isEmpty() ? QStringLiteral("0") : sMontoAdicional);
    const Moneda tim = MontoDeTexto(sTim);
    const qint64 nDias = qMax<qint64>(dDesde.daysTo(dHasta), 0);
    if (nDias > kMaxDias)
        platform::throwOverflow();

    // Monthly rate in ten-thousandths of a percent.
    qint64 nTasaMensual = tim.Unidades();
    if (sIndicador == QLatin1String("1")) {
        const Moneda porcentaje = MontoDeTexto(sPorcentaje);
        if (porcentaje == Moneda::DesdeEntero(80) || porcentaje == Moneda::DesdeEntero(90))
            nTasaMensual = DivideRedondeando(__int128(tim.Unidades()) * porcentaje.Unidades(), 100 * Moneda::kEscala);
    }
    // Daily rate (rate / 100 / 30) in units of 0.0000001, the factor in units of 0.00001.
    const qint64 nTasaDiaria = DivideRedondeando(nTasaMensual, 3);
    const qint64 nFactor = DivideRedondeando(__int128(nDias) * nTasaDiaria, 100);
    const qint64 nCentimos = DivideRedondeando(__int128((monto + adicional).Unidades()) * nFactor, 10000000);
    return Moneda::DesdeUnidades(nCentimos * 100).Formatea(2, true);
}
