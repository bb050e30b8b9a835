#include "formulario/request/Frm913.h"

#include "formulario/core/Formularios.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

Frm913::Frm913()
{
    setObjectName(QStringLiteral("Frm913"));
}

void Frm913::Form_Load()
{
    setWindowTitle(QStringLiteral("Formulario 0913"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("El formulario de solicitud todavía no está disponible en esta versión."), this));
    auto* botones = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(botones, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(botones);
    PunteroNormal();
}
