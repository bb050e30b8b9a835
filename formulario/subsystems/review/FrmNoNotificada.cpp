#include "formulario/subsystems/review/FrmNoNotificada.h"

#include "formulario/core/ConfiguracionRegional.h"
#include "formulario/core/Fileproc.h"
#include "formulario/core/FondoCaja.h"
#include "formulario/core/Formato.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Moneda.h"
#include "formulario/core/Registros.h"
#include "formulario/core/TeclaPresionada.h"
#include "formulario/core/modGen02.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/subsystems/request/Frm913Servicios.h"
#include "formulario/subsystems/review/EntradaSinPegar.h"
#include "platform/database.h"
#include "platform/displaybox.h"
#include "platform/focus.h"
#include "platform/utility.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

constexpr int kEnter = 13;

// Positions in twips, as the dialog was designed; 15 twips a pixel.
constexpr int Px(int nTwips) { return nTwips / 15; }
constexpr int kAlto = 315;
constexpr int kColumnaCampo = 2520;

enum class Uso { Entrada, Monto, Muestra, MuestraMonto };

// The text boxes of the frame: member, name, label, position and width.
struct CajaTexto {
    QLineEdit* FrmNoNotificada::*pCaja;
    const char* sNombre;
    const char* sEtiqueta;
    int x;
    int y;
    int nAncho;
    Uso eUso;
};

const CajaTexto kCajas[] = {
    {&FrmNoNotificada::mkePeriodo, "mkePeriodo", "Periodo", kColumnaCampo, 360, 1000, Uso::Entrada},
    {&FrmNoNotificada::txtDocumento, "txtDocumento", nullptr, 3900, 750, 3180, Uso::Muestra},
    {&FrmNoNotificada::txtTributo, "txtTributo", "Código de tributo", kColumnaCampo, 1140, 4560, Uso::Muestra},
    {&FrmNoNotificada::txtNumDocumento, "txtNumDocumento", "Número de Resolución:", kColumnaCampo, 1530, 2000,
     Uso::Entrada},
    {&FrmNoNotificada::TxtRuc, "TxtRuc", "Número de RUC:", kColumnaCampo, 1920, 2000, Uso::Entrada},
    {&FrmNoNotificada::txtmtoTributo, "txtmtoTributo", "Tributo insoluto", kColumnaCampo, 2310, 2000, Uso::Monto},
    {&FrmNoNotificada::TxtMtoInteresesCAP, "TxtMtoInteresesCAP", "Interés capitalizado", kColumnaCampo, 2700, 2000,
     Uso::Monto},
    {&FrmNoNotificada::TxtMtoIntereses, "TxtMtoIntereses", "Interés no capitalizado", kColumnaCampo, 3090, 2000,
     Uso::Monto},
    {&FrmNoNotificada::lblMtoAcogido, "lblMtoAcogido", "Monto acogido", kColumnaCampo, 3480, 2000,
     Uso::MuestraMonto},
};

// Display-only boxes are grey, the others white.
void Colorea(QWidget& oControl, bool bGris)
{
    PintaFondo(oControl, bGris ? kGris : kBlanco);
}

QLabel* Etiqueta(const QString& sTexto, QWidget* padre, int y)
{
    auto* etiqueta = new QLabel(sTexto, padre);
    etiqueta->setGeometry(Px(240), Px(y + 30), Px(kColumnaCampo - 300), Px(255));
    return etiqueta;
}

} // namespace

FrmNoNotificada::FrmNoNotificada()
{
    setObjectName(QStringLiteral("FrmNoNotificada"));
    setWindowTitle(QStringLiteral("Deudas no notificadas"));
    CreaControles();
    platform::showTextsFromStart(*this);
    AsignaEventos();
}

void FrmNoNotificada::CreaControles()
{
    Frame1 = new QGroupBox(QStringLiteral("Deudas no notificadas - detalle"), this);
    Frame1->setGeometry(Px(120), Px(120), Px(7320), Px(3960));

    for (const CajaTexto& caja : kCajas) {
        auto* oCaja = new QLineEdit(Frame1);
        oCaja->setObjectName(QString::fromLatin1(caja.sNombre));
        oCaja->setGeometry(Px(caja.x), Px(caja.y), Px(caja.nAncho), Px(kAlto));
        if (caja.sEtiqueta)
            Etiqueta(QString::fromUtf8(caja.sEtiqueta), Frame1, caja.y)->setBuddy(oCaja);
        const bool bMuestra = caja.eUso == Uso::Muestra || caja.eUso == Uso::MuestraMonto;
        if (caja.eUso == Uso::Monto || caja.eUso == Uso::MuestraMonto)
            oCaja->setAlignment(Qt::AlignRight);
        if (bMuestra) {
            oCaja->setReadOnly(true);
            oCaja->setFocusPolicy(Qt::NoFocus);
        }
        Colorea(*oCaja, bMuestra);
        this->*caja.pCaja = oCaja;
    }
    mkePeriodo->setInputMask(QStringLiteral("99/9999;_"));
    for (QLineEdit* oCaja : {txtNumDocumento, TxtRuc, txtmtoTributo, TxtMtoInteresesCAP, TxtMtoIntereses})
        ImpidePegar(*oCaja);
    ImpidePegar(*mkePeriodo, false); // the period has no mouse handler of its own
    txtNumDocumento->setMaxLength(13);
    TxtRuc->setMaxLength(11);

    cboDocumento = new QComboBox(Frame1);
    cboDocumento->setObjectName(QStringLiteral("cboDocumento"));
    cboDocumento->setGeometry(Px(kColumnaCampo), Px(750), Px(1300), Px(kAlto));
    Etiqueta(QStringLiteral("Tipo de resolución"), Frame1, 750)->setBuddy(cboDocumento);

    const char* captions[] = {"Aceptar", "&Salir"};
    for (int i = 0; i < 2; ++i) {
        cmdOpcion[i] = new QPushButton(QString::fromLatin1(captions[i]), this);
        cmdOpcion[i]->setObjectName(QStringLiteral("cmdOpcion_%1").arg(i));
        cmdOpcion[i]->setGeometry(Px(2280 + 1440 * i), Px(4200), Px(1215), Px(375));
        cmdOpcion[i]->setAutoDefault(false); // Enter moves between the fields
    }

    const QList<QWidget*> orden = {mkePeriodo,    cboDocumento,       txtNumDocumento, TxtRuc,      txtmtoTributo,
                                   TxtMtoInteresesCAP, TxtMtoIntereses, cmdOpcion[0], cmdOpcion[1]};
    for (qsizetype i = 1; i < orden.size(); ++i)
        setTabOrder(orden.at(i - 1), orden.at(i));
    setFixedSize(Px(7560), Px(4800));
}

void FrmNoNotificada::AsignaEventos()
{
    connect(cboDocumento, &QComboBox::currentIndexChanged, this, [this] { cboDocumento_Click(); });
    AsignaKeyPress(*cboDocumento, [](int& KeyAscii) {
        if (KeyAscii == kEnter)
            EnviaTab(QStringLiteral("TAB"));
    });
    connect(mkePeriodo, &QLineEdit::textChanged, this, [this] { mkePeriodo_Change(); });
    AsignaKeyPress(*mkePeriodo, [this](int& KeyAscii) { mkePeriodo_KeyPress(KeyAscii); });
    AsignaKeyPress(*txtNumDocumento, [this](int& KeyAscii) { txtNumDocumento_KeyPress(KeyAscii); });
    AsignaKeyPress(*TxtRuc, [this](int& KeyAscii) { TxtRuc_KeyPress(KeyAscii); });
    for (QLineEdit* oCaja : {txtmtoTributo, TxtMtoInteresesCAP, TxtMtoIntereses}) {
        connect(oCaja, &QLineEdit::textChanged, this, [this, oCaja] { Monto_Change(*oCaja); });
        AsignaKeyPress(*oCaja, [this, oCaja](int& KeyAscii) { Monto_KeyPress(*oCaja, KeyAscii); });
        platform::watchFocus(
            *oCaja, [this, oCaja] { Monto_GotFocus(*oCaja); }, [this, oCaja] { Monto_LostFocus(*oCaja); });
    }
    for (int i = 0; i < 2; ++i)
        connect(cmdOpcion[i], &QPushButton::clicked, this, [this, i] { cmdOpcion_Click(i); });
}

// ---------------------------------------------------------------- state

ServiciosFrm913& FrmNoNotificada::Formulario() const
{
    return *FormularioSolicitud();
}

bool FrmNoNotificada::EsNueva() const
{
    return Formulario().pOperacion() == QLatin1String("N");
}

DeudaNoNotificada FrmNoNotificada::Deuda() const
{
    DeudaNoNotificada deuda;
    deuda.sDeclarante = sDeclarante_;
    deuda.sPeriodo = mkePeriodo->displayText();
    if (cboDocumento->currentIndex() >= 0)
        deuda.sTipoDocumento = cboDocumento->currentText().left(6);
    deuda.sNumDocumento = txtNumDocumento->text();
    deuda.sRuc = TxtRuc->text();
    deuda.sTributo = txtmtoTributo->text();
    deuda.sInteresCap = TxtMtoInteresesCAP->text();
    deuda.sInteres = TxtMtoIntereses->text();
    deuda.sTotal = lblMtoAcogido->text();
    return deuda;
}

QWidget* FrmNoNotificada::Campo(CampoDeuda eCampo) const
{
    switch (eCampo) {
    case CampoDeuda::Periodo: return mkePeriodo;
    case CampoDeuda::TipoDocumento: return cboDocumento;
    case CampoDeuda::NumDocumento: return txtNumDocumento;
    case CampoDeuda::Ruc: return TxtRuc;
    case CampoDeuda::Tributo: return txtmtoTributo;
    case CampoDeuda::InteresCap: return TxtMtoInteresesCAP;
    case CampoDeuda::Interes: return TxtMtoIntereses;
    case CampoDeuda::Ninguno: break;
    }
    return nullptr;
}

// ---------------------------------------------------------------- loading

void FrmNoNotificada::Form_Load()
{
    ServiciosFrm913& frm = Formulario();
    sDeclarante_ = frm.TextoNumdoc().left(11).trimmed();
    nTabOrigen_ = frm.TabActual();
    Deshabilita_campos();

    txtDocumento->clear();
    CargaValoresNEW(*cboDocumento,
                    EsNueva() ? QString() : frm.ColumnaGrilla(nTabOrigen_, QStringLiteral("Cod_Tip_doc")));
    AjustaAnchoCombo(*this, *cboDocumento, 55);
    cboDocumento->setCurrentIndex(-1);
    txtTributo->clear();

    QString sSufijo = QStringLiteral(" - (Nuevo)");
    if (!EsNueva()) {
        sSufijo = QStringLiteral(" - (Modificación)");
        CargaCampos(1, nTabOrigen_);
    }
    Frame1->setTitle(frm.CaptionTab(nTabOrigen_).mid(1, 40));
    setWindowTitle(Frame1->title() + sSufijo);
}

void FrmNoNotificada::Deshabilita_campos()
{
    mkePeriodo->clear();
    cboDocumento->setCurrentIndex(-1);
    for (QLineEdit* oCaja : {txtTributo, txtDocumento}) {
        oCaja->clear();
        Colorea(*oCaja, true);
    }
    for (QLineEdit* oCaja : {txtNumDocumento, TxtRuc, txtmtoTributo, TxtMtoInteresesCAP, TxtMtoIntereses, lblMtoAcogido})
        oCaja->clear();
}

void FrmNoNotificada::CargaValoresNEW(QComboBox& oCombo, const QString& sCodigo)
{
    const int nSeleccion = EjecutaConReintento(QStringLiteral("CargaValores"), [&] {
        sSQL = QStringLiteral("SELECT argumento, Left(funcion,20) FROM PARAM WHERE numero = '872' ");
        auto rs = oBaseDatos->openRecordset(sSQL, {}, platform::RecordsetType::ForwardOnly);
        const QSignalBlocker bloqueo(oCombo);
        int nElegido = oCombo.currentIndex();
        if (rs->eof())
            return nElegido;
        oCombo.clear();
        nElegido = -1;
        for (; !rs->eof(); rs->moveNext()) {
            const QString sArgumento = rs->field(0).text();
            oCombo.addItem(sArgumento + QString(12, u' ') + rs->field(1).text(), sArgumento.toInt());
            if (!sCodigo.isEmpty() && sArgumento.toInt() == sCodigo.toInt())
                nElegido = oCombo.count() - 1;
        }
        oCombo.setCurrentIndex(-1);
        return nElegido;
    });
    oCombo.setCurrentIndex(nSeleccion);
}

void FrmNoNotificada::CargaCampos(int nFlag, int nTab)
{
    const bool bCargado = nFlag == 1;
    ServiciosFrm913& frm = Formulario();
    if (bCargado)
        mkePeriodo->setText(PeriodoMMAAAA(frm.ColumnaGrilla(nTab, QStringLiteral("per_doc"))));
    else
        mkePeriodo->clear();
    mkePeriodo->setEnabled(!bCargado);
    Colorea(*mkePeriodo, bCargado);

    if (bCargado) {
        CargaValoresNEW(*cboDocumento, frm.ColumnaGrilla(nTab, QStringLiteral("Cod_Tip_doc")));
        AjustaAnchoCombo(*this, *cboDocumento, 46);
        txtNumDocumento->setText(frm.ColumnaGrilla(nTab, QStringLiteral("num_doc")));
    }

    txtTributo->setEnabled(false);
    for (QWidget* oControl : {static_cast<QWidget*>(txtTributo), static_cast<QWidget*>(txtNumDocumento),
                              static_cast<QWidget*>(cboDocumento), static_cast<QWidget*>(txtDocumento)})
        Colorea(*oControl, bCargado);
    for (QWidget* oControl : {static_cast<QWidget*>(txtNumDocumento), static_cast<QWidget*>(cboDocumento),
                              static_cast<QWidget*>(txtDocumento)})
        oControl->setEnabled(!bCargado);

    const auto columna = [&](const char* sColumna) {
        return bCargado ? frm.ColumnaGrilla(nTab, QString::fromLatin1(sColumna)) : QString();
    };
    TxtRuc->setText(columna("Num_ord_dj"));
    txtmtoTributo->setText(columna("mto_tributo_c"));
    TxtMtoInteresesCAP->setText(columna("mto_int_cap_c"));
    TxtMtoIntereses->setText(columna("mto_int_c"));
    lblMtoAcogido->setText(columna("mto_act_c"));
}

// ---------------------------------------------------------------- fields

void FrmNoNotificada::cboDocumento_Click()
{
    const int nIndice = cboDocumento->currentIndex();
    txtDocumento->setText(nIndice < 0 ? QString() : cboDocumento->currentText().mid(6, 60).trimmed());
    if (nIndice < 0)
        return;
    const QString sCodigo = FormateaCodigo(TributoDeDocumento(cboDocumento->currentText().left(6), nEntidad), true);
    txtTributo->setText(sCodigo + QStringLiteral(" - ")
                        + ObtieneFuncionParam(QStringLiteral("871"), sCodigo, 30, 1, CorteFuncion::Recortado));
}

void FrmNoNotificada::mkePeriodo_Change()
{
    const QString sPeriodo = mkePeriodo->displayText();
    if (sPeriodo.contains(u'_'))
        return;
    const bool bCerrado = InteresCapitalizadoCerrado(sPeriodo);
    Colorea(*TxtMtoInteresesCAP, bCerrado);
    TxtMtoInteresesCAP->setReadOnly(bCerrado);
    if (bCerrado)
        TxtMtoInteresesCAP->setText(QStringLiteral("0"));
}

void FrmNoNotificada::mkePeriodo_KeyPress(int& KeyAscii)
{
    if (KeyAscii == kEnter)
        EnviaTab(QStringLiteral("TAB"));
    KeyAscii = oUtil->filterNumericKey(KeyAscii, false);
}

void FrmNoNotificada::txtNumDocumento_KeyPress(int& KeyAscii)
{
    KeyAscii = oUtil->filterKey(KeyAscii);
    if (KeyAscii == kEnter)
        EnviaTab(QStringLiteral("TAB"));
    KeyAscii = oUtil->filterNumericKey(KeyAscii, false);
}

void FrmNoNotificada::TxtRuc_KeyPress(int& KeyAscii)
{
    txtNumDocumento_KeyPress(KeyAscii);
}

void FrmNoNotificada::Monto_Change(QLineEdit& oCaja)
{
    const QString sTexto = oCaja.text();
    if (!sTexto.trimmed().isEmpty() && !Moneda::Convierte(sTexto)) {
        oCaja.setText(QStringLiteral("0."));
        oCaja.setCursorPosition(2);
    }
    RecalculaTotal();
}

void FrmNoNotificada::Monto_GotFocus(QLineEdit& oCaja)
{
    const QString sPatron = QStringLiteral("#########0.#0");
    if (oCaja.text().isEmpty())
        oCaja.setText(QStringLiteral("0.00"));
    else
        oCaja.setText(Formato(QuitaFormatoMonto(Formato(oCaja.text(), sPatron).remove(u'-')), sPatron));
    oCaja.setMaxLength(13);
    oCaja.selectAll();
}

void FrmNoNotificada::Monto_LostFocus(QLineEdit& oCaja)
{
    oCaja.setMaxLength(16);
    if (!oCaja.text().isEmpty())
        oCaja.setText(Formato(oCaja.text(), QStringLiteral("#,###,###,##0.00")));
}

void FrmNoNotificada::Monto_KeyPress(QLineEdit& oCaja, int& KeyAscii)
{
    if (KeyAscii == '.' && oCaja.text().contains(u'.'))
        KeyAscii = 0;
    if (KeyAscii == kEnter) {
        if (ValidaTeclaMonto(oCaja.text(), 10, 2, false, windowTitle()))
            EnviaTab(QStringLiteral("TAB"));
        else
            oCaja.setFocus();
    }
    KeyAscii = oUtil->filterNumericKey(KeyAscii, true);
}

void FrmNoNotificada::RecalculaTotal()
{
    lblMtoAcogido->setText(MontoAcogido(txtmtoTributo->text(), TxtMtoInteresesCAP->text(), TxtMtoIntereses->text()));
}

// ---------------------------------------------------------------- buttons

bool FrmNoNotificada::Valida_Datos()
{
    const std::optional<RechazoDeuda> rechazo = ValidaDeuda(Deuda(), EsNueva(), windowTitle());
    if (!rechazo)
        return true;
    auto* oCaja = qobject_cast<QLineEdit*>(Campo(rechazo->eCampo));
    if (oCaja && rechazo->bCajaEnCero)
        oCaja->setText(QStringLiteral("0.00"));
    QWidget* oCampo = Campo(rechazo->eCampo);
    if (oCampo && oCampo->isEnabled()) {
        oCampo->setFocus();
        if (oCaja)
            oCaja->selectAll();
    }
    return false;
}

GrabacionDeuda FrmNoNotificada::GrabaDatos()
{
    ServiciosFrm913& frm = Formulario();
    const bool bNueva = EsNueva();
    const GrabacionDeuda resultado = GrabaDeuda(Deuda(), bNueva, frm, windowTitle());
    if (resultado == GrabacionDeuda::Duplicada && mkePeriodo->isEnabled())
        mkePeriodo->setFocus();
    if (resultado != GrabacionDeuda::Grabada || !bNueva)
        return resultado;
    if (frm.txtmtototal(nTabOrigen_).text() != QLatin1String("0"))
        frm.CalculaMontoTotal(frm.txtmtototal(nTabOrigen_), nTabOrigen_);
    // Shown over a tab without a debts grid, there is none to reload.
    if (nTabOrigen_ == 1 || nTabOrigen_ == 2)
        frm.CargaTabIndex(nTabOrigen_);
    Deshabilita_campos();
    mkePeriodo->setFocus();
    return resultado;
}

void FrmNoNotificada::cmdOpcion_Click(int Index)
{
    if (!VerificaConfiguracionRegional()) {
        PunteroNormal();
        return;
    }
    if (Index == 1) {
        reject();
        return;
    }
    if (!EjecutaConReintento(QStringLiteral("cmdOpcion_Click"), [this] { return Valida_Datos(); }))
        return;
    PunteroReloj();
    bDeudaGrabada = true;
    const GrabacionDeuda resultado = GrabaDatos();
    PunteroNormal();
    if (!EsNueva() && resultado == GrabacionDeuda::Grabada)
        accept();
}
