#include "platform/application.h"
#include "reporte/Reporte.h"

#include <QStringList>

namespace {

bool HayPantalla()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

// Quenbo needs no window: the host's command line names the declaration, and
// the only things shown are failure messages. Without a display those are
// written to the error output instead (platform::messageBox, MSGBOX_ANSWERS),
// the application drawing off screen. An error that leaves an event handler
// is told the same way and ends the run with a failure status.
// The command line is the host's alone: none of it goes to the toolkit.
int main(int argc, char** argv)
{
    QStringList argumentos;
    for (int i = 1; i < argc; ++i)
        argumentos.append(QString::fromLocal8Bit(argv[i]));

    if (!HayPantalla()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        if (!qEnvironmentVariableIsSet("MSGBOX_ANSWERS"))
            qputenv("MSGBOX_ANSWERS", "");
    }
    int nArgumentos = 1;
    platform::Application app(nArgumentos, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Quenbo"));
    return reporte::Main(argumentos.join(u' '));
}
