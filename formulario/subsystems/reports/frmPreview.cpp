#include "formulario/subsystems/reports/frmPreview.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/subsystems/reports/ErrorImpresion.h"
#include "platform/dberror.h"
#include "platform/dialogs.h"
#include "platform/printer.h"
#include "platform/textfile.h"

#include <QDir>
#include <QGridLayout>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

using namespace platform::mb;

namespace {

const QString kPresPrevia = QStringLiteral("PresPrevia");
const QString kImprimir = QStringLiteral("IMPRIMIR");

// A letter-size sheet in twips: the least a page box shows.
constexpr int kAnchoHoja = 12240;
constexpr int kAltoHoja = 15840;
constexpr int kMargen = 360; // room after the farthest drawing

// Texts and pictures of buttons 1 to 5 of the toolbar; the first has no action.
QList<QPair<QString, QIcon>> BotonesPrevia(const QStyle& estilo)
{
    return {
        {QString(), estilo.standardIcon(QStyle::SP_FileDialogDetailedView)},
        {QStringLiteral("Pag Anterior"), estilo.standardIcon(QStyle::SP_ArrowBack)},
        {QStringLiteral("Pag Sgt"), estilo.standardIcon(QStyle::SP_ArrowForward)},
        {QStringLiteral("Imprimir"), IconoImpresora()},
        {QStringLiteral("Salir"), estilo.standardIcon(QStyle::SP_DialogCloseButton)},
    };
}

double EscalaPantalla(const QWidget& widget)
{
    return double(widget.logicalDpiX()) / platform::kTwipsPerInch;
}

// The twips every page box covers: a sheet, or more where a drawing lies beyond it.
QSize TamanoHojas(const HojasReporte& reporte)
{
    int nAncho = kAnchoHoja, nAlto = kAltoHoja;
    for (const auto& hoja : reporte.hojas) {
        for (const ComandoReporte& comando : hoja) {
            nAncho = qMax(nAncho, qMax(comando.X, comando.X2) + kMargen);
            nAlto = qMax(nAlto, qMax(comando.Y, comando.Y2) + kMargen);
        }
    }
    return {nAncho, nAlto};
}

} // namespace

CajaHoja::CajaHoja(QWidget* parent, int nIndice)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("picPrevia_%1").arg(nIndice));
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

void CajaHoja::EstableceHoja(const QList<ComandoReporte>& comandos, const QColor& color, QSize tamano)
{
    comandos_ = comandos;
    color_ = color;
    const double nEscala = EscalaPantalla(*this);
    resize(qCeil(tamano.width() * nEscala), qCeil(tamano.height() * nEscala));
    update();
}

void CajaHoja::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    painter.fillRect(rect(), color_);
    painter.setRenderHint(QPainter::Antialiasing);
    const double nEscala = EscalaPantalla(*this);
    painter.scale(nEscala, nEscala);
    painter.setPen(QPen(Qt::black, 0));
    // The exposed part of the page, in twips: nothing outside it is drawn.
    const QRect expuesta = event->rect() & rect();
    if (expuesta.isEmpty())
        return;
    const QRectF zona = painter.transform().inverted().mapRect(QRectF(expuesta));
    for (const ComandoReporte& comando : comandos_)
        DibujaComando(painter, comando, zona);
}

frmPreview::frmPreview()
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Presentación Preliminar"));
    CreaControles();
    resize(900, 700);
}

void frmPreview::CreaControles()
{
    tlbPrevia = new QToolBar(this);
    tlbPrevia->setObjectName(QStringLiteral("tlbPrevia"));
    tlbPrevia->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    const QList<QPair<QString, QIcon>> botones = BotonesPrevia(*style());
    for (int i = 0; i < int(tlbBotones.size()); ++i) {
        const int Index = i + 1;
        const auto& [sTexto, icono] = botones[i];
        QAction* accion = tlbPrevia->addAction(icono, sTexto);
        accion->setToolTip(sTexto);
        connect(accion, &QAction::triggered, this, [this, Index] { tlbPrevia_ButtonClick(Index); });
        tlbBotones[i] = qobject_cast<QToolButton*>(tlbPrevia->widgetForAction(accion));
        tlbBotones[i]->setObjectName(QStringLiteral("tlbPrevia_%1").arg(Index));
    }

    picFondo = new QWidget(this);
    picFondo->setObjectName(QStringLiteral("picFondo"));
    picFondo->setAutoFillBackground(true);
    picFondo->setBackgroundRole(QPalette::Dark);
    picPrevia.append(new CajaHoja(picFondo, 0));

    for (int i = 0; i < int(vsbPic.size()); ++i) {
        vsbPic[i] = new QScrollBar(Qt::Vertical, this);
        vsbPic[i]->setObjectName(QStringLiteral("vsbPic_%1").arg(i));
        connect(vsbPic[i], &QScrollBar::valueChanged, this, [this, i] { vsbPic_Change(i); });
    }
    HScroll1 = new QScrollBar(Qt::Horizontal, this);
    HScroll1->setObjectName(QStringLiteral("HScroll1"));
    connect(HScroll1, &QScrollBar::valueChanged, this, &frmPreview::HScroll1_Change);

    auto* grilla = new QGridLayout;
    grilla->setSpacing(0);
    grilla->addWidget(vsbPic[1], 0, 0);
    grilla->addWidget(picFondo, 0, 1);
    grilla->addWidget(vsbPic[0], 0, 2);
    grilla->addWidget(HScroll1, 1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tlbPrevia);
    layout->addLayout(grilla, 1);
}

void frmPreview::Form_Load()
{
    PunteroReloj();
    sModo = kPresPrevia;
    pDesencripta(sArchivoReporte, sModo);
    pMostrar(0);
    PunteroNormal();
}

bool frmPreview::pDesencripta(const QString& sNombreArchivo, const QString& sTipo)
{
    if (sTipo != kPresPrevia)
        sModo = kImprimir;
    const QString sRuta = QDir(sRutaRpt).filePath(sNombreArchivo);
    QStringList lineas;
    if (!ExisteArchivo(sRuta) || !platform::readTextLines(sRuta, &lineas)) {
        platform::messageBox(QStringLiteral("Archivo Físico del Reporte no Existe"), Critical | OkOnly,
                             QStringLiteral("Error al Imprimir"));
        return false;
    }
    if (sTipo == kPresPrevia)
        CargaHojas(LeeHojasReporte(lineas));
    else
        ImprimeLineasReporte(lineas);
    return true;
}

void frmPreview::CargaHojas(const HojasReporte& reporte)
{
    const QSize tamano = TamanoHojas(reporte);
    for (int i = int(picPrevia.size()); i < reporte.hojas.size(); ++i)
        picPrevia.append(new CajaHoja(picFondo, i));
    for (int i = 0; i < reporte.hojas.size(); ++i)
        picPrevia[i]->EstableceHoja(reporte.hojas[i], reporte.color, tamano);
    nTotalHojas = int(reporte.hojas.size());
    nHojaActual = nTotalHojas - 1;
    AjustaBarras();
}

void frmPreview::pMostrar(int Nrohoja)
{
    switch (Nrohoja) {
    case 0:
        nHojaActual = 0;
        MuestraSolo(0);
        break;
    case -2:
        if (nHojaActual > 0)
            MuestraSolo(--nHojaActual);
        break;
    case -1:
        if (nHojaActual != nTotalHojas - 1)
            MuestraSolo(++nHojaActual);
        break;
    default:
        break;
    }
    for (QScrollBar* barra : vsbPic)
        barra->setValue(0);
}

void frmPreview::MuestraSolo(int nHoja)
{
    for (int i = 0; i < picPrevia.size(); ++i) {
        if (i == nHoja) {
            picPrevia[i]->move(-HScroll1->value(), 0);
            picPrevia[i]->show();
        } else {
            picPrevia[i]->hide();
        }
    }
}

bool frmPreview::Imprime()
{
    sModo = kImprimir;
    try {
        return pDesencripta(sArchivoReporte, sModo);
    } catch (const platform::DbError& err) {
        MuestraErrorImpresion(err);
        return false;
    }
}

void frmPreview::tlbPrevia_ButtonClick(int Index)
{
    switch (Index) {
    case 2:
        pMostrar(-2);
        break;
    case 3:
        pMostrar(-1);
        break;
    case 4:
        if (Imprime())
            platform::messageBox(QStringLiteral("Reporte se imprimió satisfactoriamente"), Information | OkOnly,
                                 windowTitle());
        break;
    case 5:
        close();
        break;
    default:
        break;
    }
}

void frmPreview::vsbPic_Change(int Index)
{
    if (bCambiandoBarras)
        return;
    bCambiandoBarras = true;
    const int nValor = vsbPic[Index]->value();
    for (QScrollBar* barra : vsbPic)
        barra->setValue(nValor);
    bCambiandoBarras = false;
    if (nHojaActual >= 0 && nHojaActual < picPrevia.size())
        picPrevia[nHojaActual]->move(picPrevia[nHojaActual]->x(), -nValor);
}

void frmPreview::HScroll1_Change()
{
    if (nHojaActual >= 0 && nHojaActual < picPrevia.size())
        picPrevia[nHojaActual]->move(-HScroll1->value(), picPrevia[nHojaActual]->y());
}

void frmPreview::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    AjustaBarras();
}

void frmPreview::AjustaBarras()
{
    const QSize hoja = picPrevia.first()->size();
    const QSize fondo = picFondo->size();
    for (QScrollBar* barra : vsbPic) {
        barra->setRange(0, qMax(0, hoja.height() - fondo.height()));
        barra->setPageStep(qMax(1, fondo.height()));
        barra->setSingleStep(20);
    }
    HScroll1->setRange(0, qMax(0, hoja.width() - fondo.width()));
    HScroll1->setPageStep(qMax(1, fondo.width()));
    HScroll1->setSingleStep(20);
}
