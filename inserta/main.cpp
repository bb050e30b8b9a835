#include "inserta/Instalacion.h"

#include <QApplication>

// The installer takes no command line: whatever it is started with is ignored.
int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    return inserta::Main();
}
