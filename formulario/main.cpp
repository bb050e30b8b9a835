#include "formulario/core/ModGen00.h"
#include "formulario/core/MDIFrm.h"
#include "formulario/core/SharedForm.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    // No display name: the window system would append it to every window's title.
    QApplication::setApplicationName(QStringLiteral("Tarvel"));
    Main();
    const int code = QApplication::exec();
    SharedForm<MDIFrm>::release();
    return code;
}
