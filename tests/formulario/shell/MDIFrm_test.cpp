#include "formulario/shell/FrmContAbrir.h"
#include "formulario/shell/FrmContAbrirE.h"
#include "formulario/core/Formularios.h"
#include "formulario/shell/MDIFrm.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/SharedForm.h"
#include "formulario/shell/frmAcercade.h"
#include "formulario/subsystems/reports/frmImprimir.h"
#include "platform/profile.h"
#include "platform/statusbar.h"
#include "tests/support/HostTest.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QToolBar>

using namespace platform::mb;

namespace {

class MDIFrmTest : public HostTest {
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        frm = &SharedForm<MDIFrm>::instance();
    }
    void TearDown() override
    {
        SharedForm<MDIFrm>::release();
        SharedForm<FrmContAbrir>::release();
        SharedForm<FrmContAbrirE>::release();
        HostTest::TearDown();
    }

    // What a picker saw when the main window showed it.
    struct Visto {
        QString sForm;
        int nModo = -1;
        bool bEnviadas = false;
        QString sTitulo;
        QString sBoton;
    };
    template <class Picker>
    void RegistraSelector(const QString& sNombre, QList<Visto>* vistos)
    {
        script.onForm(sNombre, [sNombre, vistos](QWidget& form) {
            auto& picker = static_cast<Picker&>(form);
            vistos->append({sNombre, nModo, bEnviadas, picker.windowTitle(), picker.CmdOpciones[0]->text()});
            return 0;
        });
    }

    MDIFrm* frm = nullptr;
};

QStringList TextosMenu(const QMenu* menu)
{
    QStringList textos;
    for (const QAction* accion : menu->actions())
        textos << (accion->isSeparator() ? QStringLiteral("-") : accion->text());
    return textos;
}

TEST_F(MDIFrmTest, LoadingSetsTheSeparatorsTheSettingsAndTheStatusBar)
{
    platform::writeWinIni(QStringLiteral("intl"), QStringLiteral("sDecimal"), QStringLiteral(","));
    platform::writeWinIni(QStringLiteral("intl"), QStringLiteral("sThousand"), QStringLiteral("."));
    oBaseDatos.reset();
    sSysUser.clear();

    frm->Form_Load();

    EXPECT_EQ(platform::readWinIni(QStringLiteral("intl"), QStringLiteral("sDecimal"), {}), QStringLiteral("."));
    EXPECT_EQ(platform::readWinIni(QStringLiteral("intl"), QStringLiteral("sThousand"), {}), QStringLiteral(","));
    EXPECT_TRUE(oBaseDatos);
    EXPECT_EQ(sSysUser, QStringLiteral("ADMIN"));
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("0913 - Régimen de Reprogramación de Deudas"));
    EXPECT_EQ(frm->geometry(), QRect(-3, -3, 648, 488));
    EXPECT_EQ(frm->BarradeEstadoVRD1->formulario(), QStringLiteral("0913"));
    EXPECT_EQ(frm->BarradeEstadoVRD1->periodo_ejercicio(), QStringLiteral("/"));
    EXPECT_EQ(frm->BarradeEstadoVRD1->esruc(), 1);
    EXPECT_TRUE(frm->BarradeEstadoVRD1->numdoc().isEmpty());
    EXPECT_TRUE(frm->BarradeEstadoVRD1->razonsocial().isEmpty());
    EXPECT_EQ(frm->HelpContextID(), 1007);
    EXPECT_FALSE(frm->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(frm->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(MDIFrmTest, MaximizedOrMinimizedGoesBackToItsFixedPlace)
{
    frm->Form_Load();
    frm->show();
    for (Qt::WindowState estado : {Qt::WindowMaximized, Qt::WindowMinimized}) {
        frm->move(100, 80);
        QApplication::processEvents();
        frm->setWindowState(estado);
        QApplication::processEvents();
        EXPECT_EQ(frm->windowState(), Qt::WindowNoState);
        EXPECT_EQ(frm->size(), QSize(648, 488));
        // Back at the fixed place, give or take the off-screen frame.
        EXPECT_LE((frm->pos() - QPoint(-3, -3)).manhattanLength(), 8);
    }
    frm->hide();
}

TEST_F(MDIFrmTest, MenusShowTheirCaptionsAndOnlyTheUsableItemsWork)
{
    QStringList menus;
    for (const QAction* accion : frm->menuBar()->actions())
        menus << accion->text();
    EXPECT_EQ(menus, (QStringList{"&Declaraciones", "Declaraciones &Enviadas", "&Consultas", "&Ayuda"}));
    EXPECT_EQ(TextosMenu(frm->mnuDeclara),
              (QStringList{"&Nueva", "&Actualizar", "&Eliminar", "-", "Impor&tar Estado de Adeudos", "-",
                           "&Imprimir", "&Copiar", "-", "&Salir"}));
    EXPECT_EQ(TextosMenu(frm->mnuDeclaraE),
              (QStringList{"&Ver declaraciones enviadas", "&Eliminar", "&Imprimir"}));
    EXPECT_EQ(TextosMenu(frm->mnuConsultas),
              (QStringList{"Tipo de documento", "Tributos", "Códigos de motivos de desacuerdo", "Tipos de impugnación",
                           "Tributos entes", "Formularios tributos", "Factores de actualización"}));
    EXPECT_EQ(TextosMenu(frm->mnuayuda), (QStringList{"&Contenido", "&Bienvenida", "-", "&Acerca de VRD"}));

    EXPECT_FALSE(frm->mnuNueva->isVisible());
    EXPECT_FALSE(frm->mnuNueva->isEnabled());
    EXPECT_FALSE(frm->mnuBienvenida->isVisible());
    EXPECT_FALSE(frm->mnuBienvenida->isEnabled());
    EXPECT_FALSE(frm->mnuCopiar->isEnabled());
    EXPECT_TRUE(frm->MenuConsulta(0)->isEnabled());
    EXPECT_TRUE(frm->MenuConsulta(4)->isEnabled());
    for (int nIndex = 5; nIndex <= 9; ++nIndex)
        EXPECT_FALSE(frm->MenuConsulta(nIndex)->isEnabled()) << nIndex;

    // Switched-off items do nothing even when triggered.
    frm->mnuCopiar->trigger();
    frm->mnuNueva->trigger();
    frm->MenuConsulta(7)->trigger();
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_TRUE(script.formsShown().isEmpty());
}

TEST_F(MDIFrmTest, ToolbarButtonsSitAtTheirIndexes)
{
    const QList<QPair<int, QString>> botones{{1, "Actualizar"}, {2, "Eliminar"},  {4, "Importar"},
                                             {5, "Copiar"},     {7, "Imprimir"},  {9, "Salir"},
                                             {11, "Número de orden"}, {12, "Help"}};
    for (const auto& [nIndex, sTexto] : botones) {
        ASSERT_TRUE(frm->BotonToolbar(nIndex)) << nIndex;
        EXPECT_EQ(frm->BotonToolbar(nIndex)->text(), sTexto);
    }
    // Position in the bar is the index: separators fill the gaps.
    const QList<QAction*> acciones = frm->Toolbar1->actions();
    ASSERT_EQ(acciones.size(), 12);
    for (const auto& [nIndex, sTexto] : botones)
        EXPECT_EQ(acciones.at(nIndex - 1), frm->BotonToolbar(nIndex)) << nIndex;
    // "Copiar" and "Número de orden" are there to be pressed, and do nothing.
    for (int nIndex : {5, 11}) {
        EXPECT_TRUE(frm->BotonToolbar(nIndex)->isEnabled());
        frm->BotonToolbar(nIndex)->trigger();
    }
    EXPECT_TRUE(script.shown().isEmpty());
    for (int nIndex : {3, 6, 8, 10})
        EXPECT_FALSE(frm->BotonToolbar(nIndex));
}

TEST_F(MDIFrmTest, DeclarationCommandsOpenAFreshPickerInTheirMode)
{
    QList<Visto> vistos;
    RegistraSelector<FrmContAbrir>(QStringLiteral("FrmContAbrir"), &vistos);
    RegistraSelector<FrmContAbrirE>(QStringLiteral("FrmContAbrirE"), &vistos);

    frm->mnuModificar_Click();
    frm->mnuEliminar_Click();
    frm->mnuModificarE_Click();
    frm->mnuEliminarE_Click();
    frm->Toolbar1_ButtonClick(1);
    frm->Toolbar1_ButtonClick(2);

    ASSERT_EQ(vistos.size(), 6);
    const auto espera = [&](int i, const char* form, int modo, bool enviadas, const char* titulo, const char* boton) {
        SCOPED_TRACE(i);
        EXPECT_EQ(vistos[i].sForm, QString::fromUtf8(form));
        EXPECT_EQ(vistos[i].nModo, modo);
        EXPECT_EQ(vistos[i].bEnviadas, enviadas);
        EXPECT_EQ(vistos[i].sTitulo, QString::fromUtf8(titulo));
        EXPECT_EQ(vistos[i].sBoton, QString::fromUtf8(boton));
    };
    espera(0, "FrmContAbrir", 1, false, "Actualizar Declaraciones", "&Actualizar");
    espera(1, "FrmContAbrir", 3, false, "Eliminar Declaraciones", "&Eliminar");
    espera(2, "FrmContAbrirE", 1, true, "Ver Declaraciones", "&Ver Declaración");
    espera(3, "FrmContAbrirE", 3, true, "Eliminar Declaraciones enviadas", "&Eliminar");
    espera(4, "FrmContAbrir", 1, false, "Actualizar Declaraciones", "&Actualizar");
    espera(5, "FrmContAbrir", 3, false, "Eliminar Declaraciones", "&Eliminar");
    EXPECT_EQ(frm->HelpContextID(), 1014);
    EXPECT_FALSE(SharedForm<FrmContAbrir>::exists());
    EXPECT_FALSE(SharedForm<FrmContAbrirE>::exists());
    EXPECT_FALSE(QApplication::overrideCursor());
}

TEST_F(MDIFrmTest, APickerShownAgainStartsWithEmptyFormState)
{
    QList<bool> marcado;
    script.onForm(QStringLiteral("FrmContAbrir"), [&marcado](QWidget& form) {
        marcado << form.property("marca").isValid();
        form.setProperty("marca", true);
        return 0;
    });
    frm->mnuModificar_Click();
    frm->mnuModificar_Click();
    EXPECT_EQ(marcado, (QList<bool>{false, false}));
}

TEST_F(MDIFrmTest, PrintCommandsShowThePrintDialogOfCurrentOrSentDeclarations)
{
    QStringList vistos;
    script.onForm(QStringLiteral("frmImprimir"), [&vistos](QWidget& form) {
        vistos << QStringLiteral("%1 %2").arg(form.windowTitle()).arg(bEnviadas);
        return 0;
    });
    frm->mnuImprimirE_Click();
    frm->mnuImprimir_Click();
    bEnviadas = true;
    frm->Toolbar1_ButtonClick(7);
    EXPECT_EQ(vistos, (QStringList{"Imprimir  1", "Imprimir  0", "Imprimir  0"}));
    EXPECT_TRUE(script.shown().isEmpty());
    EXPECT_FALSE(SharedForm<frmImprimir>::exists());
}

TEST_F(MDIFrmTest, LookupCommandsShowTheChosenTable)
{
    QStringList titulos;
    script.onForm(QStringLiteral("FrmConsultas"), [&titulos](QWidget& form) {
        titulos << form.windowTitle();
        return 0;
    });
    frm->MenuConsulta(4)->trigger();
    EXPECT_EQ(sTipoConsulta, QStringLiteral("T"));
    frm->MenuConsulta(0)->trigger();
    EXPECT_EQ(sTipoConsulta, QStringLiteral("R"));
    EXPECT_EQ(titulos, (QStringList{"Consulta de Tributos", "Consulta de Tipos de documento"}));
}

TEST_F(MDIFrmTest, ImportShowsTheImportDialogAndSetsNothing)
{
    nModo = 1;
    bEnviadas = true;
    QStringList titulos;
    script.onForm(QStringLiteral("FrmImportar"), [&titulos](QWidget& form) {
        titulos << form.windowTitle();
        return 0;
    });
    frm->mnuImportar->trigger();
    frm->Toolbar1_ButtonClick(4);
    EXPECT_EQ(titulos, (QStringList{"Importar información de Estado de Adeudos",
                                    "Importar información de Estado de Adeudos"}));
    EXPECT_EQ(nModo, 1);
    EXPECT_TRUE(bEnviadas);
    EXPECT_EQ(frm->HelpContextID(), 1014);
    EXPECT_TRUE(script.shown().isEmpty());
}

TEST_F(MDIFrmTest, HelpWithoutItsFileSaysSo)
{
    script.answer(Ok);
    frm->Toolbar1_ButtonClick(12);
    ASSERT_EQ(script.shown().size(), 1);
    EXPECT_TRUE(script.lastText().contains(sArchivoAyuda));
    EXPECT_EQ(script.shown().first().style & 0x70, Exclamation);
}

TEST_F(MDIFrmTest, AboutBoxShowsTheProductAndVersion)
{
    QStringList textos;
    script.onForm(QStringLiteral("frmAcercade"), [&textos](QWidget& form) {
        auto& acerca = static_cast<frmAcercade&>(form);
        textos << acerca.windowTitle() << acerca.Text3->text() << acerca.txtApp->text() << acerca.txtVersion->text()
               << acerca.cmdAceptar->text();
        acerca.cmdAceptar->click();
        return int(acerca.result());
    });
    frm->mnuAcercade->trigger();
    EXPECT_EQ(textos, (QStringList{"Acerca de Sistema Vardeno ", "Sistema Vardeno", "Régimen de Reprogramación de Deudas ", "Versión 1.2",
                                   "&Aceptar"}));
    EXPECT_FALSE(SharedForm<frmAcercade>::exists());
}

TEST_F(MDIFrmTest, ExitButtonAndClosingEndTheProgram)
{
    EXPECT_THROW(frm->mnuSalir_Click(), platform::ProgramEnded);
    EXPECT_THROW(frm->Toolbar1_ButtonClick(9), platform::ProgramEnded);
    EXPECT_THROW(frm->MDIForm_Unload(), platform::ProgramEnded);
}

TEST_F(MDIFrmTest, MovingTheMouseOverTheWindowEmptiesTheNameAndSetsGeneralHelp)
{
    frm->Form_Load();
    frm->BarradeEstadoVRD1->setRazonsocial(QStringLiteral("ALGUIEN"));
    QMouseEvent movimiento(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                           Qt::NoModifier);
    QApplication::sendEvent(frm->Picture1, &movimiento);
    EXPECT_EQ(frm->HelpContextID(), 1014);
    EXPECT_EQ(frm->BarradeEstadoVRD1->razonsocial(), QStringLiteral("ALGUIEN"));
    QApplication::sendEvent(frm->AreaCliente->viewport(), &movimiento);
    EXPECT_TRUE(frm->BarradeEstadoVRD1->razonsocial().isEmpty());
}

} // namespace
