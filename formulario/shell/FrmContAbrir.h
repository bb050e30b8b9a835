#pragma once

#include <QDialog>
#include <QString>

class GrillaRecordset;
class QGroupBox;
class QLabel;
class QPushButton;
class QTableView;

// Picker of declarations: lists them and opens (nModo 1) or deletes (nModo 3)
// the one chosen. FrmContAbrir works on the current declarations, FrmContAbrirE
// on the sent ones; the twins differ only in what Variante says.
class SelectorDeclaraciones : public QDialog {
    Q_OBJECT
public:
    void Form_Load();
    void Form_Unload();
    void CmdOpciones_Click(int Index);
    void grdContrib_DblClick();
    // Enter acts as the action button; every other key typed is swallowed.
    void grdContrib_KeyPress(int& KeyAscii);
    void grdContrib_HeadClick(int ColIndex);
    void grdContrib_RowColChange();

    // Text of a grid column on the current row; "" when there is none.
    // The request form reads the declaration it opens from here.
    QString ColumnaActual(int nColumna) const;
    int FilaActual() const;

    QGroupBox* Frame1 = nullptr;
    QLabel* Label1 = nullptr;
    QTableView* grdContrib = nullptr;
    GrillaRecordset* DtaNew = nullptr;
    QPushButton* CmdOpciones[2] = {nullptr, nullptr};

protected:
    struct TextosModo {
        QString sBoton;
        QString sEtiqueta;
        QString sTitulo;
    };
    struct Variante {
        QString sNombre;       // the form's name
        QString sMarco;        // caption of the frame around the grid
        bool bEnviadas;        // sent declarations: HCAB and its twins, with the correlative
        TextosModo actualizar; // texts for nModo 1
        TextosModo eliminar;   // texts for nModo 3
    };
    explicit SelectorDeclaraciones(Variante variante);

    void done(int resultado) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString ConsultaLista(bool bFiltraUsuario) const;
    void CargaLista(const QString& sOrden);
    void TomaDeclaracion();
    void AbreDeclaracion();
    void DevuelveTeclado();
    void EliminaDeclaracion();
    void VerificaEliminada(const QString& sTabla, int nTipDoc, const QString& sDocId, const QString& sCorrel) const;
    int ColumnaEfectivo() const;

    Variante variante_;
};

// Current declarations (CAB).
class FrmContAbrir : public SelectorDeclaraciones {
    Q_OBJECT
public:
    FrmContAbrir();
};
