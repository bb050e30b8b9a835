#pragma once

#include "formulario/subsystems/reports/LectorReporte.h"

#include <QDialog>
#include <QList>
#include <QString>
#include <array>

class QScrollBar;
class QToolBar;
class QToolButton;

// One page of the preview, drawn from its commands in twips at the screen's
// resolution on the report's page colour.
class CajaHoja : public QWidget {
    Q_OBJECT
public:
    CajaHoja(QWidget* parent, int nIndice);
    void EstableceHoja(const QList<ComandoReporte>& comandos, const QColor& color, QSize tamano);
    const QList<ComandoReporte>& Comandos() const { return comandos_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<ComandoReporte> comandos_;
    QColor color_ = Qt::white;
};

// The report renderer: shows a report file of the report folder page by page
// ("Presentación Preliminar") or prints it on the default printer.
class frmPreview : public QDialog {
    Q_OBJECT
public:
    frmPreview();

    // Name of the report file inside the report folder; set before loading or printing.
    QString sArchivoReporte;

    void Form_Load();
    // Reads the file and draws it into the page boxes ("PresPrevia") or, for
    // any other `sTipo`, prints it. False when the file is missing (after
    // saying so). Printing throws platform::DbError (no printer, cancelled job).
    bool pDesencripta(const QString& sNombreArchivo, const QString& sTipo);
    // 0 the first page, -1 the next one, -2 the previous one.
    void pMostrar(int Nrohoja);
    // Prints the report file; failures are shown. True when it was printed.
    bool Imprime();

    void tlbPrevia_ButtonClick(int Index);
    void vsbPic_Change(int Index);
    void HScroll1_Change();

    int HojaActual() const { return nHojaActual; }
    int TotalHojas() const { return nTotalHojas; }

    QToolBar* tlbPrevia = nullptr;
    std::array<QToolButton*, 5> tlbBotones{}; // buttons 1 to 5
    QWidget* picFondo = nullptr;
    QList<CajaHoja*> picPrevia;
    std::array<QScrollBar*, 2> vsbPic{};
    QScrollBar* HScroll1 = nullptr;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreaControles();
    void CargaHojas(const HojasReporte& reporte);
    void MuestraSolo(int nHoja);
    void AjustaBarras();

    QString sModo;
    int nHojaActual = 0;
    int nTotalHojas = 1;
    bool bCambiandoBarras = false;
};
