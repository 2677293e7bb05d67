#include "app/application.h"
#include "runtime/decimalseparator.h"
#include "serial/ui/qthandover.h"
#include "ui/errorreport.h"

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    // Widget tests run on any machine, display or not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VexorelApplication app(argc, argv);
    QtHandOver handOver([](std::exception_ptr error) { ui::reportException(error); });
    rt::setDecimalSeparator(',');
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
