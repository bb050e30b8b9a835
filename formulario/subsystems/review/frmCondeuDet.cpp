#include "formulario/subsystems/review/frmCondeuDet.h"

#include "formulario/core/ConfiguracionRegional.h"
#include "formulario/core/FondoCaja.h"
#include "formulario/core/Fileproc.h"
#include "formulario/core/Formato.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Registros.h"
#include "formulario/core/TeclaPresionada.h"
#include "formulario/core/modGen02.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/subsystems/request/Frm913Servicios.h"
#include "formulario/subsystems/review/EntradaSinPegar.h"
#include "formulario/subsystems/review/frmSustento.h"
#include "platform/database.h"
#include "platform/displaybox.h"
#include "platform/focus.h"
#include "platform/utility.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

int nMotivo = 0;
bool bDetalleAceptado = false;
QString sCodTipDoc;

namespace {

// Positions in twips, as the dialog was designed; 15 twips a pixel.
constexpr int Px(int nTwips) { return nTwips / 15; }
constexpr int kAltoCaja = 285;
const QString kMontoPropio = QStringLiteral("##,###,###,###,##0");

QLabel* Etiqueta(QWidget* padre, const QString& sNombre, const QString& sTexto, int x, int y, int nAncho)
{
    auto* etiqueta = new QLabel(sTexto, padre);
    etiqueta->setObjectName(sNombre);
    etiqueta->setGeometry(Px(x), Px(y), Px(nAncho), Px(255));
    return etiqueta;
}

// A display box: grey and read-only.
QLineEdit* Caja(QWidget* padre, const QString& sNombre, int x, int y, int nAncho)
{
    auto* caja = new QLineEdit(padre);
    caja->setObjectName(sNombre);
    caja->setGeometry(Px(x), Px(y), Px(nAncho), Px(kAltoCaja));
    caja->setReadOnly(true);
    caja->setFocusPolicy(Qt::NoFocus);
    PintaFondo(*caja, kGris);
    return caja;
}

QGroupBox* Marco(QWidget* padre, const QString& sNombre, const QString& sTitulo, int x, int y, int nAncho, int nAlto)
{
    auto* marco = new QGroupBox(sTitulo, padre);
    marco->setObjectName(sNombre);
    marco->setGeometry(Px(x), Px(y), Px(nAncho), Px(nAlto));
    return marco;
}

QPushButton* Boton(QWidget* padre, const QString& sNombre, const QString& sTexto, int x, int y, int nAncho)
{
    auto* boton = new QPushButton(sTexto, padre);
    boton->setObjectName(sNombre);
    boton->setGeometry(Px(x), Px(y), Px(nAncho), Px(375));
    // Enter moves the focus on; it never presses a button.
    boton->setAutoDefault(false);
    return boton;
}

QString Elemento(const QString& sNombre, int nIndex)
{
    return sNombre + QLatin1Char('_') + QString::number(nIndex);
}

struct Motivo {
    QString sCaption;
    bool bVisible;
    bool bBoton;      // has an evidence button
    bool bBotonVisible;
    int x;
    int y;
};

// Reasons 1 to 8: 1 to 3 in the first column, 4 to 6 in the second, 7 and 8 below.
const std::array<Motivo, kMotivos + 1> kMotivosTabla = {{
    {},
    {QStringLiteral("Pagos no considerados"), true, true, true, 120, 300},
    {QStringLiteral("Modificación de datos"), false, true, false, 120, 660},
    {QStringLiteral("Error material (Art. 108 C.T.)"), true, true, true, 120, 1020},
    {QStringLiteral("Desistimiento aceptado"), true, true, true, 5640, 300},
    {QStringLiteral("DDJJ rectificatoria"), false, true, false, 5640, 660},
    {QStringLiteral("Literal b) Art. 3º de RS 176-2007"), true, true, false, 5640, 1020},
    {QStringLiteral("No corresponde fec. actualiz."), false, false, false, 120, 1380},
    {QStringLiteral("Otros"), false, true, false, 5640, 1380},
}};

// An amount stated by the administration, "###,###,###,###,##0.00": the
// numeric value of its text (a text that is no number reads 0); empty when
// the statement gives none.
QString MontoAlcor(const QString& sMonto)
{
    return sMonto.trimmed().isEmpty() ? QString() : Moneda::ValorInicial(sMonto).Formatea(2, true);
}

QString Texto(const ServiciosFrm913& frm, const char* sColumna)
{
    return frm.ColumnaGrilla(nTabActual, QString::fromLatin1(sColumna));
}

// fec_des_deu as the grid shows it: dd/mm/yyyy, or the stored date.
QDate LeeFechaGrilla(const QString& sFecha)
{
    const QDate fecha = QDate::fromString(sFecha.left(10), QStringLiteral("dd/MM/yyyy"));
    return fecha.isValid() ? fecha : QDate::fromString(sFecha.left(10), Qt::ISODate);
}

QString DescripcionEstado(const QString& sIndVerDeu)
{
    if (sIndVerDeu == QLatin1String("00"))
        return QStringLiteral("Deuda válida");
    if (sIndVerDeu == QLatin1String("07"))
        return QStringLiteral("Valor se encuentra en proceso contencioso");
    if (sIndVerDeu == QLatin1String("08"))
        return QStringLiteral("Valor tiene costas pendientes");
    return QStringLiteral("Otras deudas");
}

bool EstadoAcogible(const QString& sIndVerDeu)
{
    return sIndVerDeu == QLatin1String("00") || sIndVerDeu == QLatin1String("07")
        || sIndVerDeu == QLatin1String("08");
}

} // namespace

frmCondeuDet::frmCondeuDet()
{
    setObjectName(QStringLiteral("frmCondeuDet"));
    CreaControles();
    platform::showTextsFromStart(*this);
    ConectaEventos();
}

frmCondeuDet::~frmCondeuDet() = default;

// ---------------------------------------------------------------- controls

void frmCondeuDet::CreaControles()
{
    Frame1 = Marco(this, QStringLiteral("Frame1"), QStringLiteral("Información de ALCOR"), 120, 60, 11280, 4020);
    CreaDeudaNotificada();
    CreaDeudaSegunAlcor();
    Frame2 = Marco(this, QStringLiteral("Frame2"), QStringLiteral("Información del contribuyente"), 120, 4140,
                   11280, 4320);
    CreaRespuestas();
    CreaMotivos();
    lstForm = new QListWidget(Frame2);
    lstForm->setObjectName(QStringLiteral("lstForm"));
    lstForm->hide();
    cmdOpcion[0] = Boton(this, Elemento(QStringLiteral("cmdOpcion"), 0), QStringLiteral("&Aceptar"), 4200, 8580, 1215);
    cmdOpcion[1] = Boton(this, Elemento(QStringLiteral("cmdOpcion"), 1), QStringLiteral("&Salir"), 5640, 8580, 1215);
    setFixedSize(Px(11520), Px(9120));
}

void frmCondeuDet::CreaDeudaNotificada()
{
    Frame6 = Marco(Frame1, QStringLiteral("Frame6"), QStringLiteral("Deuda notificada"), 120, 240, 7440, 3660);
    Etiqueta(Frame6, QStringLiteral("lblTitPeriodo"), QStringLiteral("Periodo"), 120, 240, 960);
    Label3 = Etiqueta(Frame6, QStringLiteral("Label3"), QStringLiteral("Número de resolución"), 1200, 240, 2200);
    Label4 = Etiqueta(Frame6, QStringLiteral("Label4"), QStringLiteral("Tipo de documento"), 3240, 240, 2400);
    label9 = Etiqueta(Frame6, QStringLiteral("label9"), QStringLiteral("Código de tributo"), 120, 900, 3000);
    lblTitTributoAso =
        Etiqueta(Frame6, QStringLiteral("lblTitTributoAso"), QStringLiteral("Tributo asociado"), 120, 1560, 3000);
    lblTitEstado = Etiqueta(Frame6, QStringLiteral("lblTitEstado"), QStringLiteral("Estado de la deuda"), 120, 2280,
                            3000);
    lblTitFecha = Etiqueta(Frame6, QStringLiteral("lblTitFecha"), QStringLiteral("Fecha de descarga"), 120, 2940, 3000);

    const struct {
        QLineEdit** caja;
        const char* sNombre;
        int x;
        int y;
        int nAncho;
    } cajas[] = {
        {&lblPeriodo, "lblPeriodo", 120, 480, 960},         {&lblNumvalor, "lblNumvalor", 1200, 480, 1920},
        {&lblCod_tip_doc, "lblCod_tip_doc", 3240, 480, 780}, {&lblDes_tip_doc, "lblDes_tip_doc", 4080, 480, 3240},
        {&lblCodtributo, "lblCodtributo", 120, 1140, 700},  {&LblDestributo, "LblDestributo", 880, 1140, 6440},
        {&lblCod_Tri_aso, "lblCod_Tri_aso", 120, 1800, 700}, {&lblDesetapa, "lblDesetapa", 880, 1800, 6440},
        {&lblIndEstado, "lblIndEstado", 120, 2520, 700},    {&lblDesEstado, "lblDesEstado", 880, 2520, 6440},
        {&lblFechaAct, "lblFechaAct", 120, 3180, 1200},      {&lblDesFecha, "lblDesFecha", 1380, 3180, 5940},
    };
    for (const auto& c : cajas)
        *c.caja = Caja(Frame6, QString::fromLatin1(c.sNombre), c.x, c.y, c.nAncho);
    // The download date shows with its time; the box beside it, always
    // empty, gives up the width.
    QRect fecha = lblFechaAct->geometry();
    QRect vecina = lblDesFecha->geometry();
    const int nSeparacion = vecina.left() - fecha.right();
    fecha.setWidth(platform::widthToShow(*lblFechaAct, QStringLiteral("00/00/0000 00:00:00")));
    vecina.setLeft(fecha.right() + nSeparacion);
    lblFechaAct->setGeometry(fecha);
    lblDesFecha->setGeometry(vecina);
}

void frmCondeuDet::CreaDeudaSegunAlcor()
{
    FrmSinBeneficio = Marco(Frame1, QStringLiteral("FrmSinBeneficio"), QStringLiteral("Deuda según ALCOR"), 7680, 240,
                            3480, 3660);
    const struct {
        QLabel** monto;
        const char* sNombre;
        QString sTitulo;
        int y;
    } montos[] = {
        {&lblmtotribinsol1, "lblmtotribinsol1", QStringLiteral("Tributo insoluto"), 360},
        {&lblmtointcapital, "lblmtointcapital", QStringLiteral("Interés capitalizado"), 720},
        {&lblmtointnocapital, "lblmtointnocapital", QStringLiteral("Interés no capitalizado"), 1080},
        {&lblmtotot1, "lblmtotot1", QStringLiteral("Total"), 1440},
    };
    for (const auto& m : montos) {
        Etiqueta(FrmSinBeneficio, QStringLiteral("lblTit") + QString::fromLatin1(m.sNombre), m.sTitulo, 120, m.y,
                 2100);
        *m.monto = Etiqueta(FrmSinBeneficio, QString::fromLatin1(m.sNombre), QString(), 2280, m.y, 1080);
        (*m.monto)->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    lblNum_ord_dj = Caja(FrmSinBeneficio, QStringLiteral("lblNum_ord_dj"), 2040, 1920, 1320);
    lblInd_valor = Etiqueta(FrmSinBeneficio, QStringLiteral("lblInd_valor"), QString(), 120, 2400, 600);
    lblInd_valor->hide();
}

void frmCondeuDet::CreaRespuestas()
{
    Frame3 = Marco(Frame2, QStringLiteral("Frame3"), QStringLiteral("¿Se acoge al fraccionamiento?"), 120, 240, 3000,
                   900);
    Frame4 = Marco(Frame2, QStringLiteral("Frame4"), QStringLiteral("¿Esta conforme con el monto?"), 120, 1260, 3000,
                   900);
    const std::array<QString, 2> sAcoge = {QStringLiteral("&Si"), QStringLiteral("&No")};
    const std::array<QString, 2> sConforme = {QStringLiteral("S&i"), QStringLiteral("N&o")};
    for (int i = 0; i < 2; ++i) {
        optAcogeFrac[i] = new QRadioButton(sAcoge[i], Frame3);
        optAcogeFrac[i]->setObjectName(Elemento(QStringLiteral("optAcogeFrac"), i));
        optAcogeFrac[i]->setGeometry(Px(240 + 1080 * i), Px(420), Px(960), Px(285));
        optConformeMto[i] = new QRadioButton(sConforme[i], Frame4);
        optConformeMto[i]->setObjectName(Elemento(QStringLiteral("optConformeMto"), i));
        optConformeMto[i]->setGeometry(Px(240 + 1080 * i), Px(420), Px(960), Px(285));
    }

    Frame7 = Marco(Frame2, QStringLiteral("Frame7"), QString(), 3240, 240, 7920, 1920);
    const struct {
        QLineEdit** caja;
        QLabel** etiqueta;
        const char* sNombre;
        const char* sEtiqueta;
        QString sTitulo;
        int y;
    } montos[] = {
        {&txtmtoTributo, nullptr, "txtmtoTributo", "lblTitTributo", QStringLiteral("Tributo insoluto"), 300},
        {&lblMtoInteresCAP, nullptr, "lblMtoInteresCAP", "lblTitInteresCAP", QStringLiteral("Interés capitalizado"),
         660},
        {&lblMtoInteres, &Label1, "lblMtoInteres", "Label1", QStringLiteral("Interés"), 1020},
        {&lblMtoAcogido, &Label24, "lblMtoAcogido", "Label24", QStringLiteral("Monto acogido"), 1380},
    };
    for (const auto& m : montos) {
        QLabel* etiqueta = Etiqueta(Frame7, QString::fromLatin1(m.sEtiqueta), m.sTitulo, 120, m.y + 30, 2700);
        if (m.etiqueta)
            *m.etiqueta = etiqueta;
        auto* caja = new QLineEdit(Frame7);
        caja->setObjectName(QString::fromLatin1(m.sNombre));
        caja->setGeometry(Px(2940), Px(m.y), Px(1800), Px(kAltoCaja));
        caja->setAlignment(Qt::AlignRight);
        caja->setMaxLength(15);
        *m.caja = caja;
    }
    lblMtoAcogido->setReadOnly(true);
    PintaFondo(*lblMtoAcogido, kGris);
}

void frmCondeuDet::CreaMotivos()
{
    Frame5 = Marco(Frame2, QStringLiteral("Frame5"), QStringLiteral("Motivos y sustento"), 120, 2280, 11040, 1920);
    for (int i = 1; i <= kMotivos; ++i) {
        const Motivo& m = kMotivosTabla[i];
        chkmotivo[i] = new QCheckBox(m.sCaption, Frame5);
        chkmotivo[i]->setObjectName(Elemento(QStringLiteral("chkmotivo"), i));
        chkmotivo[i]->setGeometry(Px(m.x), Px(m.y), Px(4800), Px(285));
        chkmotivo[i]->setProperty("Tag", QStringLiteral("0"));
        chkmotivo[i]->setVisible(m.bVisible);
        chkmotivo[i]->setEnabled(m.bVisible);
        if (!m.bBoton)
            continue;
        cmdMotivo[i] = Boton(Frame5, Elemento(QStringLiteral("cmdMotivo"), i), QStringLiteral("..."), m.x + 4860,
                             m.y - 30, 300);
        cmdMotivo[i]->resize(cmdMotivo[i]->width(), Px(315));
        cmdMotivo[i]->setVisible(m.bBotonVisible);
        cmdMotivo[i]->setEnabled(m.bBotonVisible);
    }
}

void frmCondeuDet::ConectaEventos()
{
    for (int i = 0; i < 2; ++i) {
        connect(optAcogeFrac[i], &QRadioButton::toggled, this, [this, i](bool bMarcada) {
            if (bMarcada)
                optAcogeFrac_Click(i);
        });
        connect(optConformeMto[i], &QRadioButton::toggled, this, [this, i](bool bMarcada) {
            if (bMarcada)
                optConformeMto_Click(i);
        });
        connect(cmdOpcion[i], &QPushButton::clicked, this, [this, i] { cmdOpcion_Click(i); });
    }
    for (int i = 1; i <= kMotivos; ++i) {
        connect(chkmotivo[i], &QCheckBox::toggled, this, [this, i] { chkmotivo_Click(i); });
        if (cmdMotivo[i])
            connect(cmdMotivo[i], &QPushButton::clicked, this, [this, i] { cmdMotivo_Click(i); });
    }
    connect(txtmtoTributo, &QLineEdit::textChanged, this, [this] { txtmtoTributo_Change(); });
    connect(lblMtoInteres, &QLineEdit::textChanged, this, [this] { lblMtoInteres_Change(); });
    connect(lblMtoInteresCAP, &QLineEdit::textChanged, this, [this] { lblMtoInteres_Change(); });
    for (QLineEdit* caja : {txtmtoTributo, lblMtoInteresCAP, lblMtoInteres}) {
        platform::watchFocus(
            *caja, [this, caja] { Monto_GotFocus(*caja); }, [this, caja] { Monto_LostFocus(*caja); });
        ImpidePegar(*caja);
        AsignaKeyPress(*caja, [this](int& KeyAscii) { Monto_KeyPress(KeyAscii); });
    }
}

// The lines of the notified debt, top to bottom, with their tops for the
// kinds "02" (-1 hidden) and "03"; the designed layout is that of "03".
void frmCondeuDet::Posiciona_Etiqueta()
{
    const bool b02 = fila_.sIndTipDeu == QLatin1String("02");
    const struct {
        QList<QWidget*> controles;
        int nTop02;
        int nTop03;
    } filas[] = {
        {{lblPeriodo, lblNumvalor}, 460, 480},
        {{label9}, 1070, 900},
        {{lblCodtributo, LblDestributo}, 1290, 1140},
        {{lblTitTributoAso}, -1, 1560},
        {{lblCod_Tri_aso, lblDesetapa}, -1, 1800},
        {{lblTitEstado}, 1950, 2280},
        {{lblIndEstado, lblDesEstado}, 2180, 2520},
        {{lblTitFecha}, 2780, 2940},
        {{lblFechaAct, lblDesFecha}, 3000, 3180},
    };
    for (const auto& fila : filas) {
        const int nTop = b02 ? fila.nTop02 : fila.nTop03;
        for (QWidget* control : fila.controles) {
            control->setVisible(nTop >= 0);
            if (nTop >= 0)
                control->move(control->x(), Px(nTop));
        }
    }
}

// Undoes what an earlier debt of kind "02" or "03" changed.
void frmCondeuDet::DisposicionDisenada()
{
    const QString sTipo = fila_.sIndTipDeu;
    fila_.sIndTipDeu = QStringLiteral("03");
    Posiciona_Etiqueta();
    fila_.sIndTipDeu = sTipo;
    for (QWidget* control : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(lblCod_tip_doc),
                             static_cast<QWidget*>(lblDes_tip_doc)})
        control->show();
    Label3->setText(QStringLiteral("Número de resolución"));
}

// ---------------------------------------------------------------- loading

void frmCondeuDet::Form_Load()
{
    ServiciosFrm913& frm = *FormularioSolicitud();
    setWindowTitle(frm.CaptionTab(frm.TabIndexTab()).mid(1, 40));
    CargaValorDj();
    nHelpContext_ = frm.HelpContextTab();
}

void frmCondeuDet::CargaValorDj()
{
    ServiciosFrm913& frm = *FormularioSolicitud();
    LimpiaRespuestas();
    fila_ = DeudaRevisada{}; // the evidence slots too
    fila_.nTipDoc = 6;
    fila_.sDocId = frm.TextoNumdoc().left(11).trimmed();
    LeeFila(frm);
    MuestraFila();
    AplicaRespuestas(true);
    txtmtoTributo->setReadOnly(false);
    CargaMotivos();
    AplicaRespuestas(false);
    if (!EstadoAcogible(fila_.sIndVerDeu)) {
        for (QRadioButton* opcion : optAcogeFrac)
            opcion->setEnabled(false);
    }
    bModificado = false;
}

void frmCondeuDet::LimpiaRespuestas()
{
    DesmarcaOpciones(optAcogeFrac);
    DesmarcaOpciones(optConformeMto);
    for (QRadioButton* opcion : optAcogeFrac)
        opcion->setEnabled(true);
    for (QRadioButton* opcion : optConformeMto)
        opcion->setEnabled(false);
    // Reasons 7 and 8 too: a reason loaded for one debt never stays for the next.
    for (int i = 1; i <= kMotivos; ++i) {
        MarcaMotivo(i, false);
        EstableceTagMotivo(i, QStringLiteral("0"));
        if (i <= 6)
            chkmotivo[i]->setEnabled(false);
    }
    for (QLineEdit* caja : {txtmtoTributo, lblMtoInteresCAP, lblMtoInteres}) {
        caja->clear();
        caja->setEnabled(false);
        PintaFondo(*caja, kGris);
    }
    lblMtoAcogido->clear();
    lblMtoAcogido->setReadOnly(true);
    lstForm->clear();
}

void frmCondeuDet::LeeFila(ServiciosFrm913& frm)
{
    const auto cero = [](const QString& sValor) { return sValor.isEmpty() ? QStringLiteral("0") : sValor; };
    fila_.sPerDoc = Texto(frm, "per_doc");
    fila_.sCodTri = Texto(frm, "cod_tri");
    fila_.sIndTipDeu = Texto(frm, "ind_tip_deu");
    fila_.sCodFor = Texto(frm, "cod_for");
    sDesTributo = Texto(frm, "des_tributo").mid(5, 100).trimmed();
    fila_.sNumDoc = Texto(frm, "num_Doc");
    fila_.sCodTipDoc = Texto(frm, "cod_Tip_doc");
    sNumOrdDj = Texto(frm, "num_ord_dj");
    sIndDeudaDj = Texto(frm, "ind_deuda_dj");
    sCodForDj = Texto(frm, "cod_for_dj");
    lblInd_valor->setText(Texto(frm, "ind_valor"));
    sDesValor = Texto(frm, "Des_valor");
    fila_.sCodTriAso = Texto(frm, "cod_Tri_aso");
    fila_.sIndVerDeu = Texto(frm, "ind_ver_deu");
    sFecDesDeu = Texto(frm, "fec_des_deu");
    sMtoTributoS = Texto(frm, "mto_tributo_s");
    sMtoIntCapS = Texto(frm, "mto_int_cap_s");
    sMtoIntS = Texto(frm, "mto_int_s");
    sIndAcog = Texto(frm, "ind_acog");
    sIndConf = Texto(frm, "ind_conf");
    sMtoTributoC = Texto(frm, "mto_tributo_c");
    sMtoIntCapC = cero(Texto(frm, "mto_int_cap_c"));
    sMtoIntC = cero(Texto(frm, "mto_int_c"));
    sMtoActC = cero(Texto(frm, "mto_act_c"));
    fila_.nNumCuo = Texto(frm, "num_cuo").toInt();
    sCodTipDoc = fila_.sCodTipDoc;
    sDesEstado = DescripcionEstado(fila_.sIndVerDeu);
}

void frmCondeuDet::MuestraFila()
{
    DisposicionDisenada();
    lblPeriodo->setText(PeriodoMMAAAA(fila_.sPerDoc));
    lblNumvalor->setText(fila_.sNumDoc);
    if (fila_.sIndTipDeu == QLatin1String("02")) {
        lblNumvalor->setText(Formato(fila_.sCodFor, QStringLiteral("0###")) + QLatin1Char('-') + fila_.sNumDoc);
        Label3->setText(QStringLiteral("Nº de formulario - Nº de orden"));
        Posiciona_Etiqueta();
        for (QWidget* control : {static_cast<QWidget*>(Label4), static_cast<QWidget*>(lblCod_tip_doc),
                                 static_cast<QWidget*>(lblDes_tip_doc)})
            control->hide();
    } else if (fila_.sIndTipDeu == QLatin1String("03")) {
        Label3->setText(QStringLiteral("Nº de infracción"));
        Posiciona_Etiqueta();
    }
    lblCodtributo->setText(FormateaCodigo(fila_.sCodTri, false));
    LblDestributo->setText(sDesTributo);
    lblCod_tip_doc->setText(fila_.sCodTipDoc);
    lblDes_tip_doc->setText(sDesValor);
    lblNum_ord_dj->setText(sNumOrdDj);
    lblCod_Tri_aso->setText(FormateaCodigo(fila_.sCodTriAso, false));
    lblDesetapa->setText(ObtieneFuncionParam(QStringLiteral("725"), fila_.sCodTriAso, 60, 1, CorteFuncion::Recortado));
    lblIndEstado->setText(fila_.sIndVerDeu);
    lblDesEstado->setText(sDesEstado.toUpper());
    lblFechaAct->setText(sFecDesDeu);
    lblmtotribinsol1->setText(MontoAlcor(sMtoTributoS));
    lblmtointcapital->setText(MontoAlcor(sMtoIntCapS));
    lblmtointnocapital->setText(MontoAlcor(sMtoIntS));
    lblmtotot1->setText(
        (Moneda::ValorInicial(sMtoTributoS) + Moneda::ValorInicial(sMtoIntCapS) + Moneda::ValorInicial(sMtoIntS))
            .Formatea(2, true));
}

// The row's answers; the amounts only on the first pass.
void frmCondeuDet::AplicaRespuestas(bool bConMontos)
{
    if (sIndAcog.isEmpty() || sIndAcog == QLatin1String("0"))
        optAcogeFrac_Click(0);
    else if (sIndAcog == QLatin1String("1"))
        optAcogeFrac[0]->setChecked(true);
    else if (sIndAcog == QLatin1String("2"))
        optAcogeFrac[1]->setChecked(true);

    if (sIndConf == QLatin1String("1")) {
        optConformeMto[0]->setChecked(true);
    } else if (sIndConf == QLatin1String("2")) {
        optConformeMto[1]->setChecked(true);
        if (!bConMontos)
            return;
        const bool bPropios = (!sMtoTributoC.isEmpty() && sMtoTributoC != QLatin1String("0"))
            || sIndAcog == QLatin1String("1");
        txtmtoTributo->setText(bPropios ? Formato(sMtoTributoC, kMontoPropio) : QString());
        lblMtoInteresCAP->setText(bPropios ? Formato(sMtoIntCapC, kMontoPropio) : QString());
        lblMtoInteres->setText(bPropios ? Formato(sMtoIntC, kMontoPropio) : QString());
        lblMtoAcogido->setText(bPropios ? Formato(sMtoActC, kMontoPropio) : QString());
    }
}

// The stored reasons of the debt with their evidence; reasons 7 and 8 come
// back without evidence, ticked, with no button to press.
void frmCondeuDet::CargaMotivos()
{
    const QString sCondicion = QStringLiteral(
        "a.doc_id_d = ? AND a.semana = ? AND a.ind_tip_deu = ? AND a.per_doc = ? AND a.cod_tri = ? "
        "AND a.num_doc = ? AND a.cod_for = ? ");
    const QVariantList clave = {fila_.sDocId,  nEntidad,      fila_.sIndTipDeu, fila_.sPerDoc,
                                fila_.sCodTri, fila_.sNumDoc, fila_.sCodFor};
    sSQL = QStringLiteral(
               "SELECT a.cod_motivo, b.cod_formulario, b.num_orden, b.num_res, b.tip_impug, b.num_exp, "
               "b.des_otros, b.Fec_pago, b.num_sust "
               "FROM TMP_F0913MOTIVO a INNER JOIN TMP_F0913SUSTEN b ON a.doc_id_d = b.doc_id_d "
               "AND a.semana = b.semana AND a.ind_tip_deu = b.ind_tip_deu AND a.per_doc = b.per_doc "
               "AND a.cod_tri = b.cod_tri AND a.num_doc = b.num_doc AND a.cod_for = b.cod_for "
               "AND a.cod_motivo = b.cod_motivo WHERE ")
        + sCondicion
        + QStringLiteral("UNION SELECT a.cod_motivo, 'x', 0, 'x', 0, 'x', 'x', 'x', 0 FROM TMP_F0913MOTIVO a WHERE ")
        + sCondicion + QStringLiteral("AND a.cod_motivo IN (7, 8) ORDER BY 1, 9 ;");
    auto rs = oBaseDatos->openRecordset(sSQL, clave + clave, platform::RecordsetType::ForwardOnly);
    for (; !rs->eof(); rs->moveNext()) {
        const int nCodMotivo = rs->value(QStringLiteral("cod_motivo")).toInt();
        if (nCodMotivo < 1 || nCodMotivo > kMotivos)
            continue;
        MarcaMotivo(nCodMotivo, true);
        EstableceTagMotivo(nCodMotivo, QStringLiteral("1"));
        const QString sForm = rs->field(QStringLiteral("cod_formulario")).text();
        const QString sOrden = rs->field(QStringLiteral("num_orden")).text();
        const QString sOrdenONada = sOrden == QLatin1String("0") ? QString() : sOrden;
        switch (nCodMotivo) {
        case 1:
            // Rebuilt at the width of a new entry, so the duplicate check sees it.
            lstForm->addItem(EntradaPago(sForm, sOrden, rs->field(QStringLiteral("fec_pago")).text()));
            break;
        case 2:
            fila_.sFormMotivo2 = sForm;
            fila_.sOrdenMotivo2 = sOrdenONada;
            break;
        case 3: fila_.sNumExp = rs->field(QStringLiteral("num_exp")).text(); break;
        case 4: fila_.sNumRes = rs->field(QStringLiteral("num_res")).text(); break;
        case 5:
            fila_.sFormMotivo5 = sForm;
            fila_.sOrdenMotivo5 = sOrdenONada;
            break;
        default: break;
        }
    }
}

// ---------------------------------------------------------------- answers

void frmCondeuDet::DesmarcaOpciones(std::array<QRadioButton*, 2>& opciones)
{
    for (QRadioButton* opcion : opciones) {
        opcion->setAutoExclusive(false);
        const QSignalBlocker bloqueo(opcion);
        opcion->setChecked(false);
        opcion->setAutoExclusive(true);
    }
}

void frmCondeuDet::MarcaMotivo(int nIndex, bool bMarcado)
{
    chkmotivo[nIndex]->setChecked(bMarcado);
}

void frmCondeuDet::optAcogeFrac_Click(int)
{
    PintaFondo(*txtmtoTributo, kGris);
    DesmarcaOpciones(optConformeMto);
    const bool bSinConformidad = sCodTipDoc >= QLatin1String("4") && sCodTipDoc <= QLatin1String("7");
    for (QRadioButton* opcion : optConformeMto)
        opcion->setEnabled(!bSinConformidad && optAcogeFrac[0]->isChecked());
    optConformeMto_Click(1);
    bModificado = true;
}

// The challenge of the debt: on the first tab, the numeric value of grid 1's
// ind_impugnado (a text that is no number reads 0); 0 on any other tab.
Moneda frmCondeuDet::Impugnacion() const
{
    if (nTabActual != 1)
        return {};
    return Moneda::ValorInicial(FormularioSolicitud()->ColumnaGrilla(1, QStringLiteral("ind_impugnado")));
}

QString frmCondeuDet::FechaAcog() const
{
    return FormularioSolicitud()->FechaAcog();
}

void frmCondeuDet::optConformeMto_Click(int)
{
    Label1->setText(QStringLiteral("Interés"));
    Label24->setText(QStringLiteral("Monto acogido"));
    const bool bNo = optConformeMto[1]->isChecked();
    QString sTributo;
    if (bNo) {
        lblMtoInteresCAP->clear();
        lblMtoInteres->clear();
        lblMtoAcogido->clear();
        PintaFondo(*lblMtoInteresCAP, kBlanco);
        PintaFondo(*lblMtoInteres, kBlanco);
    } else {
        if (optConformeMto[0]->isChecked()) {
            Label1->setText(QStringLiteral("Interés al ") + FechaAcog());
            Label24->setText(QStringLiteral("Monto acogido al ") + FechaAcog());
        }
        if (optAcogeFrac[0]->isChecked() && optConformeMto[0]->isChecked()) {
            sTributo = lblmtotribinsol1->text();
        } else if (optAcogeFrac[1]->isChecked()) {
            sTributo = QStringLiteral("0");
            lblMtoInteresCAP->setText(sTributo);
            lblMtoInteres->setText(sTributo);
            lblMtoAcogido->setText(sTributo);
        }
    }

    ReiniciaMotivos(bNo);
    EstadoMontos(bNo);
    txtmtoTributo->setText(sTributo);
    if (bNo) {
        const QString sPeriodo = lblPeriodo->text();
        const QString sAnio = sPeriodo.right(4);
        const bool bDesdeDic2005 = sAnio >= QLatin1String("2006")
            || (sAnio == QLatin1String("2005") && sPeriodo.left(2) == QLatin1String("12"));
        PintaFondo(*lblMtoInteresCAP, bDesdeDic2005 ? kGris : kBlanco);
        lblMtoInteresCAP->setReadOnly(bDesdeDic2005);
        if (bDesdeDic2005)
            lblMtoInteresCAP->setText(QStringLiteral("0"));
    }
}

// Reasons 1 to 6 open to a disagreeing declarant (2, 5 and 6 never by that
// rule; 4, and 6 for a challenge of kind 6 or 7, to a challenged debt not
// excluded), all unticked.
void frmCondeuDet::ReiniciaMotivos(bool bNo)
{
    const Moneda impugnacion = Impugnacion();
    const bool bImpugnada = impugnacion > Moneda();
    for (int i = 1; i <= 6; ++i) {
        bool bHabilitado = bNo && i != 2 && i != 5 && i != 6;
        if (bImpugnada && !optAcogeFrac[1]->isChecked()) {
            if (i == 4)
                bHabilitado = true;
            if (i == 6)
                bHabilitado = impugnacion >= Moneda::DesdeEntero(6) && impugnacion <= Moneda::DesdeEntero(7);
        }
        chkmotivo[i]->setEnabled(bHabilitado);
    }
    for (int i = 1; i <= 6; ++i) {
        if (chkmotivo[i]->isChecked())
            MarcaMotivo(i, false);
        else
            chkmotivo_Click(i);
    }
}

void frmCondeuDet::EstadoMontos(bool bEditable)
{
    for (QLineEdit* caja : {txtmtoTributo, lblMtoInteresCAP, lblMtoInteres}) {
        caja->setEnabled(bEditable);
        PintaFondo(*caja, bEditable ? kBlanco : kGris);
    }
    PintaFondo(*lblMtoAcogido, kGris);
}

// ---------------------------------------------------------------- amounts

void frmCondeuDet::txtmtoTributo_Change()
{
    if (optConformeMto[0]->isChecked())
        CalculaMontosConforme();
    else if (optConformeMto[1]->isChecked())
        SumaMontos();
}

void frmCondeuDet::lblMtoInteres_Change()
{
    SumaMontos();
}

void frmCondeuDet::SumaMontos()
{
    const QString sTributo = txtmtoTributo->text();
    const QString sCap = lblMtoInteresCAP->text();
    const QString sInteres = lblMtoInteres->text();
    if (sTributo.isEmpty() && sCap.isEmpty() && sInteres.isEmpty()) {
        lblMtoAcogido->clear();
        return;
    }
    lblMtoAcogido->setText((CeroSiNulo(sTributo) + CeroSiNulo(sCap) + CeroSiNulo(sInteres)).Formatea(0, true));
}

// The interests brought up to the request form's update date for a debt
// whose stated amounts are accepted.
void frmCondeuDet::CalculaMontosConforme()
{
    const QString sTributo = txtmtoTributo->text();
    if (sTributo.isEmpty()) {
        lblMtoInteresCAP->clear();
        lblMtoInteres->clear();
        lblMtoAcogido->clear();
        return;
    }
    const Moneda tributo = CeroSiNulo(sTributo);
    const Moneda nCapital = CeroSiNulo(lblmtointcapital->text());
    const Moneda nNoCapital = CeroSiNulo(lblmtointnocapital->text());
    const QString sFechaAcog = FechaAcog();
    const QDate dActualiza = QDate::fromString(sFechaAcog, QStringLiteral("dd/MM/yyyy"));
    const QDate dDesde = LeeFechaGrilla(sFecDesDeu);
    const auto interes = [&](const QString& sMonto, const Moneda& capital, const QDate& dInicio, const QDate& dFin) {
        return CeroSiNulo(CalculaInteres(sMonto, capital.Formatea(4, false), dInicio, dFin, sIndDeudaDj, sCodForDj));
    };

    Moneda capital = nCapital;
    Moneda noCapital = nNoCapital;
    Moneda nuevoInteres;
    if (sPeriodo.right(2) == QLatin1String("12") && sFechaAcog.mid(3, 2) == QLatin1String("01")
        && sPeriodo.left(4) <= QLatin1String("2005")) {
        const QDate dFinAnio(sPeriodo.left(4).toInt(), 12, 31);
        const Moneda r1 = interes(sTributo, nCapital, dDesde, dFinAnio);
        const Moneda base = nNoCapital + tributo + r1 + nCapital;
        nuevoInteres = interes(base.Formatea(4, false), Moneda(), dFinAnio, dActualiza);
        capital = r1 + nCapital + nNoCapital;
        noCapital = Moneda();
    } else {
        nuevoInteres = interes(sTributo, nCapital, dDesde, dActualiza);
    }
    const bool bAmbosSi = optAcogeFrac[0]->isChecked() && optConformeMto[0]->isChecked();
    lblMtoInteresCAP->setText(capital.Formatea(bAmbosSi ? 2 : 0, true));
    lblMtoInteres->setText((noCapital + nuevoInteres).Formatea(2, true));
    lblMtoAcogido->setText((tributo + capital + noCapital + nuevoInteres).Redondea(0).Formatea(2, true));
}

void frmCondeuDet::Monto_GotFocus(QLineEdit& oCampo)
{
    if (oCampo.text().isEmpty()) {
        if (&oCampo != txtmtoTributo)
            oCampo.setText(QStringLiteral("0"));
    } else {
        Moneda monto = CeroSiNulo(oCampo.text());
        if (monto < Moneda())
            monto = Moneda() - monto;
        oCampo.setText(monto.Formatea(0, false));
    }
    oCampo.setMaxLength(12);
    oCampo.selectAll();
}

void frmCondeuDet::Monto_LostFocus(QLineEdit& oCampo)
{
    oCampo.setMaxLength(15);
    if (!oCampo.text().isEmpty())
        oCampo.setText(Formato(oCampo.text(), QStringLiteral("###,###,###,##0")));
}

void frmCondeuDet::Monto_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 13)
        EnviaTab(QStringLiteral("TAB"));
    KeyAscii = oUtil->filterNumericKey(KeyAscii, false);
    bModificado = true;
}

// ---------------------------------------------------------------- reasons

QString frmCondeuDet::TagMotivo(int nIndex) const
{
    return chkmotivo[nIndex]->property("Tag").toString();
}

void frmCondeuDet::EstableceTagMotivo(int nIndex, const QString& sTag)
{
    chkmotivo[nIndex]->setProperty("Tag", sTag);
}

void frmCondeuDet::chkmotivo_Click(int Index)
{
    const bool bMarcado = chkmotivo[Index]->isChecked();
    if (cmdMotivo[Index])
        cmdMotivo[Index]->setEnabled(bMarcado && cmdMotivo[Index]->isVisibleTo(this));
    if (!bMarcado)
        EstableceTagMotivo(Index, QStringLiteral("0"));
    bModificado = true;
}

void frmCondeuDet::cmdMotivo_Click(int Index)
{
    nMotivo = Index;
    MuestraFormularioNuevo<frmSustento>();
    if (TagMotivo(Index) == QLatin1String("0")) {
        MarcaMotivo(Index, false);
        chkmotivo[Index]->setFocus();
    }
    bModificado = true;
}

// ---------------------------------------------------------------- buttons

void frmCondeuDet::cmdOpcion_Click(int Index)
{
    if (!VerificaConfiguracionRegional()) {
        PunteroNormal();
        return;
    }
    bDetalleAceptado = true;
    if (Index == 0) {
        bDeudaGrabada = true;
        GrabaConciliacion();
        return;
    }
    if (bModificado)
        bDetalleAceptado = false;
    done(Rejected);
}

void frmCondeuDet::reject()
{
    cmdOpcion_Click(1);
}

DeudaRevisada frmCondeuDet::Revisada() const
{
    DeudaRevisada d = fila_;
    d.sIndValor = lblInd_valor->text();
    d.bImpugnada = Impugnacion() > Moneda();
    d.nAcoge = optAcogeFrac[0]->isChecked() ? 1 : optAcogeFrac[1]->isChecked() ? 2 : 0;
    if (d.nAcoge == 1)
        d.nConforme = optConformeMto[0]->isChecked() ? 1 : optConformeMto[1]->isChecked() ? 2 : 0;
    for (int i = 1; i <= kMotivos; ++i)
        d.motivos[i] = {chkmotivo[i]->isChecked(), TagMotivo(i), chkmotivo[i]->text(), chkmotivo[i]->isEnabled()};
    d.sTributo = txtmtoTributo->text();
    d.sInteresCap = lblMtoInteresCAP->text();
    d.sInteres = lblMtoInteres->text();
    d.sAcogido = lblMtoAcogido->text();
    d.bTributoBloqueado = txtmtoTributo->isReadOnly();
    d.bInteresCapBloqueado = lblMtoInteresCAP->isReadOnly();
    d.sPeriodo = lblPeriodo->text();
    d.sCodTributo = lblCodtributo->text();
    d.sTotalAlcor = lblmtotot1->text();
    d.sFechaAcog = FechaAcog();
    for (int i = 0; i < lstForm->count(); ++i)
        d.pagos.append(lstForm->item(i)->text());
    return d;
}

void frmCondeuDet::GrabaConciliacion()
{
    DeudaRevisada deuda = Revisada();
    const ResultadoConciliacion resultado = ::GrabaConciliacion(deuda, windowTitle());
    // Fields a check completed with "0".
    if (txtmtoTributo->text() != deuda.sTributo)
        txtmtoTributo->setText(deuda.sTributo);
    if (lblMtoInteresCAP->text() != deuda.sInteresCap)
        lblMtoInteresCAP->setText(deuda.sInteresCap);
    if (!resultado.bGrabada) {
        bDetalleAceptado = true;
        if (resultado.nMotivoFoco > 0)
            chkmotivo[resultado.nMotivoFoco]->setFocus();
        return;
    }
    if (ContinuaConSiguiente(*FormularioSolicitud(), nTabActual, windowTitle()))
        EjecutaConReintento(QStringLiteral("GrabaConciliacion"), [this] { CargaValorDj(); });
    bModificado = false;
}
