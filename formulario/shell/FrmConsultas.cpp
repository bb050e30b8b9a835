#include "formulario/shell/FrmConsultas.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/GrillaRecordset.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "formulario/subsystems/reports/ErrorImpresion.h"
#include "formulario/markup/ImpLinea.h"
#include "formulario/subsystems/reports/Repo04.h"
#include "platform/database.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

using namespace platform::mb;

namespace {

const QString kArchivoConsulta = QStringLiteral("Consultas.txt");

struct Consulta {
    QString sTipo;
    QString sTitulo;
    QString sSql;
};

const Consulta kConsultas[] = {
    {QStringLiteral("R"), QStringLiteral("Consulta de Tipos de documento"),
     QStringLiteral("SELECT ARGUMENTO as codigo, mid(FUNCION,1,20) as descrip FROM PARAM WHERE NUMERO='872' order by 1")},
    {QStringLiteral("T"), QStringLiteral("Consulta de Tributos"),
     QStringLiteral("SELECT  mid(ARGUMENTO,2,3) || mid(ARGUMENTO,6,1) as codigo, mid(FUNCION,1,55) as descrip "
                    "FROM PARAM WHERE NUMERO='871'  order by  1 ")},
};

// The print file's layout, in twips.
constexpr int kXCodigo = 500;
constexpr int kXDescripcion = 2500;
constexpr int kYTitulos = 2500;
constexpr int kYPrimeraFila = 2900;
constexpr int kPasoFila = 250;
constexpr int kFilasPorHoja = 51;

int HojaActual()
{
    return sFilaRep.toInt() - 1;
}

void Titulos(const QString& sDescripcion)
{
    ImprimeTexto(kXCodigo, kYTitulos, QStringLiteral("Código"), true, 8, HojaActual());
    ImprimeTexto(kXDescripcion, kYTitulos, sDescripcion, true, 8, HojaActual());
}

// Opens the print file under nArchivo; false (after saying why) when it cannot be.
bool AbreArchivoConsulta()
{
    nArchivo = FreeFile();
    int nError = 0;
    while ((nError = AbreNumero(nArchivo, sArchivo, modoArchivo::Salida)) != 0) {
        const int nRespuesta = MensajeErrorArchivo(nError);
        if (nRespuesta == 3) // an error without a message of its own
            MensajeArchivoNoEscrito(sArchivo);
        if (nRespuesta != 0)
            return false;
    }
    return true;
}

} // namespace

FrmConsultas::FrmConsultas()
{
    setObjectName(QStringLiteral("FrmConsultas"));
    Dta1 = new GrillaRecordset({{QStringLiteral("Código"), QStringLiteral("codigo")},
                                {QStringLiteral("Descripción o Valor"), QStringLiteral("descrip")}},
                               this);
    Dta1->setObjectName(QStringLiteral("Dta1"));
    grdConsultas = new QTableView(this);
    grdConsultas->setObjectName(QStringLiteral("grdConsultas"));
    grdConsultas->setModel(Dta1);
    grdConsultas->setSelectionBehavior(QAbstractItemView::SelectRows);
    grdConsultas->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grdConsultas->setTabKeyNavigation(false);
    grdConsultas->verticalHeader()->hide();
    grdConsultas->horizontalHeader()->setStretchLastSection(true);
    cmdImprimir = new QPushButton(QStringLiteral("&Imprimir"), this);
    cmdImprimir->setObjectName(QStringLiteral("cmdImprimir"));
    CmdSalir = new QPushButton(QStringLiteral("&Salir"), this);
    CmdSalir->setObjectName(QStringLiteral("CmdSalir"));
    // Enter in the grid presses neither button; on a button it presses that one.
    for (QPushButton* boton : {cmdImprimir, CmdSalir})
        boton->setAutoDefault(false);
    connect(cmdImprimir, &QPushButton::clicked, this, &FrmConsultas::cmdImprimir_Click);
    connect(CmdSalir, &QPushButton::clicked, this, &FrmConsultas::CmdSalir_Click);

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(cmdImprimir);
    botones->addWidget(CmdSalir);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grdConsultas, 1);
    layout->addLayout(botones);
    resize(640, 420);
}

void FrmConsultas::Form_Load()
{
    CentraFormulario(*this);
    PunteroReloj();
    for (const Consulta& consulta : kConsultas) {
        if (consulta.sTipo != sTipoConsulta)
            continue;
        setWindowTitle(consulta.sTitulo);
        try {
            Dta1->CargaRecordset(*oBaseDatos->openRecordset(consulta.sSql));
        } catch (const platform::DbError& err) {
            Dta1->Limpia();
            PunteroNormal();
            MuestraErrorImpresion(err);
        }
    }
    grdConsultas->setEnabled(Dta1->rowCount() > 0);
    grdConsultas->resizeColumnToContents(0);
    PunteroNormal();
}

FrmConsultas::Filas FrmConsultas::FilasDeLista() const
{
    Filas filas;
    for (int nFila = 0; nFila < Dta1->rowCount(); ++nFila)
        filas.append({Dta1->Texto(nFila, 0), Dta1->Texto(nFila, 1)});
    return filas;
}

void FrmConsultas::EscribeConsulta(const QString& sTitulo, const Filas& filas)
{
    sLineaRep.clear();
    nLinea = 0;
    sSalida = kSalidaArchivo;
    nPagina = 0;
    sFilaRep = QStringLiteral("0");
    for (QString sTag : {kTagFuente, kTagVertical, kTagColor, kTagVertical})
        ImprimeLinea(sTag);
    sFilaRep = QString::number(sFilaRep.toInt() + 1);
    ImprimeTexto(1000, 1500, sTitulo, true, 10, HojaActual());
    Titulos(QStringLiteral("Descripción"));
    int nY = kYPrimeraFila;
    int nLineas = 0;
    for (const auto& [sCodigo, sDescripcion] : filas) {
        // A new page only for a row that no longer fits, so no page is left with headings alone.
        if (nLineas == kFilasPorHoja) {
            sFilaRep = QString::number(sFilaRep.toInt() + 1);
            nLineas = 0;
            ImprimeTexto(0, 0, kNuevaHoja, false, 8, HojaActual());
            Titulos(QStringLiteral("Descripción "));
            nY = kYPrimeraFila;
        }
        ImprimeTexto(kXCodigo, nY, sCodigo, false, 8, HojaActual());
        ImprimeTexto(kXDescripcion, nY, sDescripcion, false, 8, HojaActual());
        nY += kPasoFila;
        ++nLineas;
    }
}

void FrmConsultas::cmdImprimir_Click()
{
    sArchivo = sRutaRpt + kArchivoConsulta;
    if (!AbreArchivoConsulta())
        return;
    try {
        EscribeConsulta(windowTitle(), FilasDeLista());
    } catch (const platform::DbError& err) {
        CierraArchivo(nArchivo);
        MuestraErrorImpresion(err);
        return;
    }
    CierraArchivo(nArchivo);
    sArchivo = kArchivoConsulta;
    const bool bImpreso = MuestraReporte(sArchivo, QStringLiteral("xx"));
    PunteroNormal();
    if (bImpreso)
        platform::messageBox(QStringLiteral("El reporte fue impreso satisfactoriamente"), Information | OkOnly,
                             windowTitle());
    QApplication::processEvents();
}

void FrmConsultas::CmdSalir_Click()
{
    Dta1->Limpia();
    close();
}
