// The request form's controls: its four tabs, the identification fields, the
// two debt grids and the five entity frames of boxes, built from tables.

#include "formulario/core/GrillaRecordset.h"
#include "formulario/subsystems/request/Frm913.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QResizeEvent>
#include <QSet>
#include <QStyle>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>
#include <span>
#include <vector>

namespace {

constexpr int Px(int nTwips) { return nTwips / 15; }

// Rows of the box table: the label of each row of an entity block.
const std::array<QString, 9> kFilasCasillas = {
    QStringLiteral("Deuda acogida"),
    QStringLiteral("Forma de pago (0 Fracc., 2 Apl. con fracc.)"),
    QStringLiteral("Número de meses de aplazamiento"),
    QStringLiteral("Número de cuotas de fraccionamiento"),
    QStringLiteral("Monto de la cuota de fraccionamiento"),
    QStringLiteral("Código de tributo para pago de cuotas"),
    QStringLiteral("Garantía de deuda"),
    QStringLiteral("Cuota de acogimiento"),
    QStringLiteral("Monto del interés mensual de aplazamiento"), // shown by no box
};

// The five entity frames, in box order.
struct Marco {
    const char* sNombre;
    const char* sTitulo;
};
const std::array<Marco, 5> kMarcos = {{{"Frame_ALCOR", "TESORO"},
                                       {"Frame_ESSALUD", "ESSALUD"},
                                       {"Frame_ONP", "ONP"},
                                       {"Frame_FONAVI", "FONAVI"},
                                       {"Frame_FONCOMUN", "FONCOMUN"}}};

// A box's place in the frame: its row and its state as designed.
struct DisenoCasilla {
    int nFila;
    bool bBlanca;  // white and enabled; otherwise grey and disabled
    int nLargo;    // maximum length, 0 for none
    bool bVisible;
};
DisenoCasilla Diseno(int nDesplazamiento)
{
    switch (nDesplazamiento) {
    case 1: return {1, true, 1, true};  // payment modality
    case 2: return {2, false, 3, true}; // months of deferral
    case 7: return {7, true, 15, true}; // initial instalment
    case 8: return {8, false, 0, false}; // first box of the second block
    default: return {nDesplazamiento, false, 0, true};
    }
}

constexpr int kAltoFila = 26;
constexpr int kTopeFilas = 40;

// Grid columns, in grid order: caption (empty when the field's name is the
// caption, and the column is hidden), field, alignment and whether it is a
// description, which alone is cut when the grid is too narrow.
constexpr Qt::Alignment kIzquierda = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kDerecha = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kCentro = Qt::AlignCenter;
constexpr bool kDescripcion = true;
struct ColumnaDeuda {
    const char* sTitulo;
    const char* sCampo;
    Qt::Alignment nAlineacion = kIzquierda;
    bool bDescripcion = false;
};
const std::array<ColumnaDeuda, 29> kColumnasGrilla1 = {{
    {"Periodo", "per_doc", kCentro},
    {"Código tributo", "des_tributo", kIzquierda, kDescripcion},
    {"Tipo de resolución", "des_valor", kIzquierda, kDescripcion},
    {"Número de resolución", "num_doc"},
    {"Deuda a acogerse", "mto_act_s", kDerecha},
    {"Monto acogido", "mto_act_c", kDerecha},
    {"", "cod_tri"}, {"", "Cod_For"}, {"", "Cod_Tip_doc"}, {"", "fec_des_deu"}, {"", "mto_tributo_s"},
    {"", "mto_int_cap_s"}, {"", "mto_int_s"}, {"", "ind_acog"}, {"", "ind_conf"}, {"", "mto_tributo_c"},
    {"", "Mto_int_cap_c"}, {"", "Mto_int_c"}, {"", "Cod_Tri_Aso"}, {"", "ind_ver_deu"}, {"", "Cod_for_dj"},
    {"", "Num_ord_dj"}, {"", "ind_tip_deu"}, {"", "Num_pro"},
    {"Acoge deuda", "ind_acog", kCentro},
    {"", "ind_impugnado"}, {"", "num_cuo"}, {"", "ind_deuda_dj"}, {"", "ind_valor"},
}};
const std::array<ColumnaDeuda, 26> kColumnasGrilla2 = {{
    {"Periodo", "per_doc", kCentro},
    {"Código tributo", "des_tributo", kIzquierda, kDescripcion},
    {"Tipo de resolución", "des_valor", kIzquierda, kDescripcion},
    {"Nº de resolución", "num_doc"},
    {"Tributo adeudado", "mto_act_s", kDerecha},
    {"Monto acogido", "mto_act_c", kDerecha},
    {"", "cod_tri"}, {"", "Cod_For"}, {"", "Cod_Tip_doc"}, {"", "fec_des_deu"}, {"", "mto_tributo_s"},
    {"", "mto_int_cap_s"}, {"", "mto_int_s"}, {"", "ind_acog"}, {"", "ind_conf"},
    {"Tributo adeudado", "mto_tributo_c", kDerecha},
    {"", "Mto_int_cap_c"}, {"", "Mto_int_c"}, {"", "Cod_Tri_Aso"}, {"", "ind_ver_deu"}, {"", "Cod_for_dj"},
    {"", "Num_ord_dj"}, {"", "ind_tip_deu"}, {"", "ind_valor"}, {"", "ind_deuda_dj"},
    {"Tipo de Deuda", "num_cuo", kCentro},
}};

template <std::size_t N>
QList<ColumnaGrilla> Columnas(const std::array<ColumnaDeuda, N>& tabla)
{
    QList<ColumnaGrilla> columnas;
    for (const ColumnaDeuda& columna : tabla) {
        const QString sCampo = QString::fromUtf8(columna.sCampo);
        const QString sTitulo = QString::fromUtf8(columna.sTitulo);
        columnas.append({sTitulo.isEmpty() ? sCampo : sTitulo, sCampo, columna.nAlineacion});
    }
    return columnas;
}

// Fits a grid's captioned columns whenever its rows are loaded or its width
// changes. A column is as wide as its widest cell and never narrower than
// the longest word of its caption; the descriptions share what the others
// leave, the narrowest first, whole when an even share holds it. A column
// the user sized with the mouse on its heading's edge keeps that width for
// the grid's life and leaves the rest to the others. The heading is as tall
// as the captions wrapped in their columns.
class AjusteColumnas : public QObject {
public:
    AjusteColumnas(QTableView& grilla, std::span<const ColumnaDeuda> tabla)
        : QObject(&grilla)
        , grilla_(grilla)
        , tabla_(tabla)
        , cabecera_(grilla.horizontalHeader()->viewport())
    {
        grilla.viewport()->installEventFilter(this);
        cabecera_->installEventFilter(this);
        connect(grilla.model(), &QAbstractItemModel::modelReset, this, &AjusteColumnas::Ajusta);
        connect(grilla.horizontalHeader(), &QHeaderView::sectionResized, this, &AjusteColumnas::SeccionCambiada);
        Ajusta();
    }

protected:
    bool eventFilter(QObject* objeto, QEvent* event) override
    {
        // Also called while the grid is destroyed, when it is a grid no more:
        // nothing here asks the grid anything then.
        if (objeto == cabecera_) {
            // A double click on an edge sizes its column too.
            if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick)
                bRaton_ = true;
            else if (event->type() == QEvent::MouseButtonRelease)
                bRaton_ = false;
        } else if (event->type() == QEvent::Resize) {
            const auto& cambio = *static_cast<QResizeEvent*>(event);
            if (cambio.size().width() != cambio.oldSize().width())
                Ajusta();
        }
        return false;
    }

private:
    // The stretched last column follows the others, so it is never the
    // user's own.
    void SeccionCambiada(int nColumna)
    {
        if (bRaton_ && nColumna != UltimaVisible())
            dimensionadas_.insert(nColumna);
    }

    int UltimaVisible() const
    {
        const QHeaderView& cabecera = *grilla_.horizontalHeader();
        for (int nVisual = cabecera.count() - 1; nVisual >= 0; --nVisual) {
            if (!cabecera.isSectionHidden(cabecera.logicalIndex(nVisual)))
                return cabecera.logicalIndex(nVisual);
        }
        return -1;
    }

    QString Titulo(int nColumna) const { return QString::fromUtf8(tabla_[nColumna].sTitulo); }
    int Margen() const
    {
        const QHeaderView& cabecera = *grilla_.horizontalHeader();
        return cabecera.style()->pixelMetric(QStyle::PM_HeaderMargin, nullptr, &cabecera);
    }

    // The caption's longest word, whole.
    int AnchoMinimo(int nColumna) const
    {
        int nPalabra = 0;
        for (const QString& sPalabra : Titulo(nColumna).split(QLatin1Char(' ')))
            nPalabra = std::max(nPalabra, grilla_.horizontalHeader()->fontMetrics().horizontalAdvance(sPalabra));
        return nPalabra + 2 * Margen() + 1;
    }

    int AnchoNecesario(int nColumna) const
    {
        // The view's own hint, which the table view keeps to itself: the
        // widest cell as the delegate draws it.
        const QAbstractItemView& vista = grilla_;
        return std::max(AnchoMinimo(nColumna), vista.sizeHintForColumn(nColumna));
    }

    void Ajusta()
    {
        int nResto = grilla_.viewport()->width();
        std::vector<std::pair<int, int>> descripciones; // width wanted, column
        for (int nColumna = 0; nColumna < int(tabla_.size()); ++nColumna) {
            if (grilla_.isColumnHidden(nColumna))
                continue;
            if (dimensionadas_.contains(nColumna)) {
                nResto -= grilla_.columnWidth(nColumna);
                continue;
            }
            const int nAncho = AnchoNecesario(nColumna);
            if (tabla_[nColumna].bDescripcion) {
                descripciones.emplace_back(nAncho, nColumna);
            } else {
                grilla_.setColumnWidth(nColumna, nAncho);
                nResto -= nAncho;
            }
        }
        std::ranges::sort(descripciones);
        for (std::size_t i = 0; i < descripciones.size(); ++i) {
            const auto [nAncho, nColumna] = descripciones[i];
            const int nParte = nResto / int(descripciones.size() - i);
            const int nFinal = std::max(AnchoMinimo(nColumna), std::min(nAncho, nParte));
            grilla_.setColumnWidth(nColumna, nFinal);
            nResto -= nFinal;
        }
        AjustaCabecera();
    }

    void AjustaCabecera()
    {
        QHeaderView& cabecera = *grilla_.horizontalHeader();
        const int nMargen = Margen();
        int nAlto = 0;
        for (int nColumna = 0; nColumna < int(tabla_.size()); ++nColumna) {
            if (grilla_.isColumnHidden(nColumna))
                continue;
            const QRect espacio(0, 0, grilla_.columnWidth(nColumna) - 2 * nMargen, 1000);
            nAlto = std::max(nAlto, cabecera.fontMetrics()
                                        .boundingRect(espacio, Qt::AlignCenter | Qt::TextWordWrap, Titulo(nColumna))
                                        .height());
        }
        cabecera.setFixedHeight(nAlto + 2 * nMargen);
    }

    QTableView& grilla_;
    std::span<const ColumnaDeuda> tabla_;
    QWidget* cabecera_; // where the user drags the columns' edges
    QSet<int> dimensionadas_; // sized by the user
    bool bRaton_ = false;     // a mouse button is down on the heading
};

// Lays the grid's columns out: hidden columns, captions wrapped in their
// widths and the widths fitted to the rows. The user widens a column by
// dragging the edge of its heading.
void DisponeColumnas(QTableView& grilla, std::span<const ColumnaDeuda> tabla)
{
    QHeaderView& cabecera = *grilla.horizontalHeader();
    cabecera.setHighlightSections(false);
    cabecera.setDefaultAlignment(Qt::Alignment::fromInt(Qt::AlignCenter | Qt::TextWordWrap));
    cabecera.setTextElideMode(Qt::ElideNone);
    cabecera.setSectionResizeMode(QHeaderView::Interactive);
    for (int nColumna = 0; nColumna < int(tabla.size()); ++nColumna)
        grilla.setColumnHidden(nColumna, *tabla[nColumna].sTitulo == '\0');
    new AjusteColumnas(grilla, tabla);
}

template <class Control>
Control* Crea(QWidget* padre, const QString& sNombre, const QString& sTexto = {})
{
    auto* control = new Control(padre);
    control->setObjectName(sNombre);
    if constexpr (requires { control->setText(sTexto); }) {
        if (!sTexto.isEmpty())
            control->setText(sTexto);
    }
    return control;
}

QString Indexado(const char* sNombre, int nIndex)
{
    return QStringLiteral("%1_%2").arg(QLatin1String(sNombre)).arg(nIndex);
}

} // namespace

void Frm913::CreaControles()
{
    SSTab1 = Crea<QTabWidget>(this, QStringLiteral("SSTab1"));
    const std::array<QString, 4> titulos = {QStringLiteral("&Información general"), QStringLiteral("Resoluciones"),
                                            QStringLiteral("&Otras Resoluciones"),
                                            QStringLiteral("Modalida&d de pago")};
    std::array<QWidget*, 4> paginas{};
    for (int nTab = 0; nTab < 4; ++nTab) {
        paginas[nTab] = new QWidget;
        paginas[nTab]->setObjectName(Indexado("Tab", nTab));
        SSTab1->addTab(paginas[nTab], titulos[nTab]);
    }
    CreaIdentificacion(paginas[0]);
    CreaGrilla(paginas[1], 1);
    CreaGrilla(paginas[2], 2);
    CreaModalidad(paginas[3]);

    CmdValidar = Crea<QPushButton>(this, QStringLiteral("CmdValidar"), QStringLiteral("&Validar"));
    CmdGrabar = Crea<QPushButton>(this, QStringLiteral("CmdGrabar"), QStringLiteral("&Grabar"));
    CmdCancelar = Crea<QPushButton>(this, QStringLiteral("CmdCancelar"), QStringLiteral("&Salir"));
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    for (QPushButton* boton : {CmdValidar, CmdGrabar, CmdCancelar}) {
        boton->setAutoDefault(false);
        botones->addWidget(boton);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSTab1, 1);
    layout->addLayout(botones);
    resize(Px(9720), 560);
}

void Frm913::CreaIdentificacion(QWidget* pagina)
{
    auto* Frame_Identificacion = Crea<QGroupBox>(pagina, QStringLiteral("Frame_Identificacion"));
    Frame_Identificacion->setTitle(QStringLiteral("Identificación"));
    cboNumdoc = Crea<QComboBox>(Frame_Identificacion, QStringLiteral("cboNumdoc"));
    txtRazon = Crea<QLineEdit>(Frame_Identificacion, QStringLiteral("txtRazon"));
    txtTelefono = Crea<QLineEdit>(Frame_Identificacion, QStringLiteral("txtTelefono"));
    mkeFechaAcog = Crea<QLineEdit>(Frame_Identificacion, QStringLiteral("mkeFechaAcog"));
    mkeFechaAcog->setInputMask(QStringLiteral("99/99/9999;_"));
    mkeFechaAcog->setToolTip(QStringLiteral("Formato: dd/mm/aaaa"));
    TxtEntidad = Crea<QLineEdit>(Frame_Identificacion, QStringLiteral("TxtEntidad"));
    TxtEntidad->setReadOnly(true);
    txtCorrel = Crea<QLineEdit>(Frame_Identificacion, QStringLiteral("txtCorrel"));
    txtCorrel->setReadOnly(true);
    lblFechaAcog = Crea<QLabel>(Frame_Identificacion, QStringLiteral("lblFechaAcog"),
                                QStringLiteral("Fecha de actualización"));
    lblCorrel = Crea<QLabel>(Frame_Identificacion, QStringLiteral("lblCorrel"), QStringLiteral("Correlativo"));
    const std::array<std::pair<QString, QWidget*>, 6> filas = {{
        {QStringLiteral("R.U.C."), cboNumdoc},
        {QStringLiteral("Razón social"), txtRazon},
        {QStringLiteral("Teléfono"), txtTelefono},
        {QString(), mkeFechaAcog},
        {QStringLiteral("Entidad"), TxtEntidad},
        {QString(), txtCorrel},
    }};
    auto* rejilla = new QGridLayout(Frame_Identificacion);
    for (int nFila = 0; nFila < int(filas.size()); ++nFila) {
        QWidget* etiqueta = nFila == 3 ? lblFechaAcog
            : nFila == 5               ? lblCorrel
                                       : new QLabel(filas[nFila].first, Frame_Identificacion);
        rejilla->addWidget(etiqueta, nFila, 0);
        rejilla->addWidget(filas[nFila].second, nFila, 1, Qt::AlignLeft);
    }
    cboNumdoc->setMinimumWidth(420);
    txtRazon->setMinimumWidth(420);
    for (QLineEdit* caja : {txtTelefono, mkeFechaAcog, TxtEntidad, txtCorrel})
        caja->setFixedWidth(120);
    for (QLineEdit* caja : {TxtEntidad, txtCorrel})
        PintaCaja(*caja, false);

    // A pair of exclusive options in a frame of their own, with its question.
    auto opciones = [pagina](const QString& sMarco, const QString& sTituloMarco, const QString& sPregunta,
                             std::array<QRadioButton*, 2>& opcion, const char* sNombre,
                             const std::array<QString, 2>& textos) {
        auto* marco = Crea<QGroupBox>(pagina, sMarco);
        marco->setTitle(sTituloMarco);
        auto* fila = new QHBoxLayout;
        for (int nIndex = 0; nIndex < 2; ++nIndex) {
            opcion[nIndex] = Crea<QRadioButton>(marco, Indexado(sNombre, nIndex), textos[nIndex]);
            fila->addWidget(opcion[nIndex]);
        }
        fila->addStretch();
        auto* columna = new QVBoxLayout(marco);
        columna->addWidget(new QLabel(sPregunta, marco));
        columna->addLayout(fila);
        return marco;
    };
    QGroupBox* Frame_Sustitutoria =
        opciones(QStringLiteral("Frame_Sustitutoria"), QStringLiteral("&Sustitutoria"),
                 QStringLiteral("¿Esta solicitud sustituye a otra presentada anteriormente?"), OptRectifica,
                 "OptRectifica", {QStringLiteral("Si"), QStringLiteral("No")});
    Frame_Sustitutoria->layout()->addWidget(new QLabel(
        QStringLiteral("Nota: La última solicitud presentada sustituye integramente a la anterior."), Frame_Sustitutoria));
    OptRectifica[1]->setChecked(true);
    QGroupBox* Frame_Fusion =
        opciones(QStringLiteral("Frame_Fusion"), QStringLiteral("Otras resoluciones"),
                 QStringLiteral("¿Tiene empresas fusionadas y/o absorbidas?"), Opt_Fusion, "Opt_Fusion",
                 {QStringLiteral("No"), QStringLiteral("Si")});
    Opt_Fusion[0]->setChecked(true);

    auto* Frame_Nota = Crea<QGroupBox>(pagina, QStringLiteral("Frame_Nota"));
    Frame_Nota->setTitle(QStringLiteral("Nota :"));
    auto* nota = new QLabel(
        QStringLiteral("Sr. Contribuyente, Los intereses de la deuda se actualizarán automáticamente hasta la fecha "
                       "que consigne en la casilla  \"Fecha  de  actualización\".  Las   deudas   registradas  NO  "
                       "conformes  las   deberá  actualizar  en  forma independiente"),
        Frame_Nota);
    nota->setWordWrap(true);
    (new QVBoxLayout(Frame_Nota))->addWidget(nota);

    auto* layout = new QVBoxLayout(pagina);
    for (QGroupBox* marco : {Frame_Identificacion, Frame_Sustitutoria, Frame_Fusion, Frame_Nota})
        layout->addWidget(marco);
    layout->addStretch();
}

void Frm913::CreaGrilla(QWidget* pagina, int nIndex)
{
    const bool bNotificadas = nIndex == 1;
    modeloDat_[nIndex] =
        new GrillaRecordset(bNotificadas ? Columnas(kColumnasGrilla1) : Columnas(kColumnasGrilla2), this);
    modeloDat_[nIndex]->setObjectName(Indexado("Dat", nIndex));
    QTableView* grilla = Crea<QTableView>(pagina, Indexado("TDBGrid", nIndex));
    TDBGrid[nIndex] = grilla;
    grilla->setModel(modeloDat_[nIndex]);
    grilla->setSelectionBehavior(QAbstractItemView::SelectRows);
    grilla->setSelectionMode(QAbstractItemView::SingleSelection);
    grilla->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grilla->setTabKeyNavigation(false);
    grilla->verticalHeader()->setDefaultSectionSize(grilla->fontMetrics().height() + 6);
    grilla->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // The highlighted row marks the current debt; row numbers would only take
    // width from the columns.
    grilla->verticalHeader()->hide();
    grilla->setWordWrap(false); // a long description runs on in its row, cut at the column's edge
    grilla->horizontalHeader()->setStretchLastSection(true);
    if (bNotificadas)
        DisponeColumnas(*grilla, kColumnasGrilla1);
    else
        DisponeColumnas(*grilla, kColumnasGrilla2);

    lblTab[nIndex] = Crea<QLabel>(pagina, Indexado("lblTab", nIndex));
    txtmtototal_[nIndex] = Crea<QLineEdit>(pagina, Indexado("txtmtototal", nIndex));
    txtmtototal_[nIndex]->setReadOnly(true);
    PintaCaja(*txtmtototal_[nIndex], false);
    txtmtototal_[nIndex]->setAlignment(Qt::AlignRight);
    txtmtototal_[nIndex]->setFixedWidth(130);

    auto boton = [pagina, nIndex](const char* sNombre, const QString& sTexto) {
        auto* control = Crea<QPushButton>(pagina, Indexado(sNombre, nIndex), sTexto);
        control->setAutoDefault(false);
        return control;
    };
    auto* botones = new QHBoxLayout;
    if (bNotificadas) {
        CmdAcoge[1] = boton("CmdAcoge", QStringLiteral("Acoger todas"));
        CmdNoAcoge[1] = boton("CmdNoAcoge", QStringLiteral("No acoge"));
        cmdEdit[1] = boton("cmdEdit", QStringLiteral("&Actualizar"));
        for (QPushButton* control : {CmdAcoge[1], CmdNoAcoge[1], cmdEdit[1]})
            botones->addWidget(control);
    } else {
        cmdNew[2] = boton("cmdNew", QStringLiteral("&Nuevo"));
        cmdEdit[2] = boton("cmdEdit", QStringLiteral("&Modificar"));
        cmdDelete[2] = boton("cmdDelete", QStringLiteral("&Eliminar"));
        for (QPushButton* control : {cmdNew[2], cmdEdit[2], cmdDelete[2]})
            botones->addWidget(control);
    }
    botones->addStretch();
    botones->addWidget(new QLabel(QStringLiteral("Total :"), pagina));
    botones->addWidget(txtmtototal_[nIndex]);

    auto* layout = new QVBoxLayout(pagina);
    layout->addWidget(grilla, 1);
    layout->addWidget(lblTab[nIndex]);
    layout->addLayout(botones);
}

void Frm913::CreaModalidad(QWidget* pagina)
{
    for (int nFila = 0; nFila < int(kFilasCasillas.size()); ++nFila) {
        txtdescas[nFila] = Crea<QLabel>(pagina, Indexado("txtdescas", nFila), kFilasCasillas[nFila]);
        txtdescas[nFila]->setGeometry(10, Px(1015) + kTopeFilas + nFila * kAltoFila, 320, kAltoFila - 4);
    }
    txtdescas[8]->setVisible(false);

    for (int k = 0; k < 5; ++k) {
        auto* marco = Crea<QGroupBox>(pagina, QString::fromLatin1(kMarcos[k].sNombre));
        FrameEntidad[k] = marco;
        marco->setGeometry(Px(5100), Px(1015), 170, kTopeFilas + 9 * kAltoFila);
        txtdescol[k] = Crea<QLabel>(marco, Indexado("txtdescol", k), QString::fromLatin1(kMarcos[k].sTitulo));
        txtdescol[k]->setGeometry(60, 16, 100, 20);
        const int nBase = 500 + 7 * k;
        std::array<int, 9> casillas{};
        for (int n = 0; n < 7; ++n)
            casillas[n] = nBase + n;
        casillas[7] = 535 + k;
        casillas[8] = 550 + 10 * k;
        for (int nOrden = 0; nOrden < 9; ++nOrden) {
            const int nCasilla = casillas[nOrden];
            const DisenoCasilla diseno = Diseno(nOrden);
            const int y = kTopeFilas + diseno.nFila * kAltoFila;
            auto* numero = Crea<QLineEdit>(marco, Indexado("txtnumcas", nCasilla), QString::number(nCasilla));
            numero->setReadOnly(true);
            PintaCaja(*numero, false);
            numero->setFocusPolicy(Qt::NoFocus);
            numero->setGeometry(10, y, 45, kAltoFila - 4);
            numero->setVisible(diseno.bVisible);
            txtnumcas[nCasilla] = numero;
            auto* caja = Crea<QLineEdit>(marco, Indexado("txtValor", nCasilla));
            caja->setProperty("Index", nCasilla);
            caja->setGeometry(60, y, 100, kAltoFila - 4);
            caja->setAlignment(Qt::AlignRight);
            caja->setEnabled(diseno.bBlanca);
            PintaCaja(*caja, diseno.bBlanca);
            caja->setVisible(diseno.bVisible);
            if (diseno.nLargo > 0)
                caja->setMaxLength(diseno.nLargo);
            txtValor[nCasilla] = caja;
        }
    }

    Frame_Garantia = Crea<QGroupBox>(pagina, QStringLiteral("Frame_Garantia"));
    Frame_Garantia->setTitle(QStringLiteral("Tipo de garantía de deuda"));
    Frame_Garantia->setGeometry(10, Px(1015) + kTopeFilas + 9 * kAltoFila + 10, 600, 50);
    const std::array<QString, 3> garantias = {QStringLiteral("Carta fianza"), QStringLiteral("Hipoteca"),
                                              QStringLiteral("Garantía mobiliaria")};
    auto* fila = new QHBoxLayout(Frame_Garantia);
    for (int nIndex = 0; nIndex < 3; ++nIndex) {
        ChkGarantia[nIndex] = Crea<QCheckBox>(Frame_Garantia, Indexado("ChkGarantia", nIndex), garantias[nIndex]);
        fila->addWidget(ChkGarantia[nIndex]);
    }
    lblmsg = Crea<QLabel>(pagina, QStringLiteral("lblmsg"),
                          QStringLiteral("El Contribuyente podrá modificar el monto de la cuota de acogimiento "
                                         "sugerida por el sistema por un monto mayor"));
    lblmsg->setWordWrap(true);
    lblmsg->setGeometry(10, Frame_Garantia->geometry().bottom() + 8, 600, 40);
}
