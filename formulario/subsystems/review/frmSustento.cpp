#include "formulario/subsystems/review/frmSustento.h"

#include "formulario/core/ConfiguracionRegional.h"
#include "formulario/core/Formato.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/Registros.h"
#include "formulario/core/SharedForm.h"
#include "formulario/core/TeclaPresionada.h"
#include "formulario/core/modGen02.h"
#include "formulario/subsystems/request/Frm913Servicios.h"
#include "formulario/subsystems/review/Conciliacion.h"
#include "formulario/subsystems/review/EntradaSinPegar.h"
#include "formulario/subsystems/review/frmCondeuDet.h"
#include "platform/dialogs.h"
#include "platform/focus.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace platform::mb;

namespace {

constexpr int Px(int nTwips) { return nTwips / 15; }
const QString kFormatoFormulario = QStringLiteral("0###");
// Largest order number the evidence table's column holds.
constexpr int kOrdenMaximo = 32767;

// The payment forms that settle a debt of any period.
const QList<int> kFormulariosPago = {1043, 1051, 1052, 1062, 1073, 1230, 1231, 1243, 1246, 1250,
                                     1251, 1252, 1260, 1262, 1273, 1643, 1660, 1662, 1672};

QLabel* Etiqueta(QWidget* padre, const QString& sNombre, const QString& sTexto, int x, int y, int nAncho)
{
    auto* etiqueta = new QLabel(sTexto, padre);
    etiqueta->setObjectName(sNombre);
    etiqueta->setGeometry(Px(x), Px(y), Px(nAncho), Px(255));
    return etiqueta;
}

QLineEdit* Campo(QWidget* padre, const QString& sNombre, int x, int y, int nAncho, int nLargo)
{
    auto* campo = new QLineEdit(padre);
    campo->setObjectName(sNombre);
    campo->setGeometry(Px(x), Px(y), Px(nAncho), Px(315));
    campo->setMaxLength(nLargo);
    return campo;
}

QPushButton* Boton(QWidget* padre, const QString& sNombre, const QString& sTexto, int x, int y)
{
    auto* boton = new QPushButton(sTexto, padre);
    boton->setObjectName(sNombre);
    boton->setGeometry(Px(x), Px(y), Px(1215), Px(375));
    boton->setAutoDefault(false);
    return boton;
}

} // namespace

frmSustento::frmSustento()
{
    setObjectName(QStringLiteral("frmSustento"));
    CreaControles();
}

void frmSustento::CreaControles()
{
    Frame2 = new QGroupBox(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Frame2->setGeometry(Px(120), Px(60), Px(5220), Px(2220));
    // One line each: its caption, then its field.
    Etiqueta(Frame2, QStringLiteral("lblFormulario"), QStringLiteral("Formulario"), 120, 240, 2040);
    Etiqueta(Frame2, QStringLiteral("lblOrden"), QStringLiteral("Nº de orden/operación"), 120, 585, 2040);
    Etiqueta(Frame2, QStringLiteral("lblFechaPago"), QStringLiteral("Fecha de pago"), 120, 930, 2040);
    txtcodform = Campo(Frame2, QStringLiteral("txtcodform"), 2220, 210, 900, 4);
    txtnumord = Campo(Frame2, QStringLiteral("txtnumord"), 2220, 555, 1500, 9);
    mkeFechaPago = Campo(Frame2, QStringLiteral("mkeFechaPago"), 2220, 900, 1500, 10);
    mkeFechaPago->setInputMask(QStringLiteral("99/99/9999;_"));
    cmdAccion[0] = Boton(Frame2, QStringLiteral("cmdAccion_0"), QStringLiteral("Agregar"), 3840, 210);
    cmdAccion[1] = Boton(Frame2, QStringLiteral("cmdAccion_1"), QStringLiteral("Eliminar"), 3840, 630);
    lstForm = new QListWidget(Frame2);
    lstForm->setObjectName(QStringLiteral("lstForm"));
    lstForm->setGeometry(Px(120), Px(1260), Px(4980), Px(660));
    lstForm->setFont(QFont(QStringLiteral("Courier New")));
    auto* nota = Etiqueta(Frame2, QStringLiteral("lblNota"),
                          QStringLiteral("NOTA: Para formularios TEF registre el número de operación"), 120, 1935,
                          4980);
    QFont letraNota = nota->font(); // a small print, to fit the frame's width
    letraNota.setPointSizeF(letraNota.pointSizeF() * 0.85);
    nota->setFont(letraNota);

    Frame1 = new QGroupBox(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setGeometry(Px(120), Px(60), Px(3420), Px(1700));
    lbl01 = Etiqueta(Frame1, QStringLiteral("lbl01"), QString(), 270, 300, 3000);
    txt01 = Campo(Frame1, QStringLiteral("txt01"), 370, 960, 2500, 16);

    cmdSustento[0] = Boton(this, QStringLiteral("cmdSustento_0"), QStringLiteral("&Aceptar"), 1440, 2325);
    cmdSustento[1] = Boton(this, QStringLiteral("cmdSustento_1"), QStringLiteral("&Salir"), 2880, 2325);
    setFixedSize(Px(5460), Px(2745));

    connect(cmdAccion[0], &QPushButton::clicked, this, [this] { cmdAccion_Click(0); });
    connect(cmdAccion[1], &QPushButton::clicked, this, [this] { cmdAccion_Click(1); });
    connect(cmdSustento[0], &QPushButton::clicked, this, [this] { cmdSustento_Click(0); });
    connect(cmdSustento[1], &QPushButton::clicked, this, [this] { cmdSustento_Click(1); });

    const auto numeros = [](int& KeyAscii) {
        if (KeyAscii == 13)
            EnviaTab(QStringLiteral("TAB"));
        SoloNumeros(KeyAscii);
    };
    AsignaKeyPress(*txtcodform, numeros);
    AsignaKeyPress(*txtnumord, numeros);
    AsignaKeyPress(*mkeFechaPago, [](int& KeyAscii) {
        if (KeyAscii == 13)
            EnviaTab(QStringLiteral("TAB"));
    });
    AsignaKeyPress(*txt01, [](int& KeyAscii) {
        if (KeyAscii == 13)
            EnviaTab(QStringLiteral("TAB"));
        if (SoloAlfanumericos(KeyAscii) && KeyAscii >= 'a' && KeyAscii <= 'z')
            KeyAscii -= 'a' - 'A';
    });
    ImpidePegar(*txtcodform);
    ImpidePegar(*txtnumord);
    ImpidePegar(*mkeFechaPago, false);
    ImpidePegar(*txt01);
    platform::watchFocus(*txtcodform, {}, [this] { txtcodform_LostFocus(); });
}

frmCondeuDet& frmSustento::Deuda() const
{
    return SharedForm<frmCondeuDet>::instance();
}

QString frmSustento::TextoFechaPago() const
{
    return mkeFechaPago->displayText();
}

// ---------------------------------------------------------------- loading

void frmSustento::Form_Load()
{
    frmCondeuDet& deuda = Deuda();
    setWindowTitle(QStringLiteral("Sustento"));
    const QString sCaption = deuda.chkmotivo[nMotivo]->text();
    Frame1->setTitle(sCaption);
    Frame2->setTitle(sCaption);
    for (QWidget* control : {static_cast<QWidget*>(lbl01), static_cast<QWidget*>(txt01),
                             static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2)})
        control->hide();
    if (nMotivo == 1) {
        Frame2->show();
        if (deuda.lstForm->count() > 0) {
            lstForm->clear();
            for (int i = 0; i < deuda.lstForm->count(); ++i)
                lstForm->addItem(deuda.lstForm->item(i)->text());
        }
    } else if (nMotivo == 3 || nMotivo == 4) {
        if (nMotivo == 4) {
            lbl01->setText(QStringLiteral("Nro.Resolución de Intendencia u Of.Zonal"));
            txt01->setText(deuda.pnumres());
        } else {
            lbl01->setText(QStringLiteral("Número expediente"));
            txt01->setText(deuda.pnumexp());
        }
        DisposicionUnCampo();
        txt01->setMaxLength(16);
    }
    if (FormularioSolicitud())
        nHelpContext_ = FormularioSolicitud()->HelpContextTab();
}

void frmSustento::DisposicionUnCampo()
{
    Frame1->show();
    lbl01->move(lbl01->x() - Px(150), lbl01->y());
    lbl01->setWordWrap(true);
    lbl01->show();
    lbl01->resize(lbl01->width(), lbl01->heightForWidth(lbl01->width()));
    txt01->setGeometry(txt01->x() - Px(250), txt01->y(), txt01->width() + Px(400), txt01->height());
    txt01->show();
    setFixedSize(Px(3690), Px(2750));
    cmdSustento[0]->move(Px(700), Px(1900));
    cmdSustento[1]->move(Px(2170), Px(1900));
}

void frmSustento::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

void frmSustento::Form_Activate()
{
    Deuda().Frame2->update();
}

// ---------------------------------------------------------------- payments

void frmSustento::txtcodform_LostFocus()
{
    txtcodform->setText(Formato(txtcodform->text(), kFormatoFormulario));
}

void frmSustento::cmdAccion_Click(int Index)
{
    if (Index == 0)
        AgregaPago();
    else
        EliminaPago();
}

bool frmSustento::Rechaza(const QString& sMensaje, QLineEdit& oCampo, int nSeleccion)
{
    platform::messageBox(sMensaje, Critical | OkOnly, windowTitle());
    oCampo.setFocus();
    oCampo.setSelection(0, nSeleccion);
    return false;
}

void frmSustento::AgregaPago()
{
    const QString sFormulario = txtcodform->text().trimmed();
    if (sFormulario.isEmpty()) {
        Rechaza(QStringLiteral("Debe ingresar un formulario"), *txtcodform, 4);
        return;
    }
    const qint64 nOrden = txtnumord->text().trimmed().toLongLong();
    if (nOrden < 1) {
        Rechaza(QStringLiteral("Debe ingresar un número de orden"), *txtnumord, 9);
        return;
    }
    if (nOrden > kOrdenMaximo) {
        Rechaza(QStringLiteral("El número de orden no debe ser mayor a %1").arg(kOrdenMaximo), *txtnumord, 9);
        return;
    }

    frmCondeuDet& deuda = Deuda();
    const QString sPeriodoDeuda = deuda.lblPeriodo->text().right(4) + deuda.lblPeriodo->text().left(2);
    const int nFormulario = sFormulario.toInt();
    if (!kFormulariosPago.contains(nFormulario)) {
        if (sPeriodoDeuda >= QLatin1String("199307")) {
            Rechaza(QStringLiteral("El formulario ingresado no corresponde al tributo: \n")
                        + deuda.lblCodtributo->text() + QStringLiteral(" - ") + deuda.LblDestributo->text()
                        + QStringLiteral("\nRectifique."),
                    *txtcodform, 4);
            return;
        }
        if (nFormulario == 1 || nFormulario == 330) {
            Rechaza(QStringLiteral("El formulario ingresado no existe. Rectifique."), *txtcodform, 4);
            return;
        }
    }
    if (!ValidaFecha(QStringLiteral("PAG"), QStringLiteral("fecha de pago"), TextoFechaPago(), windowTitle(),
                     false)) {
        mkeFechaPago->setFocus();
        return;
    }

    const QString sEntrada =
        EntradaPago(Formato(sFormulario, kFormatoFormulario), txtnumord->text().trimmed(), TextoFechaPago());
    for (int i = 0; i < lstForm->count(); ++i) {
        if (lstForm->item(i)->text().left(17) == sEntrada.left(17)) {
            Rechaza(QStringLiteral("Se ha encontrado un registro idéntico al que se quiere agregar. Rectifque"),
                    *txtcodform, 4);
            return;
        }
    }
    lstForm->addItem(sEntrada);
    txtcodform->clear();
    txtnumord->clear();
    mkeFechaPago->setText(QString());
    txtcodform->setFocus();
}

void frmSustento::EliminaPago()
{
    QListWidgetItem* elegido = lstForm->currentItem();
    if (!elegido || !elegido->isSelected()) {
        platform::messageBox(
            QStringLiteral("Para poder eliminar un formulario, primero debe seleccionarse en un registro"),
            Exclamation | OkOnly, windowTitle());
        return;
    }
    delete elegido;
    lstForm->setFocus();
    if (lstForm->count() == 0) {
        txtcodform->setFocus();
        txtcodform->setSelection(0, 4);
        return;
    }
    QListWidgetItem* arriba = lstForm->itemAt(0, 0);
    lstForm->setCurrentItem(arriba ? arriba : lstForm->item(0));
}

// ---------------------------------------------------------------- closing

void frmSustento::cmdSustento_Click(int Index)
{
    if (!VerificaConfiguracionRegional()) {
        PunteroNormal();
        return;
    }
    if (ValidaSalida(Index) || Index == 1)
        done(Index == 0 ? Accepted : Rejected);
}

void frmSustento::reject()
{
    cmdSustento_Click(1);
}

bool frmSustento::ValidaSalida(int nIndex)
{
    frmCondeuDet& deuda = Deuda();
    bool bValida = true;
    const auto falla = [&](const QString& sMensaje, QLineEdit& oCampo) {
        sMensajePendiente = sMensaje;
        oCampo.setFocus();
        oCampo.selectAll();
        bValida = false;
    };
    if (nIndex == 0) {
        if (nMotivo == 1) {
            if (lstForm->count() == 0) {
                falla(QStringLiteral("Debe ingresar por lo menos algún formulario"), *txtcodform);
            } else {
                deuda.lstForm->clear();
                for (int i = 0; i < lstForm->count(); ++i)
                    deuda.lstForm->addItem(lstForm->item(i)->text());
            }
        } else if (nMotivo == 3) {
            if (txt01->text().trimmed().isEmpty())
                falla(QStringLiteral("Debe ingresar un número de expediente."), *txt01);
            else
                deuda.setPnumexp(txt01->text());
        } else if (nMotivo == 4) {
            if (txt01->text().trimmed().isEmpty())
                falla(QStringLiteral("Debe ingresar un nro. de resolución"), *txt01);
            else
                deuda.setPnumres(txt01->text());
        }
    } else {
        bValida = !((nMotivo == 1 && deuda.lstForm->count() == 0) || (nMotivo == 3 && deuda.pnumexp().isEmpty())
                    || (nMotivo == 4 && deuda.pnumres().isEmpty()));
    }

    if (nIndex == 0) {
        if (bValida)
            platform::messageBox(QStringLiteral("Se actualizó la información correctamente"), Information | OkOnly,
                                 windowTitle());
        else
            platform::messageBox(sMensajePendiente, Critical | OkOnly, windowTitle());
    }
    deuda.EstableceTagMotivo(nMotivo, bValida ? QStringLiteral("1") : QStringLiteral("0"));
    return bValida;
}
