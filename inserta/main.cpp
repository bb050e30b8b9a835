#include "inserta/Instalacion.h"
#include "platform/application.h"

#include <algorithm>

// The installer takes no command line: whatever it is started with is
// ignored, so not even the toolkit's own options reach QApplication.
int main(int argc, char** argv)
{
    int nArgumentos = std::min(argc, 1);
    platform::Application app(nArgumentos, argv);
    return inserta::Main();
}
