// importa_demo HOSTDIR CARPETA RUC ENTIDAD
//
// Imports the statement archive lying in CARPETA for a declarant and an
// entity into the host of HOSTDIR, the way a user does it in Tarvel's import
// dialog, without showing it. For the demo: not part of the system.

#include "formulario/core/ModGen00.h"
#include "formulario/core/ModGen01.h"
#include "platform/utility.h"
#include "tools/hostkit/hostkit.h"
#include "tools/importa/importa.h"

#include <QApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 5) {
        std::fprintf(stderr, "usage: importa_demo HOSTDIR CARPETA RUC ENTIDAD\n");
        return 2;
    }
    hostkit::setWindowsDirectory(hostkit::hostPaths(args[1]));
    oUtil = std::make_unique<platform::Utility>();
    LeeConfiguracion();
    const QString sMensajeFinal = ImportaEstadoAdeudos(args[3], args[4].toInt(), args[2]);
    std::printf("%s\n", qPrintable(sMensajeFinal));
    return sMensajeFinal == QStringLiteral("La importación ha terminado satisfactoriamente") ? 0 : 1;
}
