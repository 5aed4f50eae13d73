// GoogleTest entry for tests that need a QApplication: headless unless a platform is chosen. It
// is the window program's own, which catches what escapes a handler.
#include "ui/application.h"

#include <gtest/gtest.h>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    rainbow::ui::Application app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
