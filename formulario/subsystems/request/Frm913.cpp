// The request form's life (load, activation, save, validation, close and
// unload) and its tabs: the tab change, the declaration options and the
// identification tab. The debt grids and their commands are in
// Frm913Grillas.cpp, the boxes of the payment plan in Frm913Casillas.cpp.

#include "formulario/subsystems/request/Frm913.h"

#include "formulario/core/ClaveDeclaracion.h"
#include "formulario/core/Fileproc.h"
#include "formulario/core/FondoCaja.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/GrillaRecordset.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/ModGen01.h"
#include "formulario/core/Registros.h"
#include "formulario/core/SharedForm.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/core/TeclaPresionada.h"
#include "formulario/core/modGen02.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/core/ConfiguracionRegional.h"
#include "formulario/core/FrmConsist.h"
#include "formulario/subsystems/request/DatosDeclarante.h"
#include "formulario/subsystems/request/GrabaDeclaracion.h"
#include "formulario/subsystems/request/PlanPagos.h"
#include "formulario/subsystems/request/RecalculaDeudas.h"
#include "formulario/subsystems/request/TablasTrabajo.h"
#include "formulario/subsystems/request/ValidaDeclaracion.h"
#include "formulario/subsystems/review/EntradaSinPegar.h"
#include "platform/database.h"
#include "platform/dialogs.h"
#include "platform/displaybox.h"
#include "platform/focus.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QToolTip>

using namespace platform::mb;

namespace {

const QString kMascaraVacia = QStringLiteral("__/__/____");
constexpr std::array<int, 4> kAyudaTab = {1014, 1017, 1013, 1008};

// The entity frame's position in the box order, or -1 for an unknown code.
int PosicionEntidad(int nCodigo)
{
    const QList<BloqueEntidad>& bloques = BloquesEntidad();
    for (int k = 0; k < bloques.size(); ++k) {
        if (bloques[k].nEntidad == nCodigo)
            return k;
    }
    return -1;
}

// A debt grid's cells show what the form's FormatText handler makes of
// their values; rows of status "16" take the button-face colour. A cell cut
// at its column's edge shows its whole text as its tooltip.
class FormatoGrilla : public QStyledItemDelegate {
public:
    FormatoGrilla(const Frm913& frm, int nIndex) : QStyledItemDelegate(frm.TDBGrid[nIndex]), frm_(frm), nIndex_(nIndex)
    {
    }

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        if (event->type() != QEvent::ToolTip)
            return QStyledItemDelegate::helpEvent(event, view, option, index);
        if (sizeHint(option, index).width() <= option.rect.width()) {
            QToolTip::hideText();
        } else {
            QStyleOptionViewItem celda(option);
            initStyleOption(&celda, index);
            QToolTip::showText(event->globalPos(), celda.text, view->viewport(), option.rect);
        }
        return true;
    }

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = frm_.TDBGrid_FormatText(nIndex_, index.column(), index.data());
        const QString sEstado = index.model()->index(index.row(), kColumnaEstado).data().toString();
        if (nIndex_ == 1 && sEstado == QLatin1String("16"))
            option->backgroundBrush = option->palette.button();
    }

private:
    static constexpr int kColumnaEstado = 19; // ind_ver_deu
    const Frm913& frm_;
    int nIndex_;
};

} // namespace

Frm913::Frm913()
{
    setObjectName(QStringLiteral("Frm913"));
    CreaControles();
    platform::showTextsFromStart(*this);
    ConectaEventos();
}

Frm913::~Frm913()
{
    Descarga();
}

int Frm913::MuestraDeclaracion(const DeclaracionElegida& declaracion)
{
    SharedForm<Frm913>::release();
    Frm913& frm = SharedForm<Frm913>::instance();
    frm.EstableceDeclaracion(declaracion);
    frm.Form_Load();
    // Half loaded, with empty fields, the form would make the declaration
    // look lost; nor may it show while a retry of its unloading waits.
    int nResultado = QDialog::Rejected;
    if (frm.bCargaCorrecta)
        nResultado = platform::showModal(frm);
    else
        frm.CierraSinCargar();
    SharedForm<Frm913>::release();
    return nResultado;
}

void Frm913::PintaCaja(QLineEdit& oCaja, bool bBlanca)
{
    PintaFondo(oCaja, bBlanca ? kBlanco : kGris);
}

void Frm913::ConectaEventos()
{
    connect(SSTab1, &QTabWidget::currentChanged, this, [this](int nTab) {
        const int nPrevio = nTabPrevio_;
        nTabPrevio_ = nTab;
        SSTab1_Click(nPrevio);
    });
    for (int nIndex = 0; nIndex < 2; ++nIndex) {
        connect(Opt_Fusion[nIndex], &QRadioButton::toggled, this, [this, nIndex](bool bElegida) {
            if (bElegida)
                Opt_Fusion_Click(nIndex);
        });
        connect(OptRectifica[nIndex], &QRadioButton::toggled, this, [this, nIndex](bool bElegida) {
            if (bElegida)
                OptRectifica_Click(nIndex);
        });
    }
    connect(cboNumdoc, &QComboBox::currentIndexChanged, this, [this](int nItem) {
        if (nItem >= 0)
            cboNumdoc_Click();
    });
    connect(CmdCancelar, &QPushButton::clicked, this, &Frm913::CmdCancelar_Click);
    connect(CmdGrabar, &QPushButton::clicked, this, &Frm913::CmdGrabar_Click);
    connect(CmdValidar, &QPushButton::clicked, this, &Frm913::CmdValidar_Click);

    for (int nIndex : {1, 2}) {
        connect(TDBGrid[nIndex]->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, nIndex](const QModelIndex& actual, const QModelIndex& previo) {
                    if (rsDat_[nIndex] && actual.isValid())
                        rsDat_[nIndex]->setAbsolutePosition(actual.row());
                    TDBGrid_RowColChange(nIndex, previo.isValid() ? previo.row() : -1);
                });
        connect(txtmtototal_[nIndex], &QLineEdit::textChanged, this, [this, nIndex] { txtmtototal_Change(nIndex); });
        connect(TDBGrid[nIndex], &QTableView::doubleClicked, this, [this, nIndex] { TDBGrid_DblClick(nIndex); });
        TDBGrid[nIndex]->setItemDelegate(new FormatoGrilla(*this, nIndex));
    }
    connect(CmdAcoge[1], &QPushButton::clicked, this, [this] { CmdAcoge_Click(1); });
    connect(CmdNoAcoge[1], &QPushButton::clicked, this, [this] { CmdNoAcoge_Click(1); });
    connect(cmdEdit[1], &QPushButton::clicked, this, [this] { cmdEdit_Click(1); });
    connect(cmdNew[2], &QPushButton::clicked, this, [this] { cmdNew_Click(2); });
    connect(cmdEdit[2], &QPushButton::clicked, this, [this] { cmdEdit_Click(2); });
    connect(cmdDelete[2], &QPushButton::clicked, this, [this] { cmdDelete_Click(2); });

    // Nothing reaches the boxes from the clipboard: Shift+Insert and a right
    // click empty it, and no other paste path is open. Installed after the
    // key filters, so that a paste key never gets typed.
    AsignaKeyPress(*txtTelefono, [this](int& KeyAscii) { txtTelefono_KeyPress(KeyAscii); });
    ImpidePegar(*txtTelefono);
    AsignaKeyPress(*mkeFechaAcog, [this](int& KeyAscii) { mkeFechaAcog_KeyPress(KeyAscii); });
    ImpidePegar(*mkeFechaAcog, false);
    // A box is entered and left only when the focus moves between the form's
    // own controls, never while the form goes away.
    const auto mientrasAbierto = [this](std::function<void()> evento) {
        return [this, evento] {
            if (!bDescargado_)
                evento();
        };
    };
    platform::watchFocus(*mkeFechaAcog, mientrasAbierto([this] { mkeFechaAcog_GotFocus(); }),
                         mientrasAbierto([this] { mkeFechaAcog_LostFocus(); }));
    for (const auto& [nCasilla, caja] : txtValor) {
        connect(caja, &QLineEdit::textChanged, this, [this, nCasilla] { txtValor_Change(nCasilla); });
        AsignaKeyPress(*caja, [this, nCasilla](int& KeyAscii) { txtValor_KeyPress(nCasilla, KeyAscii); });
        ImpidePegar(*caja);
        platform::watchFocus(*caja, mientrasAbierto([this, nCasilla] { txtValor_GotFocus(nCasilla); }),
                             mientrasAbierto([this, nCasilla] { txtValor_LostFocus(nCasilla); }));
    }
}

ClaveDeclaracion Frm913::Clave() const
{
    return ClaveDeclaracionAbierta(nTipDocDeclarante, sNumDocDeclarante);
}

ClaveDeclaracion Frm913::ClaveEnviada() const
{
    ClaveDeclaracion clave = Clave();
    clave.sCorrel = sCorrelativo;
    return clave;
}

// The stored boxes go back into the form's controls.
void Frm913::AplicaCasillas(const QMap<int, QString>& casillas)
{
    const QString sRectifica = casillas.value(5);
    if (sRectifica == QLatin1String("1") || sRectifica == QLatin1String("2"))
        OptRectifica[sRectifica == QLatin1String("1") ? 0 : 1]->setChecked(true);
    if (!casillas.value(28).isEmpty())
        txtTelefono->setText(casillas.value(28));
    const QString sTipos = casillas.value(nCasillaBase2 + 1);
    if (!sTipos.isEmpty()) {
        for (int nIndex = 0; nIndex < 3; ++nIndex)
            ChkGarantia[nIndex]->setChecked(sTipos.mid(nIndex, 1) == QLatin1String("1"));
    }
    if (!casillas.value(541).isEmpty()) {
        EstableceFechaAcog(casillas.value(541));
        if (mkeFechaAcog->displayText() != kMascaraVacia)
            Obtiene_TIM(PeriodoFechaAcog());
    }
    if (!casillas.value(545).isEmpty())
        Opt_Fusion[Moneda::ValorInicial(casillas.value(545)).ComoDouble() == 1 ? 1 : 0]->setChecked(true);
    for (int nCasilla = 500; nCasilla <= 539; ++nCasilla)
        txtValor.at(nCasilla)->setText(casillas.value(nCasilla));
}

// The period "YYYYMM" of the update date.
QString Frm913::PeriodoFechaAcog() const
{
    return QDate::fromString(mkeFechaAcog->displayText(), QStringLiteral("dd/MM/yyyy")).toString(QStringLiteral("yyyyMM"));
}

// The texts of the boxes 500 to 539 by box number.
QMap<int, QString> Frm913::TextosCasillas() const
{
    QMap<int, QString> casillas;
    for (int nCasilla = 500; nCasilla <= 539; ++nCasilla)
        casillas.insert(nCasilla, txtValor.at(nCasilla)->text());
    return casillas;
}

// ---------------------------------------------------------------------------
// Life of the form

void Frm913::Form_Load()
{
    EstableceFormularioSolicitud(this);
    // The statement's date: fec_des_deu (column 9) of the first notified debt.
    FijaLectorFechaPersonalizado([this] { return modeloDat_[1]->Valor(0, 9).toDate(); });
    try {
        const std::optional<BloqueEntidad> bloque = BloqueDeEntidad(nEntidad);
        if (bloque) {
            nCasillaBase2 = bloque->nCasillaBase2;
            nCasillaBase = bloque->nCasillaBase;
            nCasillaCuota = bloque->nCasillaCuotaInicial;
        }
        bFormCargado = false;
        bCargaCorrecta = false;

        if (bEnviadas)
            SoloLectura();
        move(-50 / 15, -50 / 15);
        resize(9720 / 15, height());
        setWindowTitle(QStringLiteral("0913 ") + kNombreProducto + (bEnviadas ? QStringLiteral(" - Enviadas") : QString()));

        nTipDocDeclarante = declaracion_.nTipDoc;
        sNumDocDeclarante = declaracion_.sNumDoc;
        txtRazon->setText(declaracion_.sNombre);
        TxtEntidad->setText(declaracion_.sEntidad);
        if (bEnviadas) {
            sCorrelativo = declaracion_.sCorrel;
            txtCorrel->setText(sCorrelativo);
        }
        txtCorrel->setVisible(bEnviadas);
        lblCorrel->setVisible(bEnviadas);

        {
            // Only the declarant chosen at the end counts as a choice.
            const QSignalBlocker bloqueo(cboNumdoc);
            CargaNumeroDocumento(*cboNumdoc, quint8(nTipDocDeclarante), declaracion_.sNumDoc, 1);
        }
        // The declarant's rows are copied once, below, after the work tables are emptied.
        if (cboNumdoc->currentIndex() >= 0)
            TomaDeclarante();
        AjustaAnchoCombo(*this, *cboNumdoc, 70);

        Lee_RUC_Delito(Clave());
        Lee_BuenosCont(Clave());
        Datos_Iniciales(Clave());

        SSTab1->setCurrentIndex(0);
        txtRazon->setEnabled(false);
        for (const QString& sTabla :
             {QStringLiteral("TMP_F0913DEUDAS"), QStringLiteral("TMP_F0913MOTIVO"), QStringLiteral("TMP_F0913SUSTEN")})
            EliminaDataTabla(sTabla, nTipDocDeclarante, sNumDocDeclarante, 0, QString());
        for (const BloqueEntidad& cada : BloquesEntidad())
            txtValor.at(cada.CodigoTributo())->setProperty("Tag", cada.sCodigoTributo);

        cboNumdoc->setEnabled(false);
        txtRazon->setEnabled(false);
        nGrabando = 0;
        CargaDataTemporales(QStringLiteral("C"));
        AplicaCasillas(CargaCasillas(bEnviadas ? ClaveEnviada() : Clave()));
        // After the stored boxes, which would empty it: a good taxpayer owes no initial instalment.
        if (sBuenContrib == QLatin1String("1") && bloque) {
            EstadoCaja(nCasillaCuota, false, false);
            txtValor.at(nCasillaCuota)->setText(QStringLiteral("0"));
        }
        if (mkeFechaAcog->displayText() != kMascaraVacia)
            Obtiene_TIM(PeriodoFechaAcog());

        MuestraEntidad();
        if (bloque)
            MuestraGarantia();

        CargaTabIndex(1);
        CargaTabIndex(2);
        if (ColumnaGrilla(1, QStringLiteral("cod_tri")) == QLatin1String("0"))
            SSTab1->setTabEnabled(1, false);
        SSTab1->setTabEnabled(2, Opt_Fusion[1]->isChecked());

        PunteroNormal();
        bFormCargado = true;
        bModificado = false;
        bDeudaGrabada = false;
        bCargaCorrecta = true;
    } catch (const platform::DbError&) {
        // Activation tells the user and closes the form.
        PunteroNormal();
    }
}

// Hides every entity frame but the open entity's, which comes to its place.
void Frm913::MuestraEntidad()
{
    for (QGroupBox* marco : FrameEntidad) {
        marco->setVisible(false);
        marco->setEnabled(false);
    }
    const int k = PosicionEntidad(nEntidad);
    if (k < 0)
        return;
    const BloqueEntidad& bloque = BloquesEntidad().at(k);
    txtValor.at(bloque.CodigoTributo())->setText(bloque.sCodigoTributo);
    FrameEntidad[k]->setVisible(true);
    FrameEntidad[k]->setEnabled(true);
    FrameEntidad[k]->move(5100 / 15, 1015 / 15);
    nCasillaBase2 = bloque.nCasillaBase2;
    nCasillaGarantia = bloque.Garantia();
    // Box b + 6 is the program's decision, never the user's, even when enabled.
    txtValor.at(nCasillaGarantia)->setReadOnly(true);
}

// A sent declaration is only looked at: no command edits it.
void Frm913::SoloLectura()
{
    for (QPushButton* boton :
         {CmdValidar, CmdGrabar, CmdAcoge[1], CmdNoAcoge[1], cmdEdit[1], cmdNew[2], cmdEdit[2], cmdDelete[2]})
        boton->setVisible(false);
    for (QWidget* control : std::initializer_list<QWidget*>{Frame_Garantia, txtTelefono, mkeFechaAcog, Opt_Fusion[0],
                                                            Opt_Fusion[1]})
        control->setEnabled(false);
}

// The guarantee box as the declarant's flags and the loaded boxes leave it.
void Frm913::MuestraGarantia()
{
    lblmsg->setVisible(true);
    QLineEdit* garantia = txtValor.at(nCasillaGarantia);
    if (sBuenContrib == QLatin1String("1")) {
        garantia->setEnabled(false);
        garantia->setText(QStringLiteral("NO"));
        lblmsg->setVisible(false);
    }
    if (sGarantia == QLatin1String("1")) {
        garantia->setEnabled(false);
        garantia->setText(QStringLiteral("SI"));
    } else {
        garantia->setEnabled(true);
    }
}

void Frm913::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void Frm913::Form_Activate()
{
    nHelpContext_ = nHelpContextTab_;
}

void Frm913::CierraSinCargar()
{
    platform::messageBox(QStringLiteral("Ha habido problemas en la carga del formulario. Reintente de nuevo la "
                                        "operación"),
                         Critical | OkOnly, windowTitle());
    done(QDialog::Rejected);
}

void Frm913::CmdCancelar_Click()
{
    if (!bEnviadas && bModificado) {
        const int nRespuesta =
            platform::messageBox(QStringLiteral("¿El formulario ha sido modificado, desea guardar los cambios?"),
                                 YesNoCancel | Question, windowTitle());
        if (nRespuesta == Cancel)
            return;
        if (nRespuesta == Yes) {
            CmdGrabar_Click();
            // Only a save that went through lets the form close.
            if (bModificado)
                return;
        }
    }
    done(QDialog::Rejected);
}

void Frm913::CmdGrabar_Click()
{
    nGrabando = 1;
    PunteroReloj();
    struct Fin {
        ~Fin() { PunteroNormal(); }
    } fin;
    if (!VerificaConfiguracionRegional())
        return;
    if (sBuenContrib.isEmpty()) {
        sMensaje = QStringLiteral("Esta declaración la ha realizado con un archivo personalizado antiguo. Debe "
                                  "solicitar nuevamente su archivo a ALCOR.");
        platform::messageBox(sMensaje, Critical | OkOnly, windowTitle());
        return;
    }
    if (!ValidaContForm1(2))
        return;
    CargaTabIndex(1);
    CargaTabIndex(2);
    // Findings do not stop the save; with nothing to refinance the plan's tab shows.
    bool bSeleccionaModalidad = false;
    ValidaTodo(2, DatosAValidar(), 0, &bSeleccionaModalidad);
    if (bSeleccionaModalidad)
        SSTab1->setCurrentIndex(3);
    PunteroReloj();

    DeclaracionFormulario datos;
    datos.clave = Clave();
    datos.bRectifica = OptRectifica[0]->isChecked();
    if (Opt_Fusion[0]->isChecked() || Opt_Fusion[1]->isChecked())
        datos.bFusion = Opt_Fusion[1]->isChecked();
    datos.sTelefono = txtTelefono->text().trimmed();
    datos.sFechaAcog = mkeFechaAcog->displayText();
    for (QCheckBox* tipo : ChkGarantia)
        datos.sTiposGarantia += tipo->isChecked() ? QLatin1Char('1') : QLatin1Char('0');
    datos.nDeudasNotificadas = rsDat_[1]->recordCount();
    datos.nOtrasResoluciones = rsDat_[2]->recordCount();
    datos.casillas = TextosCasillas();
    if (!GrabaFormulario(datos, windowTitle()))
        return;
    platform::messageBox(nInconsistencia == 1
                             ? QStringLiteral("La declaración fue grabada con inconsistencias..!!")
                             : QStringLiteral("Toda la información de la declaración fue grabada satisfactoriamente."),
                         Exclamation | OkOnly, windowTitle());
    nModo = 1;
    bModificado = false;
}

DeclaracionAValidar Frm913::DatosAValidar() const
{
    DeclaracionAValidar datos;
    datos.clave = Clave();
    datos.casillas = TextosCasillas();
    datos.sCodTriGrilla1 = ColumnaGrilla(1, QStringLiteral("cod_tri"));
    datos.nOtrasResoluciones = rsDat_[2] ? rsDat_[2]->recordCount() : 0;
    for (const QCheckBox* tipo : ChkGarantia)
        datos.bTipoGarantia = datos.bTipoGarantia || tipo->isChecked();
    return datos;
}

void Frm913::CmdValidar_Click()
{
    PunteroReloj();
    if (!VerificaConfiguracionRegional()) {
        PunteroNormal();
        return;
    }
    // The checks may change the tab, and with it the help topic.
    const int nAyuda = nHelpContextTab_;
    const std::optional<bool> bLimpia = ValidaDeclaracion(
        [this](int nArchivo) {
            nArchivoMens = nArchivo;
            return ValidaContForm1(0);
        },
        DatosAValidar());
    nHelpContextTab_ = nAyuda;
    PunteroNormal();
    if (!bLimpia) // the findings file could not be written; that was said
        return;
    if (*bLimpia)
        platform::messageBox(QStringLiteral("La información de la declaración no presenta inconsistencias."),
                             Exclamation | OkOnly, windowTitle());
    else
        MuestraFormularioNuevo<FrmConsist>();
}

void Frm913::closeEvent(QCloseEvent* event)
{
    event->ignore();
    CmdCancelar_Click();
}

void Frm913::reject()
{
    CmdCancelar_Click();
}

void Frm913::done(int resultado)
{
    Form_Unload();
    QDialog::done(resultado);
}

void Frm913::Form_Unload()
{
    if (bDescargado_)
        return;
    bDescargado_ = true;
    QCoreApplication::processEvents();
    PunteroReloj();
    if (oBaseDatos)
        EjecutaConReintento(QStringLiteral("Form_Unload"), [] { VaciaTablasTrabajo(); });
    PunteroNormal();
    Descarga();
}

// The form stops serving the dialogs and the date reader.
void Frm913::Descarga()
{
    if (FormularioSolicitud() == this) {
        EstableceFormularioSolicitud(nullptr);
        FijaLectorFechaPersonalizado({});
    }
}

// ---------------------------------------------------------------------------
// Tabs and declaration options

void Frm913::SSTab1_Click(int PreviousTab)
{
    if (bEnTab_)
        return;
    const QScopedValueRollback<bool> enTab(bEnTab_, true);

    // A sent declaration is only looked at: its old update date must not
    // keep the user on the first tab.
    if (PreviousTab == 0 && !bEnviadas && !ValidaContForm1(1))
        return;
    PunteroReloj();
    try {
        if (mkeFechaAcog->displayText() != kMascaraVacia)
            Obtiene_TIM(PeriodoFechaAcog());
        const int nTab = SSTab1->currentIndex();
        nHelpContextTab_ = kAyudaTab[nTab];
        if (nTab == 1 || nTab == 2) {
            lblTab[nTab]->clear();
            CargaTabIndex(nTab);
            // A row deleted meanwhile may have taken the saved position along.
            if (nFilaGrilla > 0 && nFilaGrilla < rsDat_[nTab]->recordCount()) {
                PosicionaDat(nTab, nFilaGrilla);
                nFilaGrilla = 0;
            }
            CalculaMontoTotal(*txtmtototal_[nTab], nTab);
        } else if (nTab == 3) {
            CalculaCasillas();
            HabilitaCasillasModalidad();
        }
    } catch (const platform::DbError& err) {
        if (ManejaErrorBD(QStringLiteral("SSTab1_Click"), err) == kTerminar)
            platform::endProgram();
    }
    PunteroNormal();
}

// What the user may fill in each entity block once the payment tab shows.
void Frm913::HabilitaCasillasModalidad()
{
    auto estado = [this](int nCasilla, bool bHabilitada, bool bBlanca) {
        QLineEdit* caja = txtValor.at(nCasilla);
        caja->setEnabled(bHabilitada);
        PintaCaja(*caja, bBlanca);
    };
    if (sGarantia == QLatin1String("1"))
        Frame_Garantia->setVisible(true);
    if (sGarantia == QLatin1String("0") || sBuenContrib == QLatin1String("1"))
        Frame_Garantia->setVisible(false);

    for (const BloqueEntidad& bloque : BloquesEntidad()) {
        const int m = bloque.Modalidad();
        const int c = bloque.nCasillaCuotaInicial;
        const QString sModalidad = txtValor.at(m)->text().trimmed();
        const bool bConDeuda = !txtValor.at(bloque.nCasillaBase)->text().isEmpty();
        if (sModalidad.isEmpty()) {
            estado(c, false, false);
        } else if (sModalidad == QLatin1String("0") || sModalidad == QLatin1String("2")) {
            const bool bAplaza = sModalidad == QLatin1String("2");
            if (bConDeuda) {
                estado(m + 1, bAplaza, bAplaza);
                txtValor.at(m + 1)->setReadOnly(!bAplaza);
                estado(m + 2, true, true);
                txtValor.at(m + 2)->setReadOnly(false);
                estado(m + 3, false, false);
            } else {
                txtValor.at(m)->clear();
            }
            if (txtValor.at(m)->text() == QLatin1String("2"))
                estado(c, false, false);
        }
    }
    if (sBuenContrib == QLatin1String("1") && nCasillaCuota != 0)
        txtValor.at(nCasillaCuota)->setText(QStringLiteral("0"));
    // Last, so that no modality opens a box of a sent declaration again.
    if (bEnviadas) {
        for (auto& [nCasilla, caja] : txtValor)
            caja->setEnabled(false);
    }
}

void Frm913::Opt_Fusion_Click(int Index)
{
    if (Index == 1) {
        SSTab1->setTabEnabled(2, true);
        return;
    }
    if (modeloDat_[2]->rowCount() > 0) {
        if (platform::messageBox(QStringLiteral("Actualmente existe información en otras resoluciones. ¿Desea "
                                                "eliminarlos? "),
                                 YesNo | Question, QStringLiteral("Eliminar Comprobantes de Adquisiciones"))
            != Yes) {
            // The debts stay, and so does the answer that keeps them.
            Opt_Fusion[1]->setChecked(true);
            return;
        }
        EjecutaSQL(QStringLiteral("DELETE FROM TMP_F0913DEUDAS  WHERE ind_tip_deu = '05' "));
        CargaTabIndex(2);
        CalculaMontoTotal(*txtmtototal_[2], 2);
    }
    SSTab1->setTabEnabled(2, false);
}

void Frm913::OptRectifica_Click(int Index)
{
    OptRectifica[Index]->setChecked(true);
    bModificado = true;
}

// ---------------------------------------------------------------------------
// Identification tab

void Frm913::cboNumdoc_Click()
{
    TomaDeclarante();
    CargaDataTemporales(QStringLiteral("C"));
}

// The chosen item's declarant becomes the form's, with its name.
void Frm913::TomaDeclarante()
{
    sFechaAnterior = kMascaraVacia;
    const QString sItem = cboNumdoc->currentText();
    sNumDocDeclarante = sItem.left(19).trimmed();
    sRucDeclarante = sNumDocDeclarante;
    SSTab1->setTabEnabled(2, false);
    QCoreApplication::processEvents();
    txtRazon->setText(sItem.mid(18, 70).trimmed());
}

bool Frm913::ValidaContForm1(int nModo)
{
    bool bValido = true;
    // A finding: a line of the findings file in mode 0 (and the checks go
    // on), otherwise shown on the first tab (and the checks stop).
    auto hallazgo = [this, nModo, &bValido](const QString& sTexto, QWidget* foco) {
        bValido = false;
        sMensaje = sTexto;
        if (nModo == 0) {
            EscribeLinea(nArchivoMens, sMensaje);
            nInconsistencia = 1;
            return true;
        }
        SSTab1->setCurrentIndex(0);
        platform::messageBox(sMensaje, Critical | OkOnly, windowTitle());
        if (foco->isEnabled())
            foco->setFocus();
        return false;
    };

    const QString sTelefono = txtTelefono->text();
    if (sTelefono.size() <= 5 && !hallazgo(QStringLiteral("Ingrese correctamente el teléfono"), txtTelefono))
        return false;
    if (sTelefono.size() == 8 && !sTelefono.startsWith(u'9')
        && !hallazgo(QStringLiteral("Identificación-Información general : El número de teléfono ingresado debe ser "
                                    "de 7 dígitos, o un celular de 9 dígitos"),
                     txtTelefono))
        return false;
    if (sTelefono.startsWith(u'9') && sTelefono.size() < 9
        && !hallazgo(QStringLiteral("Identificación-Información general : El celular debe ser de 9 dígitos"),
                     txtTelefono))
        return false;

    sMensaje.clear();
    if (!ValidaFecha(QStringLiteral("PRE"), lblFechaAcog->text(), mkeFechaAcog->displayText(), windowTitle(), true)) {
        const QString sFalla = sMensaje;
        if (!hallazgo(sFalla, mkeFechaAcog)) {
            EstableceFechaAcog(sFechaAnterior);
            return false;
        }
    }
    return bValido;
}

void Frm913::EstableceFechaAcog(const QString& sFecha)
{
    if (sFecha == kMascaraVacia || sFecha.isEmpty())
        mkeFechaAcog->clear();
    else
        mkeFechaAcog->setText(sFecha);
}

void Frm913::mkeFechaAcog_GotFocus()
{
    sFechaAnterior = mkeFechaAcog->displayText();
}

void Frm913::mkeFechaAcog_LostFocus()
{
    // The question below takes the focus away again.
    if (bEnFecha_)
        return;
    const QScopedValueRollback<bool> enFecha(bEnFecha_, true);

    const QString sFecha = mkeFechaAcog->displayText();
    if (!ValidaFecha(QStringLiteral("PRE"), lblFechaAcog->text(), sFecha, windowTitle(), false)) {
        EstableceFechaAcog(sFechaAnterior);
        return;
    }
    if (sFecha == sFechaAnterior || sFechaAnterior == kMascaraVacia)
        return;
    if (platform::messageBox(QStringLiteral("Se procederá a la actualización de la deuda. ¿Desea continuar?"),
                             YesNo | Question, windowTitle())
        == Yes) {
        if (ActualizaDeudasAcogidas(sNumDocDeclarante, sFecha) && nCasillaBase != 0)
            txtValor.at(nCasillaBase + 1)->clear();
        return;
    }
    SSTab1->setCurrentIndex(0);
    EstableceFechaAcog(sFechaAnterior);
    if (mkeFechaAcog->isEnabled())
        mkeFechaAcog->setFocus();
}

void Frm913::mkeFechaAcog_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 13) {
        EnviaTab(QStringLiteral("TAB"));
        KeyAscii = 0;
    }
    bModificado = true;
}

void Frm913::txtTelefono_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 13)
        EnviaTab(QStringLiteral("TAB"));
    if (KeyAscii != 8 && (KeyAscii < '0' || KeyAscii > '9'))
        KeyAscii = 0;
    bModificado = true;
}

