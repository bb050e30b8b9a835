#include "formulario/shell/MDIFrm.h"

#include "formulario/core/Formularios.h"

#include "formulario/shell/FrmConsultas.h"
#include "formulario/shell/FrmContAbrir.h"
#include "formulario/shell/FrmContAbrirE.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/ModGen01.h"
#include "formulario/shell/frmAcercade.h"
#include "formulario/subsystems/import/FrmImportar.h"
#include "formulario/subsystems/reports/frmImprimir.h"
#include "platform/profile.h"
#include "platform/statusbar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QLabel>
#include <QLinearGradient>
#include <QMdiArea>
#include <QMenuBar>
#include <QPainter>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>

using namespace platform::mb;

namespace {

constexpr int kLeft = -50;
constexpr int kTop = -50;
constexpr int kWidth = 9720;
constexpr int kHeight = 7320;
constexpr int kAyudaCargado = 1007;
constexpr int kAyudaGeneral = 1014;

int Pixeles(int nTwips)
{
    return nTwips / 15;
}

// The strip under the toolbar.
QPixmap DibujoFranja(int nAncho, int nAlto)
{
    QPixmap dibujo(nAncho, nAlto);
    QPainter p(&dibujo);
    QLinearGradient degradado(0, 0, nAncho, 0);
    degradado.setColorAt(0, QColor(0x00, 0x33, 0x66));
    degradado.setColorAt(1, QColor(0x66, 0x99, 0xCC));
    p.fillRect(dibujo.rect(), degradado);
    QFont fuente(QStringLiteral("Arial"));
    fuente.setPixelSize(nAlto * 11 / 20);
    fuente.setBold(true);
    fuente.setItalic(true);
    p.setFont(fuente);
    p.setPen(Qt::white);
    p.drawText(dibujo.rect().adjusted(12, 0, -12, 0), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Sistema Vardeno"));
    fuente.setPixelSize(nAlto * 7 / 10);
    p.setFont(fuente);
    p.drawText(dibujo.rect().adjusted(12, 0, -12, 0), Qt::AlignVCenter | Qt::AlignRight, QStringLiteral("0913"));
    return dibujo;
}

} // namespace

// ---------------------------------------------------------------------------

MDIFrm::MDIFrm()
{
    setObjectName(QStringLiteral("MDIFrm"));
    setWindowTitle(QStringLiteral("0913 - Régimen de Reprogramación de Deudas"));
    // No minimize or maximize box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowCloseButtonHint);

    CreaMenus();
    CreaToolbar();

    auto* centro = new QWidget(this);
    auto* layout = new QVBoxLayout(centro);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Picture1 = new QLabel(centro);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(DibujoFranja(Pixeles(kWidth), 36));
    Picture1->setMouseTracking(true);
    Picture1->installEventFilter(this);
    AreaCliente = new QMdiArea(centro);
    AreaCliente->setObjectName(QStringLiteral("AreaCliente"));
    AreaCliente->setBackground(palette().dark());
    AreaCliente->viewport()->setMouseTracking(true);
    AreaCliente->viewport()->installEventFilter(this);
    layout->addWidget(Picture1);
    layout->addWidget(AreaCliente, 1);
    setCentralWidget(centro);

    BarradeEstadoVRD1 = new platform::HostStatusBar(this);
    BarradeEstadoVRD1->setObjectName(QStringLiteral("BarradeEstadoVRD1"));
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(BarradeEstadoVRD1, 1);
}

void MDIFrm::CreaMenus()
{
    const auto item = [this](QMenu* menu, const char* nombre, const QString& texto, void (MDIFrm::*accion)()) {
        QAction* opcion = menu->addAction(texto);
        opcion->setObjectName(QString::fromLatin1(nombre));
        if (accion)
            connect(opcion, &QAction::triggered, this, accion);
        return opcion;
    };

    mnuDeclara = menuBar()->addMenu(QStringLiteral("&Declaraciones"));
    mnuDeclara->setObjectName(QStringLiteral("mnuDeclara"));
    mnuNueva = item(mnuDeclara, "mnuNueva", QStringLiteral("&Nueva"), nullptr);
    mnuNueva->setVisible(false);
    mnuNueva->setEnabled(false);
    mnuModificar = item(mnuDeclara, "mnuModificar", QStringLiteral("&Actualizar"), &MDIFrm::mnuModificar_Click);
    mnuEliminar = item(mnuDeclara, "mnuEliminar", QStringLiteral("&Eliminar"), &MDIFrm::mnuEliminar_Click);
    mnuDeclara->addSeparator()->setObjectName(QStringLiteral("Rayita1"));
    mnuImportar = item(mnuDeclara, "mnuImportar", QStringLiteral("Impor&tar Estado de Adeudos"),
                       &MDIFrm::mnuImportar_Click);
    mnuDeclara->addSeparator()->setObjectName(QStringLiteral("Rayita2"));
    mnuImprimir = item(mnuDeclara, "mnuImprimir", QStringLiteral("&Imprimir"), &MDIFrm::mnuImprimir_Click);
    mnuCopiar = item(mnuDeclara, "mnuCopiar", QStringLiteral("&Copiar"), nullptr);
    mnuCopiar->setEnabled(false);
    mnuDeclara->addSeparator()->setObjectName(QStringLiteral("Rayita"));
    mnuSalir = item(mnuDeclara, "mnuSalir", QStringLiteral("&Salir"), &MDIFrm::mnuSalir_Click);

    mnuDeclaraE = menuBar()->addMenu(QStringLiteral("Declaraciones &Enviadas"));
    mnuDeclaraE->setObjectName(QStringLiteral("mnuDeclaraE"));
    mnuModificarE = item(mnuDeclaraE, "mnuModificarE", QStringLiteral("&Ver declaraciones enviadas"),
                         &MDIFrm::mnuModificarE_Click);
    mnuEliminarE = item(mnuDeclaraE, "mnuEliminarE", QStringLiteral("&Eliminar"), &MDIFrm::mnuEliminarE_Click);
    mnuImprimirE = item(mnuDeclaraE, "mnuImprimirE", QStringLiteral("&Imprimir"), &MDIFrm::mnuImprimirE_Click);

    mnuConsultas = menuBar()->addMenu(QStringLiteral("&Consultas"));
    mnuConsultas->setObjectName(QStringLiteral("mnuConsultas"));
    const QList<QPair<int, QString>> consultas{
        {0, QStringLiteral("Tipo de documento")},
        {4, QStringLiteral("Tributos")},
        {5, QStringLiteral("Códigos de motivos de desacuerdo")},
        {6, QStringLiteral("Tipos de impugnación")},
        {7, QStringLiteral("Tributos entes")},
        {8, QStringLiteral("Formularios tributos")},
        {9, QStringLiteral("Factores de actualización")},
    };
    for (const auto& [nIndex, sTexto] : consultas) {
        QAction* opcion = mnuConsultas->addAction(sTexto);
        opcion->setObjectName(QStringLiteral("mnuCons_%1").arg(nIndex));
        if (nIndex == 0 || nIndex == 4)
            connect(opcion, &QAction::triggered, this, [this, nIndex] { mnuCons_Click(nIndex); });
        else
            opcion->setEnabled(false);
        mnuCons_.insert(nIndex, opcion);
    }

    mnuayuda = menuBar()->addMenu(QStringLiteral("&Ayuda"));
    mnuayuda->setObjectName(QStringLiteral("mnuayuda"));
    mnuContenido = item(mnuayuda, "mnuContenido", QStringLiteral("&Contenido"), &MDIFrm::mnuContenido_Click);
    mnuBienvenida = item(mnuayuda, "mnuBienvenida", QStringLiteral("&Bienvenida"), nullptr);
    mnuBienvenida->setVisible(false);
    mnuBienvenida->setEnabled(false);
    mnuayuda->addSeparator()->setObjectName(QStringLiteral("raya2"));
    mnuAcercade = item(mnuayuda, "mnuAcercade", QStringLiteral("&Acerca de VRD"), &MDIFrm::mnuAcercade_Click);
}

void MDIFrm::CreaToolbar()
{
    Toolbar1 = addToolBar(QStringLiteral("Toolbar1"));
    Toolbar1->setObjectName(QStringLiteral("Toolbar1"));
    Toolbar1->setMovable(false);
    Toolbar1->setIconSize(QSize(24, 24));

    const QStyle* estilo = style();
    const QList<std::tuple<int, QString, QIcon>> botones{
        {1, QStringLiteral("Actualizar"), estilo->standardIcon(QStyle::SP_FileDialogContentsView)},
        {2, QStringLiteral("Eliminar"), estilo->standardIcon(QStyle::SP_TrashIcon)},
        {4, QStringLiteral("Importar"), estilo->standardIcon(QStyle::SP_DriveFDIcon)},
        {5, QStringLiteral("Copiar"), estilo->standardIcon(QStyle::SP_FileLinkIcon)},
        {7, QStringLiteral("Imprimir"), IconoImpresora()},
        {9, QStringLiteral("Salir"), estilo->standardIcon(QStyle::SP_DialogCloseButton)},
        {11, QStringLiteral("Número de orden"), estilo->standardIcon(QStyle::SP_FileDialogListView)},
        {12, QStringLiteral("Help"), estilo->standardIcon(QStyle::SP_MessageBoxQuestion)},
    };
    int nSiguiente = 1;
    for (const auto& [nIndex, sTexto, icono] : botones) {
        for (; nSiguiente < nIndex; ++nSiguiente)
            Toolbar1->addSeparator();
        QAction* boton = Toolbar1->addAction(icono, sTexto);
        boton->setObjectName(QStringLiteral("Toolbar1_%1").arg(nIndex));
        connect(boton, &QAction::triggered, this, [this, nIndex] { Toolbar1_ButtonClick(nIndex); });
        botones_.insert(nIndex, boton);
        nSiguiente = nIndex + 1;
    }
}

void MDIFrm::Form_Load()
{
    PosicionFija();
    ConfiguraInis();
    LeeConfiguracion();
    BarradeEstadoVRD1->setNumdoc(QString());
    BarradeEstadoVRD1->setRazonsocial(QString());
    BarradeEstadoVRD1->setFormulario(QStringLiteral("0913"));
    BarradeEstadoVRD1->setPeriodo_ejercicio(PeriodoMMAAAA(sPeriodo));
    BarradeEstadoVRD1->setEsruc(1);
    nHelpContextID = kAyudaCargado;
}

void MDIFrm::PosicionFija()
{
    setWindowState(Qt::WindowNoState);
    setFixedSize(Pixeles(kWidth), Pixeles(kHeight));
    move(Pixeles(kLeft), Pixeles(kTop));
}

bool MDIFrm::ConfiguraInis()
{
    platform::writeWinIni(QStringLiteral("intl"), QStringLiteral("sDecimal"), QStringLiteral("."));
    platform::writeWinIni(QStringLiteral("intl"), QStringLiteral("sThousand"), QStringLiteral(","));
    return true;
}

void MDIFrm::EstableceAyudaGeneral()
{
    nHelpContextID = kAyudaGeneral;
}

void MDIFrm::MostrarHelp()
{
    const QString sTitulo = QStringLiteral("Ayuda");
    if (!QFileInfo(sArchivoAyuda).isFile()) {
        platform::messageBox(QStringLiteral("No se encuentra el archivo de ayuda %1").arg(sArchivoAyuda),
                             Exclamation, sTitulo);
        return;
    }
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(sArchivoAyuda))) {
        platform::messageBox(QStringLiteral("No se pudo abrir el archivo de ayuda %1").arg(sArchivoAyuda),
                             Exclamation, sTitulo);
    }
}

// ---------------------------------------------------------------------------
// Commands

void MDIFrm::mnuModificar_Click()
{
    EstableceAyudaGeneral();
    nModo = 1;
    MuestraFormularioNuevo<FrmContAbrir>();
}

void MDIFrm::mnuEliminar_Click()
{
    EstableceAyudaGeneral();
    nModo = 3;
    MuestraFormularioNuevo<FrmContAbrir>();
}

void MDIFrm::mnuImportar_Click()
{
    EstableceAyudaGeneral();
    MuestraFormularioNuevo<FrmImportar>();
}

void MDIFrm::mnuImprimir_Click()
{
    EstableceAyudaGeneral();
    bEnviadas = false;
    MuestraFormularioNuevo<frmImprimir>();
}

void MDIFrm::mnuSalir_Click()
{
    platform::endProgram(0);
}

void MDIFrm::mnuModificarE_Click()
{
    EstableceAyudaGeneral();
    nModo = 1;
    PunteroReloj();
    MuestraFormularioNuevo<FrmContAbrirE>();
    PunteroNormal();
}

void MDIFrm::mnuEliminarE_Click()
{
    EstableceAyudaGeneral();
    nModo = 3;
    PunteroReloj();
    MuestraFormularioNuevo<FrmContAbrirE>();
    PunteroNormal();
}

void MDIFrm::mnuImprimirE_Click()
{
    EstableceAyudaGeneral();
    bEnviadas = true;
    MuestraFormularioNuevo<frmImprimir>();
    PunteroNormal();
}

void MDIFrm::mnuCons_Click(int Index)
{
    switch (Index) {
    case 0: sTipoConsulta = QStringLiteral("R"); break;
    case 4: sTipoConsulta = QStringLiteral("T"); break;
    default: return;
    }
    MuestraFormularioNuevo<FrmConsultas>();
}

void MDIFrm::mnuContenido_Click()
{
    MostrarHelp();
}

void MDIFrm::mnuAcercade_Click()
{
    MuestraFormularioNuevo<frmAcercade>();
}

void MDIFrm::Toolbar1_ButtonClick(int Index)
{
    switch (Index) {
    case 1: mnuModificar_Click(); break;
    case 2: mnuEliminar_Click(); break;
    case 4: mnuImportar_Click(); break;
    case 7: mnuImprimir_Click(); break;
    case 9: mnuSalir_Click(); break;
    case 12: mnuContenido_Click(); break;
    default: break;
    }
}

// ---------------------------------------------------------------------------
// Window events

void MDIFrm::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange
        && (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))) {
        setWindowState(Qt::WindowNoState);
        // Once the window system has finished the change it was making.
        QMetaObject::invokeMethod(this, &MDIFrm::PosicionFija, Qt::QueuedConnection);
    }
}

void MDIFrm::closeEvent(QCloseEvent* event)
{
    event->accept();
    MDIForm_Unload();
}

void MDIFrm::MDIForm_Unload()
{
    platform::endProgram(0);
}

bool MDIFrm::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseMove) {
        if (watched == AreaCliente->viewport())
            BarradeEstadoVRD1->setRazonsocial(QString());
        EstableceAyudaGeneral();
    }
    return QMainWindow::eventFilter(watched, event);
}
