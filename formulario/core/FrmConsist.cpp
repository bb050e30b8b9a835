#include "formulario/core/FrmConsist.h"

#include "formulario/core/Fileproc.h"
#include "formulario/core/Formularios.h"
#include "formulario/core/ModGen00.h"
#include "formulario/core/TablaArchivos.h"
#include "platform/plainfile.h"
#include "platform/textfile.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The whole file as it is, line breaks included. Only a plain file of a
// bounded size is read: a FIFO or a device there would never end.
QString LeeArchivoCompleto(const QString& sRuta)
{
    QByteArray contenido;
    const platform::ReadFailure falla = platform::readPlainFile(sRuta, &contenido);
    if (falla != platform::ReadFailure::None)
        throw platform::DbError(falla == platform::ReadFailure::Missing ? errorArchivo::NoEncontrado
                                                                        : errorArchivo::AccesoRuta,
                                QStringLiteral("No se pudo abrir el archivo %1").arg(sRuta));
    return platform::fromCp1252(contenido);
}

} // namespace

FrmConsist::FrmConsist()
{
    setObjectName(QStringLiteral("FrmConsist"));
    setWindowTitle(QStringLiteral("Inconsistencias detectadas"));

    Label1 = new QLabel(QStringLiteral("En su declaración se han detectado las siguientes inconsistencias :"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    TxtPreliminar = new QPlainTextEdit(this);
    TxtPreliminar->setObjectName(QStringLiteral("TxtPreliminar"));
    TxtPreliminar->setReadOnly(true);
    // A long finding wraps at the window's width: read without scrolling sideways.
    TxtPreliminar->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    QFont fuente(QStringLiteral("Courier New"));
    fuente.setStyleHint(QFont::Monospace);
    fuente.setPointSize(9);
    TxtPreliminar->setFont(fuente);
    CmdGrabar = new QPushButton(QStringLiteral("&Aceptar"), this);
    CmdGrabar->setObjectName(QStringLiteral("CmdGrabar"));
    CmdGrabar->setDefault(true);
    connect(CmdGrabar, &QPushButton::clicked, this, &FrmConsist::CmdGrabar_Click);
    Command1 = new QPushButton(QStringLiteral("&Imprimir"), this);
    Command1->setObjectName(QStringLiteral("Command1"));

    auto* botones = new QHBoxLayout;
    botones->addStretch();
    botones->addWidget(CmdGrabar);
    botones->addWidget(Command1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(TxtPreliminar, 1);
    layout->addLayout(botones);
    resize(620, 400);
}

void FrmConsist::Form_Load()
{
    PunteroNormal();
    const QString sTexto =
        EjecutaConReintento(QStringLiteral("Form_Load"), [] { return LeeArchivoCompleto(sArchivo); });
    TxtPreliminar->setPlainText(QString(sTexto).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

// The caller releases the instance once the modal display returns.
void FrmConsist::CmdGrabar_Click()
{
    accept();
}
