#include "formulario/shell/Inicio.h"
#include "formulario/shell/MDIFrm.h"
#include "formulario/core/Fileproc.h"
#include "formulario/core/SharedForm.h"
#include "platform/application.h"

#include <algorithm>

// The program reads no command line: not even the toolkit's own options
// reach QApplication.
int main(int argc, char** argv)
{
    int nArgumentos = std::min(argc, 1);
    platform::Application app(nArgumentos, argv);
    platform::setUncaughtErrorHandler(ManejaErrorNoCapturado);
    // No display name: the window system would append it to every window's title.
    QApplication::setApplicationName(QStringLiteral("Tarvel"));
    Main();
    const int code = QApplication::exec();
    SharedForm<MDIFrm>::release();
    return code;
}
