#include "formulario/subsystems/import/FrmImportar.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/FondoCaja.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Registros.h"
#include "formulario/core/ConfiguracionRegional.h"
#include "formulario/core/modGen02.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/subsystems/import/ArchivoEstado.h"
#include "formulario/subsystems/import/CargaDeudas.h"
#include "formulario/subsystems/import/FileBrowser.h"
#include "formulario/core/ControlValor.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/displaybox.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QScopedValueRollback>

using namespace platform::mb;

namespace {

const QString kRutina = QStringLiteral("CmdGrabar_Click");
const QString kFormulario = QStringLiteral("0913");

// Positions in twips, as the dialog was designed; 15 twips a pixel.
constexpr int Px(int nTwips) { return nTwips / 15; }
constexpr int kAncho = 6960;
constexpr int kAltoBorde = 450; // caption and borders, counted in the form's height
constexpr int kAltoNormal = 5490;
constexpr int kAltoEspera = 6420;
constexpr int kBotonesNormal = 4560;
constexpr int kBotonesEspera = 5520;

// The import stops at once: the central handler answered "end" with no
// transaction open.
struct ImportacionDetenida {};
// The central handler answered "again" to an error met inside the import's
// transaction, which was rolled back before it asked.
struct ReintentaImportacion {};

// The guarantee box of each entity: the seventh of its block.
QString CasillaGarantia(int nEntidadImp)
{
    switch (nEntidadImp) {
    case 1: return QStringLiteral("506");
    case 2: return QStringLiteral("513");
    case 3: return QStringLiteral("520");
    case 5: return QStringLiteral("527");
    case 8: return QStringLiteral("534");
    default: return QString();
    }
}

// Deletes the file when it is there; whatever goes wrong is ignored.
void BorroErr(const QString& sArc)
{
    if (QFileInfo(sArc).isFile())
        QFile::remove(sArc);
}

// An empty guarantee value is stored as no value.
QVariant ValorGarantia(const QString& sValor)
{
    return sValor.isEmpty() ? QVariant() : QVariant(sValor);
}

QLabel* Etiqueta(const QString& sTexto, QWidget* padre, int x, int y, int ancho)
{
    auto* etiqueta = new QLabel(sTexto, padre);
    etiqueta->setGeometry(Px(x), Px(y), Px(ancho), Px(255));
    return etiqueta;
}

} // namespace

FrmImportar::FrmImportar()
{
    setObjectName(QStringLiteral("FrmImportar"));
    setWindowTitle(QStringLiteral("Importar información de Estado de Adeudos"));
    CreaControles();
    platform::showTextsFromStart(*this);
}

FrmImportar::~FrmImportar() = default;

void FrmImportar::CreaControles()
{
    Frame2 = new QGroupBox(QStringLiteral("Declarante"), this);
    Frame2->setGeometry(Px(120), Px(60), Px(kAncho - 240), Px(1560));
    Etiqueta(QStringLiteral("Número de ruc"), Frame2, 120, 390, 2280);
    CmbRuc = new QComboBox(Frame2);
    CmbRuc->setGeometry(Px(2400), Px(360), Px(4080), Px(315));
    Etiqueta(QStringLiteral("Nombre o razón social"), Frame2, 120, 780, 2280);
    txtNombre = new QLineEdit(Frame2);
    txtNombre->setGeometry(Px(2400), Px(750), Px(4080), Px(315));
    PintaFondo(*txtNombre, kGris);
    Etiqueta(QStringLiteral("Entidad"), Frame2, 120, 1170, 2280);
    CmbEntidad = new QComboBox(Frame2);
    CmbEntidad->setGeometry(Px(2400), Px(1140), Px(4080), Px(315));

    Frame1 = new QGroupBox(QStringLiteral("Archivo"), this);
    Frame1->setGeometry(Px(120), Px(1680), Px(kAncho - 240), Px(2820));
    auto* ayuda = Etiqueta(
        QStringLiteral("Seleccione la unidad y el directorio desde el que desea importar la información"), Frame1,
        120, 330, kAncho - 480);
    ayuda->setWordWrap(true);
    ayuda->resize(ayuda->width(), Px(480));
    Etiqueta(QStringLiteral("Unidades de Disco :"), Frame1, 120, 840, 3000);
    DrvLst = new DriveList(Frame1);
    DrvLst->setGeometry(Px(120), Px(1080), Px(3120), Px(315));
    Etiqueta(QStringLiteral("Directorios :"), Frame1, 120, 1440, 3000);
    DirList = new DirectoryList(Frame1);
    DirList->setGeometry(Px(120), Px(1680), Px(3120), Px(1020));
    auto* archivos = Etiqueta(QStringLiteral("&Archivos a Importar :"), Frame1, 3360, 840, 3000);
    flListaFiles = new FileList(Frame1);
    flListaFiles->setGeometry(Px(3360), Px(1080), Px(3120), Px(1620));
    archivos->setBuddy(flListaFiles);

    Frame3 = new QGroupBox(QStringLiteral("Espere un momento..."), this);
    Frame3->setGeometry(Px(120), Px(4530), Px(kAncho - 240), Px(900));
    pbar1 = new QProgressBar(Frame3);
    pbar1->setGeometry(Px(120), Px(270), Px(kAncho - 480), Px(255));
    pbar1->setTextVisible(false);
    lblbar1 = Etiqueta(QString(), Frame3, 120, 570, kAncho - 480);

    CmdGrabar = new QPushButton(QStringLiteral("&Aceptar"), this);
    CmdCancelar = new QPushButton(QStringLiteral("&Salir"), this);
    CmdGrabar->setDefault(true);

    connect(CmbRuc, &QComboBox::activated, this, [this] { CmbRuc_Click(); });
    connect(CmbEntidad, &QComboBox::activated, this, [this] { CmbEntidad_Click(); });
    connect(DrvLst, &QComboBox::activated, this, [this] { DrvLst_Change(); });
    connect(DirList, &DirectoryList::changed, this, [this] { DirList_Change(); });
    connect(DirList, &QListWidget::itemClicked, this, [this] { DirList_Click(); });
    connect(CmdGrabar, &QPushButton::clicked, this, [this] { CmdGrabar_Click(); });
    connect(CmdCancelar, &QPushButton::clicked, this, [this] { CmdCancelar_Click(); });
    for (QWidget* control : {static_cast<QWidget*>(CmbRuc), static_cast<QWidget*>(DirList),
                             static_cast<QWidget*>(DrvLst)})
        control->installEventFilter(this);

    DisposicionNormal();
}

// ---------------------------------------------------------------- layout

void FrmImportar::DisposicionNormal()
{
    Frame3->hide();
    CmdGrabar->setGeometry(Px(2160), Px(kBotonesNormal), Px(1215), Px(375));
    CmdCancelar->setGeometry(Px(3600), Px(kBotonesNormal), Px(1215), Px(375));
    setFixedSize(Px(kAncho), Px(kAltoNormal - kAltoBorde));
}

void FrmImportar::DisposicionEspera()
{
    Frame3->show();
    CmdGrabar->move(Px(2160), Px(kBotonesEspera));
    CmdCancelar->move(Px(3600), Px(kBotonesEspera));
    setFixedSize(Px(kAncho), Px(kAltoEspera - kAltoBorde));
    pbar1->setRange(0, 10);
}

void FrmImportar::MuestraPaso(int nValor, const QString& sTexto)
{
    pbar1->setValue(nValor);
    if (!sTexto.isNull())
        lblbar1->setText(sTexto);
    Frame3->repaint();
}

// ---------------------------------------------------------------- events

void FrmImportar::Form_Load()
{
    PunteroReloj();
    txtNombre->clear();
    txtNombre->setEnabled(false);
    DrvLst->setDriveOf(sSysPath);
    DirList->setPath(sSysPath);
    DirList_Change();
    DisposicionNormal();

    bHayDeclarantes = CargaNumeroDocumento(*CmbRuc, 6, QString(), 0);
    CmbRuc->setCurrentIndex(-1);
    AjustaAnchoCombo(*this, *CmbRuc, 50);
    CargaComboParam(*CmbEntidad, QStringLiteral("727"), QStringLiteral("*"), 20, 1, 0);
    CmbEntidad->setCurrentIndex(-1);
    AjustaAnchoCombo(*this, *CmbEntidad, 30);
    PunteroNormal();
}

void FrmImportar::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void FrmImportar::Form_Activate()
{
    // The user has already been told that there are no declarants.
    if (!bHayDeclarantes)
        platform::closeWhenShown(*this, Rejected);
    bHayDeclarantes = true;
}

bool FrmImportar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int nTecla = static_cast<QKeyEvent*>(event)->key();
        if (nTecla == Qt::Key_Return || nTecla == Qt::Key_Enter) {
            EnviaTab(QStringLiteral("TAB"));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString FrmImportar::RucElegido() const
{
    return CmbRuc->currentIndex() < 0 ? QString() : CmbRuc->currentText().left(11).trimmed();
}

QString FrmImportar::EntidadElegida() const
{
    return CmbEntidad->currentIndex() < 0 ? QString() : CmbEntidad->currentText().left(11).trimmed();
}

void FrmImportar::CmbRuc_Click()
{
    if (CmbRuc->currentIndex() >= 0)
        txtNombre->setText(CmbRuc->currentText().mid(11, 50).trimmed());
    // Only the archive of the chosen declarant and entity is listed.
    const QString sNombre = KeyNombreArchivo(RucElegido(), EntidadElegida());
    flListaFiles->setPattern(sNombre.isEmpty() ? QString() : sNombre + QStringLiteral(".zip"));
    DirList_Click();
}

void FrmImportar::CmbEntidad_Click()
{
    CmbRuc_Click();
}

QString FrmImportar::KeyNombreArchivo(const QString& sRuc, const QString& sEntidad)
{
    // The RUC also names the import folder, which is emptied: digits only.
    static const QRegularExpression ruc(QStringLiteral("^\\d{11}$"));
    if (!ruc.match(sRuc).hasMatch() || sEntidad.size() != 1)
        return QString();
    return kFormulario + sRuc + sEntidad;
}

void FrmImportar::DirList_Change()
{
    flListaFiles->setPath(DirList->path());
}

void FrmImportar::DirList_Click()
{
    DirList_Change();
}

void FrmImportar::DrvLst_Change()
{
    const QString sUnidad = DrvLst->drive();
    if (DirList->setPath(sUnidad)) {
        DirList_Change();
        return;
    }
    PunteroNormal();
    const QString sMensaje = QFileInfo::exists(sUnidad)
        ? QStringList{QStringLiteral("Driver ") + sUnidad + QStringLiteral(" seleccionado no esta disponible."),
                      QStringLiteral("Esta seleccionando un driver que no existe."),
                      QStringLiteral("Intente nuevamente por favor.")}
              .join(u'\n')
        : QStringList{QStringLiteral("Ruta de Directorio no encontrado en Driver:") + sUnidad,
                      QStringLiteral("Verifique el correcto colocado del disquete."),
                      QStringLiteral("Intente nuevamente por favor.")}
              .join(u'\n');
    platform::messageBox(sMensaje, Critical, windowTitle());
    DrvLst->setDriveOf(DirList->path());
}

void FrmImportar::CmdCancelar_Click()
{
    done(Rejected);
}

// ---------------------------------------------------------------- import

void FrmImportar::CmdGrabar_Click()
{
    // A press of the button that waited while the wait frame was shown must
    // not start an import inside this one.
    if (bImportando)
        return;
    const QScopedValueRollback importando(bImportando, true);
    for (;;) {
        try {
            Importa();
            return;
        } catch (const ImportacionDetenida&) {
            // The central handler has shown the error; the dialog keeps its
            // import layout until the next import or until it is closed.
            return;
        } catch (const ReintentaImportacion&) {
            // Its transaction went before the retry was asked for: the whole
            // import runs again, from the archive.
        }
    }
}

void FrmImportar::Importa()
{
    DisposicionNormal(); // an import stopped by the error handler left the wait layout
    nModo = 0;
    if (!VerificaConfiguracionRegional()) {
        PunteroNormal();
        return;
    }
    if (CmbRuc->currentIndex() < 0) {
        platform::messageBox(QStringLiteral("Debe seleccionar algún número de ruc"), Exclamation, windowTitle());
        CmbRuc->setFocus();
        return;
    }
    if (CmbEntidad->currentIndex() < 0) {
        platform::messageBox(QStringLiteral("Debe seleccionar alguna entidad"), Exclamation, windowTitle());
        CmbEntidad->setFocus();
        return;
    }
    const QString sRucImp = RucElegido();
    const int nEntidadImp = CmbEntidad->currentText().left(1).trimmed().toInt();
    nEntidad = nEntidadImp;

    // Only the archive named for this declarant and entity is taken.
    const QString sArchivo = flListaFiles->fileName();
    const bool bArchivoElegido =
        !sArchivo.isEmpty()
        && sArchivo.compare(KeyNombreArchivo(sRucImp, EntidadElegida()) + QStringLiteral(".zip"),
                            Qt::CaseInsensitive) == 0;
    if (bArchivoElegido && VerificaTablaValor(sRucImp, 1))
        return;
    if (!bArchivoElegido) {
        platform::messageBox(
            QStringLiteral("No se ha encontrado el archivo de información para el RUC y entidad seleccionado"),
            Exclamation, windowTitle());
        return;
    }

    PunteroNormal();
    DisposicionEspera();
    MuestraPaso(1, QStringLiteral("Verificando y descomprimiendo archivo zip"));
    QCoreApplication::processEvents();

    const QString sArchivoZip = QDir(DirList->path()).filePath(sArchivo);
    const QString sCarpeta = sSysPath + QStringLiteral("TMP/REG") + sRucImp + QStringLiteral("/");
    const Extraccion extraccion = ExtraeEstado(sArchivoZip, sCarpeta);
    if (extraccion == Extraccion::Error || extraccion == Extraccion::DiscoLleno) {
        PunteroNormal();
        // A full disk is told first, by the central handler as any run-time
        // error of the import is; no transaction is open, so its answer
        // stops only the import, which then fails as any extraction does.
        if (extraccion == Extraccion::DiscoLleno)
            ManejaErrorBD(kRutina, ErrorDeArchivo(errorArchivo::DiscoLleno));
        platform::messageBox(QStringLiteral("Ha ocurrido un error al descomprimir. Reintente la operación!!!."),
                             Critical, windowTitle());
        DisposicionNormal();
        return;
    }
    if (extraccion == Extraccion::NoValido) {
        ArchivoNoValido();
        return;
    }

    MuestraPaso(2, QStringLiteral("Verificando archivos descomprimidos"));
    const QString sNombre = PrimerArchivo(sCarpeta);
    bool bCargado = false;
    if (!sNombre.isEmpty()) {
        const QString sExtraido = sCarpeta + sNombre;
        // However the import ends from here (a failure, a cancel, an
        // exception), the taxpayer's statement does not stay on the disk.
        const auto borraExtraido = qScopeGuard([&] { BorroErr(sExtraido); });
        if (!NombreEsHash(sExtraido)) {
            ArchivoNoValido();
            return;
        }

        MuestraPaso(5, QStringLiteral("Realizando la carga del archivo de deudas."));
        bCargado = DesencriptaArch(sExtraido, QString(), *this);
        if (!bCargado) {
            DisposicionNormal();
            return;
        }
    }

    Frame3->repaint();
    if (!bCargado) {
        MuestraPaso(10, QStringLiteral("Error!!!"));
        platform::messageBox(QStringLiteral("Ha sucedido un error en el proceso carga de la información\n"
                                            "Vuelva a reintentar la operación."),
                             Critical, windowTitle());
        CancelaTransaccion();
        DisposicionNormal();
        return;
    }

    MuestraPaso(9, QStringLiteral("Actualizando tablas del sistema."));
    GrabaDeclaracion(sRucImp, nEntidadImp);
    Paso([&] { oBaseDatos->commitTrans(); });
    bTransaccion = false;
    MuestraPaso(10, QStringLiteral("Proceso finalizado satisfactoriamente."));
    platform::messageBox(QStringLiteral("La importación ha terminado satisfactoriamente"), Information,
                         windowTitle());
    DisposicionNormal();
}

void FrmImportar::ArchivoNoValido()
{
    MuestraPaso(10, QString());
    platform::messageBox(QStringLiteral("El archivo a importar no es válido"), Critical, windowTitle());
    DisposicionNormal();
}

void FrmImportar::GrabaDeclaracion(const QString& sRucImp, int nEntidadImp)
{
    const auto clave = [&](platform::Recordset& rs) {
        rs.field(QStringLiteral("tip_doc_d")).setValue(6);
        rs.field(QStringLiteral("doc_id_d")).setValue(sRucImp);
        rs.field(QStringLiteral("periodo")).setValue(sPeriodo);
        rs.field(QStringLiteral("Formulario")).setValue(kFormulario);
        rs.field(QStringLiteral("Semana")).setValue(nEntidadImp);
    };
    Paso([&] {
        AgregaFila(QStringLiteral("CAB"), [&](platform::Recordset& rs) {
            clave(rs);
            rs.field(QStringLiteral("bcolibrad")).setValue(nBcolibrad);
            rs.field(QStringLiteral("nrocheque")).setValue(oCarga.sFechaActualizaImp);
            rs.field(QStringLiteral("efectivo")).setValue(QString());
            rs.field(QStringLiteral("cheque")).setValue(sBuenContrib);
            rs.field(QStringLiteral("Rectifica")).setValue(0);
            rs.field(QStringLiteral("estado")).setValue(9);
            rs.field(QStringLiteral("cNumero")).setValue(FormateaCampo(rs, 5));
        });
    });
    Paso([&] {
        AgregaFila(QStringLiteral("DET"), [&](platform::Recordset& rs) {
            clave(rs);
            rs.field(QStringLiteral("Casilla")).setValue(CasillaGarantia(nEntidadImp));
            rs.field(QStringLiteral("i_valor")).setValue(oCarga.sIndGarantiaImp);
            rs.field(QStringLiteral("idcasilla")).setValue(QStringLiteral("01"));
            rs.field(QStringLiteral("estado")).setValue(QStringLiteral("9"));
            rs.field(QStringLiteral("cNumero")).setValue(FormateaCampo(rs, 6));
        });
    });
    Paso([&] {
        AgregaFila(QStringLiteral("F0913GARANTIA"), [&](platform::Recordset& rs) {
            clave(rs);
            rs.field(QStringLiteral("ind_garantia")).setValue(ValorGarantia(oCarga.sIndGarantiaImp));
            rs.field(QStringLiteral("ind_persona")).setValue(ValorGarantia(oCarga.sIndPersonaImp));
            rs.field(QStringLiteral("mto_deuda")).setValue(ValorGarantia(oCarga.sMtoDeudaImp));
            rs.field(QStringLiteral("mto_deuda_garantia")).setValue(ValorGarantia(oCarga.sMtoDeudaGarantiaImp));
        });
    });
}

// Adds one row to the table: opened on all its columns in table order, to add
// only (none of its rows is read).
void FrmImportar::AgregaFila(const QString& sTabla, const std::function<void(platform::Recordset&)>& llena)
{
    auto rs = oBaseDatos->openRecordset(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(sTabla), {},
                                        platform::RecordsetType::Dynaset);
    rs->addNew();
    llena(*rs);
    rs->update();
}

void FrmImportar::Paso(const std::function<void()>& paso)
{
    const bool bEnTransaccion = bTransaccion;
    const auto pasoSinBloqueo = [&] {
        if (bEnTransaccion && !bTransaccion)
            throw ReintentaImportacion{};
        try {
            paso();
        } catch (const platform::DbError&) {
            // The transaction goes before the central handler's box shows, so
            // that the box does not hold the database's write lock while it
            // waits: its retry runs the whole import again, its end ends the
            // program as with the transaction open.
            CancelaTransaccion();
            throw;
        }
    };
    EjecutaConReintento(kRutina, pasoSinBloqueo, [&] { TerminaImportacion(bEnTransaccion); });
}

void FrmImportar::TerminaImportacion(bool bTerminaPrograma)
{
    if (bTerminaPrograma)
        platform::endProgram();
    throw ImportacionDetenida{};
}

void FrmImportar::CancelaTransaccion()
{
    if (!bTransaccion)
        return;
    bTransaccion = false;
    try {
        oBaseDatos->rollback();
    } catch (const platform::DbError&) {
        // The engine drops an open transaction with the connection anyway.
    }
}

bool FrmImportar::DesencriptaArch(const QString& sNomarch, const QString& /*sClave*/, QWidget& oForm)
{
    CargaDeudas carga(CmbRuc->currentText().left(11), nEntidad, windowTitle());
    // The file is read before the transaction takes the write lock: its
    // boxes may wait on the user.
    const std::optional<QList<QByteArray>> lineas = carga.LeeEstado(sNomarch);
    // Once read it is not needed: it goes before the transaction, whose
    // fatal errors end the program on the spot.
    BorroErr(sNomarch);
    if (!lineas)
        return false;
    Paso([&] { oBaseDatos->beginTrans(); });
    bTransaccion = true;
    const bool bCargado = carga.CargaLineas(*lineas, oForm);
    oCarga = carga.valores;
    if (!bCargado) {
        CancelaTransaccion();
        carga.MuestraAvisos();
    }
    return bCargado;
}
