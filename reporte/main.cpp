#include "reporte/Reporte.h"

#include <QApplication>
#include <QCoreApplication>
#include <QStringList>

#include <memory>

namespace {

bool HayPantalla()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") || !qEnvironmentVariableIsEmpty("DISPLAY")
        || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

} // namespace

// Quenbo needs no window: the host's command line names the declaration, and
// the only things shown are failure messages. Without a display those are
// written to the error output instead (platform::messageBox, MSGBOX_ANSWERS).
// The command line is the host's alone: none of it goes to the toolkit.
int main(int argc, char** argv)
{
    QStringList argumentos;
    for (int i = 1; i < argc; ++i)
        argumentos.append(QString::fromLocal8Bit(argv[i]));

    int nArgumentos = 1;
    std::unique_ptr<QCoreApplication> app;
    if (HayPantalla()) {
        app = std::make_unique<QApplication>(nArgumentos, argv);
    } else {
        if (!qEnvironmentVariableIsSet("MSGBOX_ANSWERS"))
            qputenv("MSGBOX_ANSWERS", "");
        app = std::make_unique<QCoreApplication>(nArgumentos, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("Quenbo"));
    return reporte::Main(argumentos.join(u' '));
}
