#include "formulario/core/ModGen00.h"
#include "formulario/core/MDIFrm.h"
#include "formulario/core/SharedForm.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tarvel"));
    QApplication::setApplicationDisplayName(kNombreProducto);
    Main();
    const int code = QApplication::exec();
    SharedForm<MDIFrm>::release();
    return code;
}
