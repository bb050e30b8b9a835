#include "formulario/shell/frmAcercade.h"

#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

QLineEdit* TextoFijo(QWidget* parent, const QString& sNombre)
{
    auto* texto = new QLineEdit(parent);
    texto->setObjectName(sNombre);
    texto->setReadOnly(true);
    texto->setFrame(false);
    texto->setFocusPolicy(Qt::NoFocus);
    texto->setAlignment(Qt::AlignCenter);
    return texto;
}

} // namespace

frmAcercade::frmAcercade()
{
    setObjectName(QStringLiteral("frmAcercade"));
    setWindowTitle(QStringLiteral("Acerca de Sistema Vardeno "));

    SSPanel1 = new QFrame(this);
    SSPanel1->setObjectName(QStringLiteral("SSPanel1"));
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Text3 = TextoFijo(SSPanel1, QStringLiteral("Text3"));
    Text3->setText(QStringLiteral("Sistema Vardeno"));
    QFont fuente = Text3->font();
    fuente.setPointSize(fuente.pointSize() + 6);
    fuente.setBold(true);
    Text3->setFont(fuente);
    auto* panel = new QVBoxLayout(SSPanel1);
    panel->addWidget(Text3);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(48, 48));
    txtApp = TextoFijo(this, QStringLiteral("txtApp"));
    txtVersion = TextoFijo(this, QStringLiteral("txtVersion"));
    Line1 = new QFrame(this);
    Line1->setObjectName(QStringLiteral("Line1"));
    Line1->setFrameShape(QFrame::HLine);
    Line1->setFrameShadow(QFrame::Sunken);
    cmdAceptar = new QPushButton(QStringLiteral("&Aceptar"), this);
    cmdAceptar->setObjectName(QStringLiteral("cmdAceptar"));
    cmdAceptar->setDefault(true);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmAcercade::cmdAceptar_Click);

    auto* textos = new QVBoxLayout;
    textos->addWidget(txtApp);
    textos->addWidget(txtVersion);
    auto* centro = new QHBoxLayout;
    centro->addWidget(Image1, 0, Qt::AlignTop);
    centro->addLayout(textos, 1);
    auto* pie = new QHBoxLayout;
    pie->addStretch();
    pie->addWidget(cmdAceptar);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SSPanel1);
    layout->addLayout(centro);
    layout->addWidget(Line1);
    layout->addLayout(pie);
    setFixedSize(360, 220);
}

void frmAcercade::Form_Load()
{
    txtApp->setText(kNombreProducto);
    txtVersion->setText(QStringLiteral("Versión 1.2"));
    PunteroNormal();
}

// The caller releases the instance once the modal display returns.
void frmAcercade::cmdAceptar_Click()
{
    accept();
}
