#include "formulario/subsystems/reports/frmImprimir.h"

#include "formulario/core/ConfiguracionRegional.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/GrillaRecordset.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/markup/ArchivoSpool.h"
#include "formulario/subsystems/reports/DeclaracionImpresa.h"
#include "formulario/subsystems/reports/ErrorImpresion.h"
#include "formulario/markup/ImpLinea.h"
#include "platform/database.h"
#include "platform/statusbar.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

using namespace platform::mb;

namespace {

const QList<ColumnaGrilla> kColumnas{
    {QStringLiteral("tip_doc_d"), QStringLiteral("tip_doc_d")},
    {QStringLiteral("Tipo docum."), QStringLiteral("tipo_doc")},
    {QStringLiteral("R.U.C."), QStringLiteral("Doc_id_d")},
    {QStringLiteral("Razón social"), QStringLiteral("Nombre")},
    {QStringLiteral("Formulario"), QStringLiteral("Formulario")},
    {QStringLiteral("Entidad"), QStringLiteral("Entidad")},
    {QStringLiteral("semana"), QStringLiteral("semana")},
    {QStringLiteral("Periodo"), QStringLiteral("periodo")},
    {QStringLiteral("Correlativo"), QStringLiteral("correl")},
};

struct CasillaAnexo {
    int nIndice;
    const char* sTexto;
    int nFila, nColumna;
};

const CasillaAnexo kAnexos[] = {
    {frmImprimir::AnexoAcogidos, "Resoluciones - Acogidos", 0, 0},
    {frmImprimir::AnexoNoAcogidos, "Resoluciones - No acogidos", 0, 1},
    {frmImprimir::AnexoOtras, "Otras resoluciones", 0, 2},
    {frmImprimir::AnexoCartaFianza, "Garantía - Reporte de Carta  Fianza", 1, 0},
    {frmImprimir::AnexoHipoteca, "Garantía - Reporte de Garantía Hipotecaria", 1, 1},
};

const char* const kOpciones[] = {"Declaración", "Anexos", "Declaración y anexos"};
const char* const kBotones[] = {"&Preliminar", "&Imprimir", "&Salir"};

constexpr int kPreliminar = 0;
constexpr int kImprimir = 1;
constexpr int kSalir = 2;

// The main window's status bar, where the chosen row is shown.
platform::HostStatusBar* BarraEstado()
{
    for (QWidget* ventana : QApplication::topLevelWidgets()) {
        if (auto* barra = ventana->findChild<platform::HostStatusBar*>(QStringLiteral("BarradeEstadoVRD1")))
            return barra;
    }
    return nullptr;
}

// The list chooses whole rows: the current cell is drawn like the rest of its
// row, without the focus frame that would pale its text on the highlight.
class CeldaDeFila : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->state &= ~QStyle::State_HasFocus;
    }
};

} // namespace

frmImprimir::frmImprimir()
{
    setObjectName(QStringLiteral("frmImprimir"));
    setWindowTitle(QStringLiteral("Imprimir"));
    CreaControles();
}

void frmImprimir::CreaControles()
{
    Frame2 = new QGroupBox(QStringLiteral("Declaraciones registradas"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    dtaDecRegis = new GrillaRecordset(kColumnas, this);
    dtaDecRegis->setObjectName(QStringLiteral("dtaDecRegis"));
    grdImprimir = new QTableView(Frame2);
    grdImprimir->setObjectName(QStringLiteral("grdImprimir"));
    grdImprimir->setModel(dtaDecRegis);
    grdImprimir->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdImprimir->setSelectionMode(QAbstractItemView::SingleSelection);
    grdImprimir->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdImprimir->setTabKeyNavigation(false);
    grdImprimir->setItemDelegate(new CeldaDeFila(grdImprimir));
    grdImprimir->verticalHeader()->hide();
    grdImprimir->setColumnHidden(ColTipDoc, true);
    grdImprimir->setColumnHidden(ColSemana, true);
    // Every column as wide as its heading and values; the name takes what is left, on one line.
    grdImprimir->setWordWrap(false);
    grdImprimir->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    grdImprimir->horizontalHeader()->setSectionResizeMode(ColNombre, QHeaderView::Stretch);
    grdImprimir->installEventFilter(this);
    connect(grdImprimir, &QTableView::doubleClicked, this, &frmImprimir::grdImprimir_DblClick);
    connect(grdImprimir->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &frmImprimir::grdImprimir_RowColChange);
    (new QVBoxLayout(Frame2))->addWidget(grdImprimir);

    Frame1 = new QGroupBox(QStringLiteral("Opciones"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* opciones = new QHBoxLayout(Frame1);
    for (int i = 0; i < int(OptImp.size()); ++i) {
        OptImp[i] = new QRadioButton(QString::fromUtf8(kOpciones[i]), Frame1);
        OptImp[i]->setObjectName(QStringLiteral("OptImp_%1").arg(i));
        connect(OptImp[i], &QRadioButton::clicked, this, [this, i] { OptImp_Click(i); });
        opciones->addWidget(OptImp[i]);
    }
    OptImp[0]->setChecked(true);

    Frame3 = new QGroupBox(QStringLiteral("Anexos"), this);
    Frame3->setObjectName(QStringLiteral("Frame3"));
    auto* anexos = new QGridLayout(Frame3);
    for (const CasillaAnexo& anexo : kAnexos) {
        QCheckBox* casilla = new QCheckBox(QString::fromUtf8(anexo.sTexto), Frame3);
        casilla->setObjectName(QStringLiteral("chkAnexos_%1").arg(anexo.nIndice));
        casilla->setEnabled(false);
        chkAnexos[anexo.nIndice] = casilla;
        anexos->addWidget(casilla, anexo.nFila, anexo.nColumna);
    }

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    for (int i = 0; i < int(CmdImprimir.size()); ++i) {
        CmdImprimir[i] = new QPushButton(QString::fromUtf8(kBotones[i]), this);
        CmdImprimir[i]->setObjectName(QStringLiteral("CmdImprimir_%1").arg(i));
        CmdImprimir[i]->setAutoDefault(false); // Enter in an option presses no button
        connect(CmdImprimir[i], &QPushButton::clicked, this, [this, i] { CmdImprimir_Click(i); });
        botones->addWidget(CmdImprimir[i]);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame2, 1);
    layout->addWidget(Frame1);
    layout->addWidget(Frame3);
    layout->addLayout(botones);
    resize(760, 480);
}

void frmImprimir::Form_Load()
{
    setWindowTitle(QStringLiteral("Imprimir "));
    grdImprimir->setColumnHidden(ColCorrel, !bEnviadas);
    Carga_Grilla();
}

void frmImprimir::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void frmImprimir::Form_Activate()
{
    if (!grdImprimir->isEnabled())
        return;
    grdImprimir->setFocus();
    grdImprimir_RowColChange();
}

// A list that cannot be read stays empty, and the user is told why.
void frmImprimir::Carga_Grilla()
{
    try {
        const bool bFiltraUsuario = ObtieneTipoUsuario() != QLatin1String("0");
        sSQL = ConsultaDeclaraciones(bEnviadas, bFiltraUsuario);
        const auto rs = oBaseDatos->openRecordset(sSQL, bFiltraUsuario ? QVariantList{sSysUser} : QVariantList{});
        dtaDecRegis->CargaRecordset(*rs);
    } catch (const platform::DbError& err) {
        dtaDecRegis->Limpia();
        PunteroNormal();
        MuestraErrorImpresion(err);
    }
    const bool bHayFilas = dtaDecRegis->rowCount() > 0;
    grdImprimir->setEnabled(bHayFilas);
    if (bHayFilas)
        PonFilaActual(0);
}

int frmImprimir::FilaActual() const
{
    const QModelIndex actual = grdImprimir->currentIndex();
    return actual.isValid() ? actual.row() : -1;
}

void frmImprimir::PonFilaActual(int nFila)
{
    grdImprimir->setCurrentIndex(dtaDecRegis->index(nFila, ColRuc));
}

QString frmImprimir::Columna(int nColumna) const
{
    return dtaDecRegis->Texto(FilaActual(), nColumna);
}

void frmImprimir::grdImprimir_RowColChange()
{
    platform::HostStatusBar* barra = BarraEstado();
    if (!barra)
        return;
    barra->setNumdoc(Columna(ColRuc));
    barra->setRazonsocial(Columna(ColNombre));
    barra->setPeriodo_ejercicio(Columna(ColPeriodo));
    barra->setFormulario(Columna(ColFormulario));
}

void frmImprimir::grdImprimir_DblClick()
{
    CmdImprimir_Click(kPreliminar);
}

bool frmImprimir::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grdImprimir && event->type() == QEvent::KeyPress) {
        const int nTecla = static_cast<QKeyEvent*>(event)->key();
        if (nTecla == Qt::Key_Return || nTecla == Qt::Key_Enter) {
            CmdImprimir_Click(kPreliminar);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmImprimir::OptImp_Click(int Index)
{
    for (const CasillaAnexo& anexo : kAnexos) {
        chkAnexos[anexo.nIndice]->setEnabled(Index != 0);
        if (Index == 0)
            chkAnexos[anexo.nIndice]->setChecked(false);
    }
}

bool frmImprimir::AnexoMarcado() const
{
    for (const CasillaAnexo& anexo : kAnexos) {
        if (chkAnexos[anexo.nIndice]->isChecked())
            return true;
    }
    return false;
}

EleccionReporte frmImprimir::Eleccion() const
{
    EleccionReporte eleccion;
    eleccion.bDeclaracion = !OptImp[1]->isChecked();
    eleccion.bAcogidos = chkAnexos[AnexoAcogidos]->isChecked();
    eleccion.bOtras = chkAnexos[AnexoOtras]->isChecked();
    eleccion.bNoAcogidos = chkAnexos[AnexoNoAcogidos]->isChecked();
    eleccion.bCartaFianza = chkAnexos[AnexoCartaFianza]->isChecked();
    eleccion.bHipoteca = chkAnexos[AnexoHipoteca]->isChecked();
    return eleccion;
}

void frmImprimir::CmdImprimir_Click(int Index)
{
    if (Index != kSalir && !OptImp[0]->isChecked() && !AnexoMarcado()) {
        platform::messageBox(QStringLiteral("Debe indicar el/los  anexo(s)"), Critical | OkOnly, windowTitle());
        return;
    }
    if (!VerificaConfiguracionRegional()) {
        PunteroNormal();
        return;
    }
    if (Index == kSalir) {
        dtaDecRegis->Limpia();
        close();
        return;
    }
    const int nPosicion = FilaActual();
    if (nPosicion < 0)
        return;
    sPeriodo = PeriodoDeLista(Columna(ColPeriodo));
    nEntidad = Columna(ColSemana).trimmed().toInt();
    sRuc = Columna(ColRuc);
    sRazonSocial = Columna(ColNombre);
    sCorrel = Columna(ColCorrel);
    ArchivoSpool archivo;
    try {
        CargarCasillas();
        nModoReporte = 2;
        sSalida = kSalidaArchivo;
        const RegistroReporte registro =
            EligeRegistro(Index == kImprimir, OptImp[1]->isChecked(), Columna(ColTipDoc).toInt());
        archivo = GeneraArchivoSpool(*oBaseDatos, sRutaRpt, registro.sCodRep, sRuc, registro.nTipDoc, sSysUser,
                                     [this](const QString& sRuta) {
                                         sArchivo = sRuta;
                                         ImprimirReporte2(QString());
                                     });
    } catch (const platform::DbError& err) {
        // A report that could not be written whole is neither registered nor shown.
        PunteroNormal();
        MuestraErrorImpresion(err);
        return;
    }
    // A click given while the report was written runs only now that its
    // registration is committed: a preview of its own never waits on the
    // user while the database's write lock is held.
    QCoreApplication::processEvents();
    sArchivo = archivo.sRuta;
    PunteroReloj();
    MuestraReporte(archivo.sNombre, Index == kImprimir ? QStringLiteral("xx") : QStringLiteral("Vprevia"));
    PunteroNormal();
    QCoreApplication::processEvents();
    if (Index == kPreliminar)
        Carga_Grilla();
    if (nPosicion < dtaDecRegis->rowCount())
        PonFilaActual(nPosicion);
}

void frmImprimir::CargarCasillas()
{
    LeeCasillas(Columna(ColTipDoc).toInt(), Columna(ColRuc));
}

void frmImprimir::ImprimirReporte2(const QString&)
{
    PunteroReloj();
    nLargoPag = 104;
    nDestino = 1;
    if (nModoReporte == 2) {
        try {
            ImprimeDeclaracion(Eleccion(), Columna(ColTipDoc).toInt());
        } catch (...) {
            // The caller tells the error once the registration is undone.
            CierraArchivo(nArchivo);
            PunteroNormal();
            throw;
        }
    }
    PunteroNormal();
}
