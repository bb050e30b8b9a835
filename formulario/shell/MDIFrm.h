#pragma once

// Main window of Tarvel.

#include <QMainWindow>
#include <QMap>

class QAction;
class QMdiArea;
class QMenu;
class QToolBar;
class QLabel;

namespace platform { class HostStatusBar; }

// Main window of Tarvel: a frame of fixed size and place whose every command
// opens a modal dialog over it.
class MDIFrm : public QMainWindow {
    Q_OBJECT
public:
    MDIFrm();

    void Form_Load();
    // Closing the main window ends the program.
    void MDIForm_Unload();

    // Menu commands
    void mnuModificar_Click();
    void mnuEliminar_Click();
    void mnuImportar_Click();
    void mnuImprimir_Click();
    void mnuSalir_Click();
    void mnuModificarE_Click();
    void mnuEliminarE_Click();
    void mnuImprimirE_Click();
    void mnuCons_Click(int Index);
    void mnuContenido_Click();
    void mnuAcercade_Click();
    // Toolbar button by its index (1 to 12).
    void Toolbar1_ButtonClick(int Index);

    bool ConfiguraInis();
    void MostrarHelp();
    void EstableceAyudaGeneral();
    int HelpContextID() const { return nHelpContextID; }

    QAction* BotonToolbar(int Index) const { return botones_.value(Index); }
    QAction* MenuConsulta(int Index) const { return mnuCons_.value(Index); }

    QMenu* mnuDeclara = nullptr;
    QAction* mnuNueva = nullptr;
    QAction* mnuModificar = nullptr;
    QAction* mnuEliminar = nullptr;
    QAction* mnuImportar = nullptr;
    QAction* mnuImprimir = nullptr;
    QAction* mnuCopiar = nullptr;
    QAction* mnuSalir = nullptr;
    QMenu* mnuDeclaraE = nullptr;
    QAction* mnuModificarE = nullptr;
    QAction* mnuEliminarE = nullptr;
    QAction* mnuImprimirE = nullptr;
    QMenu* mnuConsultas = nullptr;
    QMenu* mnuayuda = nullptr;
    QAction* mnuContenido = nullptr;
    QAction* mnuBienvenida = nullptr;
    QAction* mnuAcercade = nullptr;
    QToolBar* Toolbar1 = nullptr;
    QLabel* Picture1 = nullptr;
    QMdiArea* AreaCliente = nullptr;
    platform::HostStatusBar* BarradeEstadoVRD1 = nullptr;

protected:
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreaMenus();
    void CreaToolbar();
    void PosicionFija();

    int nHelpContextID = 0;
    QMap<int, QAction*> botones_;
    QMap<int, QAction*> mnuCons_;
};
