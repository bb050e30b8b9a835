#include "formulario/shell/FrmContAbrir.h"

#include "formulario/core/ClaveDeclaracion.h"

#include "formulario/core/GrillaRecordset.h"
#include "formulario/core/Formularios.h"
#include "formulario/shell/MDIFrm.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/Registros.h"
#include "formulario/core/ConfiguracionRegional.h"
#include "formulario/core/mod_Combo.h"
#include "formulario/subsystems/request/Frm913.h"
#include "platform/dialogs.h"
#include "platform/statusbar.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

using namespace platform::mb;

namespace {

// Grid columns by index, as the request form reads them too.
enum Columna {
    ColTipDoc = 0,
    ColDesDoc = 1,
    ColDocId = 2,
    ColNombre = 3,
    ColFormulario = 4,
    ColEstado = 5,
    ColEntidad = 6,
    ColSemana = 7,
    ColPeriodo = 8,
    ColFechaVenc = 9,
    ColCorrel = 10, // sent declarations; there the header's efectivo follows it
};

QList<ColumnaGrilla> ColumnasGrilla(bool bEnviadas)
{
    QList<ColumnaGrilla> columnas{
        {QStringLiteral("tip_doc_d"), QStringLiteral("tip_doc_d")},
        {QStringLiteral("Tipo docum."), QStringLiteral("des_doc_d")},
        {QStringLiteral("R.U.C."), QStringLiteral("doc_id_d")},
        {QStringLiteral("Razón Social"), QStringLiteral("nombre")},
        {QStringLiteral("Formulario"), QStringLiteral("formulario")},
        {QStringLiteral("Estado"), QStringLiteral("estado")},
        {QStringLiteral("Entidad"), QStringLiteral("Entidad")},
        {QStringLiteral("SEMANA"), QStringLiteral("SEMANA")},
        {QStringLiteral("Periodo"), QStringLiteral("periodo")},
        {QStringLiteral("FechaVenc"), QStringLiteral("nrocheque")},
    };
    if (bEnviadas)
        columnas.append({QStringLiteral("Correlativo"), QStringLiteral("correl")});
    columnas.append({QStringLiteral("fec_venc_renta"), QStringLiteral("efectivo")});
    return columnas;
}

// The state of a declaration as a picture: saved clean, saved with findings,
// or anything else (as imported and never saved again).
QIcon DibujoEstado(const QVariant& vEstado)
{
    const QStyle* estilo = QApplication::style();
    switch (vEstado.toInt()) {
    case 0: return estilo->standardIcon(QStyle::SP_DialogApplyButton);
    case 9: return estilo->standardIcon(QStyle::SP_MessageBoxWarning);
    default: return estilo->standardIcon(QStyle::SP_FileIcon);
    }
}

platform::HostStatusBar& BarraEstado()
{
    return *SharedForm<MDIFrm>::instance().BarradeEstadoVRD1;
}

// The error's description, a line feed and its number after a blank.
QString TextoError(const platform::DbError& err)
{
    return err.description() + QStringLiteral("\n %1").arg(err.number());
}

} // namespace

SelectorDeclaraciones::SelectorDeclaraciones(Variante variante)
    : variante_(std::move(variante))
{
    setObjectName(variante_.sNombre);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Frame1 = new QGroupBox(variante_.sMarco, this);
    Frame1->setObjectName(QStringLiteral("Frame1"));

    DtaNew = new GrillaRecordset(ColumnasGrilla(variante_.bEnviadas), this);
    DtaNew->setObjectName(QStringLiteral("DtaNew"));
    DtaNew->EstableceDibujo(ColEstado, DibujoEstado);
    grdContrib = new QTableView(Frame1);
    grdContrib->setObjectName(QStringLiteral("grdContrib"));
    grdContrib->setModel(DtaNew);
    grdContrib->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdContrib->setSelectionMode(QAbstractItemView::SingleSelection);
    grdContrib->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdContrib->setTabKeyNavigation(false);
    grdContrib->setAlternatingRowColors(true);
    grdContrib->verticalHeader()->setDefaultSectionSize(grdContrib->fontMetrics().height() + 6);
    grdContrib->horizontalHeader()->setSectionsClickable(true);
    grdContrib->horizontalHeader()->setHighlightSections(false);
    grdContrib->horizontalHeader()->setStretchLastSection(true);
    for (int nColumna : {int(ColTipDoc), int(ColSemana), int(ColFechaVenc), ColumnaEfectivo()})
        grdContrib->setColumnHidden(nColumna, true);
    const QList<QPair<int, int>> anchos{{ColDesDoc, 80}, {ColDocId, 95}, {ColNombre, 260}, {ColFormulario, 70},
                                        {ColEstado, 50}, {ColEntidad, 85}, {ColPeriodo, 60}, {ColCorrel, 80}};
    for (const auto& [nColumna, nAncho] : anchos)
        grdContrib->setColumnWidth(nColumna, nAncho);
    grdContrib->installEventFilter(this);
    connect(grdContrib, &QTableView::doubleClicked, this, &SelectorDeclaraciones::grdContrib_DblClick);
    connect(grdContrib->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &SelectorDeclaraciones::grdContrib_HeadClick);
    connect(grdContrib->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &SelectorDeclaraciones::grdContrib_RowColChange);

    for (int nIndex : {0, 1}) {
        CmdOpciones[nIndex] = new QPushButton(this);
        CmdOpciones[nIndex]->setObjectName(QStringLiteral("CmdOpciones_%1").arg(nIndex));
        CmdOpciones[nIndex]->setAutoDefault(false);
        connect(CmdOpciones[nIndex], &QPushButton::clicked, this, [this, nIndex] { CmdOpciones_Click(nIndex); });
    }
    CmdOpciones[0]->setText(variante_.actualizar.sBoton);
    CmdOpciones[1]->setText(QStringLiteral("&Salir"));
    Label1->setText(variante_.actualizar.sEtiqueta);
    setWindowTitle(variante_.actualizar.sTitulo);

    auto* marco = new QVBoxLayout(Frame1);
    marco->addWidget(grdContrib);
    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(CmdOpciones[0]);
    botones->addWidget(CmdOpciones[1]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Frame1, 1);
    layout->addLayout(botones);
    resize(880, 380); // every shown column of the sent declarations
}

FrmContAbrir::FrmContAbrir()
    : SelectorDeclaraciones({
          QStringLiteral("FrmContAbrir"),
          QStringLiteral("Declaraciones Registradas"),
          false,
          {QStringLiteral("&Actualizar"), QStringLiteral("Seleccione la declaración que desea actualizar :"),
           QStringLiteral("Actualizar Declaraciones")},
          {QStringLiteral("&Eliminar"), QStringLiteral("Seleccione la declaración que desea eliminar :"),
           QStringLiteral("Eliminar Declaraciones")},
      })
{
}

int SelectorDeclaraciones::ColumnaEfectivo() const
{
    return variante_.bEnviadas ? ColCorrel + 1 : ColCorrel;
}

// ---------------------------------------------------------------------------
// The list

// The list query without its order; the user filter, when it applies, takes
// the user's name as its one parameter.
QString SelectorDeclaraciones::ConsultaLista(bool bFiltraUsuario) const
{
    QString sConsulta = QStringLiteral(
        "SELECT a.tip_doc_d, "
        "(SELECT mid(funcion,31,12) FROM PARAM WHERE numero = '044' AND val(argumento) = a.tip_doc_d ) as des_doc_d, "
        "(SELECT mid(funcion,1,12) FROM PARAM WHERE numero = '727' AND val(argumento) = a.semana ) as Entidad, "
        "a.DOC_ID_D, B.NOMBRE, A.FORMULARIO,a.SEMANA, A.ESTADO, "
        "mid(A.PERIODO,5,2) || mid(A.PERIODO,1,4) as PERIODO, nrocheque, ");
    sConsulta += variante_.bEnviadas ? QStringLiteral("correl, efectivo FROM HCAB A, CONT B ")
                                     : QStringLiteral("efectivo FROM CAB A, CONT B ");
    sConsulta += QStringLiteral("WHERE A.TIP_DOC_D = B.TIP_DOC_D AND A.DOC_ID_D = B.DOC_ID_D "
                                "AND A.FORMULARIO ='0913' ");
    if (bFiltraUsuario)
        sConsulta += QStringLiteral("AND B.USUARIO = ? ");
    return sConsulta;
}

// A list that cannot be read stays empty, and the user is told why.
void SelectorDeclaraciones::CargaLista(const QString& sOrden)
{
    try {
        const bool bFiltraUsuario = ObtieneTipoUsuario() != QLatin1String("0");
        sSQL = ConsultaLista(bFiltraUsuario) + sOrden;
        const auto rs = oBaseDatos->openRecordset(sSQL, bFiltraUsuario ? QVariantList{sSysUser} : QVariantList{});
        DtaNew->CargaRecordset(*rs);
    } catch (const platform::DbError& err) {
        DtaNew->Limpia();
        PunteroNormal();
        platform::messageBox(TextoError(err), OkOnly, QStringLiteral("Error"));
    }
    const bool bHayFilas = DtaNew->rowCount() > 0;
    grdContrib->setEnabled(bHayFilas);
    if (bHayFilas)
        grdContrib->setCurrentIndex(DtaNew->index(0, ColDocId));
}

void SelectorDeclaraciones::Form_Load()
{
    PunteroReloj();
    bEnviadas = variante_.bEnviadas;
    const TextosModo* textos = nModo == 1 ? &variante_.actualizar : nModo == 3 ? &variante_.eliminar : nullptr;
    if (textos) {
        CmdOpciones[0]->setText(textos->sBoton);
        Label1->setText(textos->sEtiqueta);
        setWindowTitle(textos->sTitulo);
    }
    CargaLista(QStringLiteral("ORDER BY A.DOC_ID_D ASC"));
    PunteroNormal();
}

void SelectorDeclaraciones::grdContrib_HeadClick(int ColIndex)
{
    switch (ColIndex) {
    case ColDesDoc: CargaLista(QStringLiteral(" ORDER BY 1 ")); break;
    case ColDocId: CargaLista(QStringLiteral(" ORDER BY A.doc_id_d ASC")); break;
    case ColNombre: CargaLista(QStringLiteral(" ORDER BY B.NOMBRE ASC")); break;
    default: CargaLista(QString()); break;
    }
}

int SelectorDeclaraciones::FilaActual() const
{
    const QModelIndex actual = grdContrib->currentIndex();
    return actual.isValid() ? actual.row() : -1;
}

QString SelectorDeclaraciones::ColumnaActual(int nColumna) const
{
    return DtaNew->Texto(FilaActual(), nColumna);
}

void SelectorDeclaraciones::grdContrib_RowColChange()
{
    platform::HostStatusBar& barra = BarraEstado();
    barra.setNumdoc(ColumnaActual(ColDocId));
    barra.setRazonsocial(ColumnaActual(ColNombre));
    barra.setPeriodo_ejercicio(ColumnaActual(ColPeriodo));
    barra.setFormulario(ColumnaActual(ColFormulario));
    nEntidad = ColumnaActual(ColSemana).trimmed().toInt();
}

// ---------------------------------------------------------------------------
// Acting on the chosen declaration

// The chosen row's key goes into the process-wide state, the entity too, so
// that the action never rests on whichever row was told last.
void SelectorDeclaraciones::TomaDeclaracion()
{
    const QString sPeriodoLista = ColumnaActual(ColPeriodo); // MMYYYY
    sPeriodo = sPeriodoLista.right(4) + sPeriodoLista.left(2);
    sFecActualiza = ColumnaActual(ColFechaVenc);
    sEfectivo = ColumnaActual(ColumnaEfectivo());
    nEntidad = ColumnaActual(ColSemana).trimmed().toInt();
    if (!variante_.bEnviadas)
        sPeriodoMMAAAA = PeriodoMMAAAA(sPeriodo);
}

void SelectorDeclaraciones::CmdOpciones_Click(int Index)
{
    try {
        TomaDeclaracion();
        if (Index == 1)
            reject();
        else if (nModo == 1)
            AbreDeclaracion();
        else if (nModo == 3)
            EliminaDeclaracion();
    } catch (const platform::DbError& err) {
        platform::messageBox(TextoError(err), OkOnly, QStringLiteral("Error"));
    }
    PunteroNormal();
}

void SelectorDeclaraciones::AbreDeclaracion()
{
    if (!ValidaSeleccionGrilla(*grdContrib, variante_.bEnviadas ? operacionGrilla::VerEnviadas
                                                                : operacionGrilla::Actualizar))
        return;
    if (!VerificaConfiguracionRegional())
        return;
    const int nPosicion = FilaActual();
    if (nPosicion < 0)
        return;

    setEnabled(false);
    // Disabled, the picker lost the focus and could not be made active as
    // the form closed: it takes the keyboard again however the form ends.
    const auto alVolver = qScopeGuard([this] {
        setEnabled(true);
        activateWindow();
        DevuelveTeclado();
    });
    PunteroReloj();
    Frm913::MuestraDeclaracion({ColumnaActual(ColTipDoc).toInt(), ColumnaActual(ColDocId), ColumnaActual(ColNombre),
                                ColumnaActual(ColEntidad),
                                variante_.bEnviadas ? ColumnaActual(ColCorrel) : QString()});
    PunteroNormal();
    QCoreApplication::processEvents();

    // Saving in the request form may have changed the list; the rows that
    // remain may be fewer than before.
    Form_Load();
    const int nFilas = DtaNew->rowCount();
    if (nFilas > 0)
        grdContrib->setCurrentIndex(DtaNew->index(std::min(nPosicion, nFilas - 1), ColDocId));
}

// The list has the keyboard; an empty one, disabled, leaves it to the first
// control after it.
void SelectorDeclaraciones::DevuelveTeclado()
{
    if (grdContrib->isEnabled())
        grdContrib->setFocus();
    else
        CmdOpciones[0]->setFocus();
}

// Raises an error when the table still holds rows of the declaration.
void SelectorDeclaraciones::VerificaEliminada(const QString& sTabla, int nTipDoc, const QString& sDocId,
                                              const QString& sCorrel) const
{
    ClaveDeclaracion clave = ClaveDeclaracionAbierta(nTipDoc, sDocId);
    if (variante_.bEnviadas)
        clave.sCorrel = sCorrel;
    const QString sConsulta = QStringLiteral("SELECT COUNT(*) FROM ") + sTabla + QStringLiteral(" WHERE ")
        + clave.Condicion();
    const QVariantList params = clave.Parametros();
    if (oBaseDatos->scalar(sConsulta, params).toInt() > 0)
        throw platform::DbError(platform::dberr::Generic,
                                QStringLiteral("No se pudo eliminar la información de la tabla %1.").arg(sTabla));
}

// Every row of the declaration goes, from every table, or none does.
void SelectorDeclaraciones::EliminaDeclaracion()
{
    if (!ValidaSeleccionGrilla(*grdContrib, operacionGrilla::Eliminar))
        return;
    if (FilaActual() < 0)
        return;
    if (platform::messageBox(QStringLiteral("¿Confirma que va a eliminar la declaración seleccionada?"),
                             YesNo | Question | DefaultButton2, windowTitle())
        != Yes)
        return;

    const QStringList tablas = variante_.bEnviadas
        ? QStringList{QStringLiteral("hcab"), QStringLiteral("hdet"), QStringLiteral("HF0913DEUDAS"),
                      QStringLiteral("HF0913MOTIVO"), QStringLiteral("HF0913SUSTEN")}
        : QStringList{QStringLiteral("cab"), QStringLiteral("det"), QStringLiteral("F0913DEUDAS"),
                      QStringLiteral("F0913MOTIVO"), QStringLiteral("F0913SUSTEN"), QStringLiteral("F0913GARANTIA")};
    const int nTipDoc = ColumnaActual(ColTipDoc).toInt();
    const QString sDocId = ColumnaActual(ColDocId);
    const QString sCorrel = variante_.bEnviadas ? ColumnaActual(ColCorrel) : QString();

    oBaseDatos->beginTrans();
    try {
        // EliminaDataTabla keeps its failures to itself: what it could not
        // delete is still there. Each table is checked before the next is
        // touched, since a failure may have ended the transaction, and a
        // delete after it would stand alone.
        for (const QString& sTabla : tablas) {
            EliminaDataTabla(sTabla, nTipDoc, sDocId, 1, sCorrel);
            VerificaEliminada(sTabla, nTipDoc, sDocId, sCorrel);
        }
        oBaseDatos->commitTrans();
    } catch (const platform::DbError& err) {
        oBaseDatos->rollback();
        platform::messageBox(TextoError(err) + QStringLiteral("\n\nLa declaración no fue eliminada."),
                             OkOnly | Critical, QStringLiteral("Error"));
        return;
    }
    grdContrib_HeadClick(ColDocId);
}

// ---------------------------------------------------------------------------
// Grid events and closing

void SelectorDeclaraciones::grdContrib_DblClick()
{
    CmdOpciones_Click(0);
}

void SelectorDeclaraciones::grdContrib_KeyPress(int& KeyAscii)
{
    if (KeyAscii == 13)
        CmdOpciones_Click(0);
    KeyAscii = 0;
}

bool SelectorDeclaraciones::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grdContrib && event->type() == QEvent::KeyPress) {
        const auto* tecla = static_cast<QKeyEvent*>(event);
        const bool bEnter = tecla->key() == Qt::Key_Return || tecla->key() == Qt::Key_Enter;
        // Moving keys, Tab and Escape are not typed characters.
        const bool bCaracter = tecla->text().size() == 1 && tecla->text().at(0).isPrint();
        if (bEnter || bCaracter) {
            int KeyAscii = bEnter ? 13 : tecla->text().at(0).unicode();
            grdContrib_KeyPress(KeyAscii);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void SelectorDeclaraciones::Form_Unload()
{
    platform::HostStatusBar& barra = BarraEstado();
    barra.setNumdoc(QString());
    barra.setRazonsocial(QString());
    barra.setPeriodo_ejercicio(QString());
    barra.setFormulario(QString());
}

void SelectorDeclaraciones::done(int resultado)
{
    Form_Unload();
    QDialog::done(resultado);
    // Left to itself, the window manager gives the keyboard to the window
    // that had it before the picker, maybe another program's.
    if (SharedForm<MDIFrm>::exists())
        SharedForm<MDIFrm>::instance().activateWindow();
}
