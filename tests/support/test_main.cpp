#include "formulario/core/Fileproc.h"
#include "platform/application.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Widgets are drawn off screen unless a test asks for the X display.
    if (qEnvironmentVariableIsEmpty("TEST_USE_X11"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program's own application object and its handling of errors that
    // leave an event handler.
    platform::Application app(argc, argv);
    platform::setUncaughtErrorHandler(ManejaErrorNoCapturado);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
