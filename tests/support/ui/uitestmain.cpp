#include "app/application.h"
#include "app/preferences.h"
#include "runtime/decimalseparator.h"
#include "serial/ui/qthandover.h"
#include "ui/errorreport.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Every test starts without remembered preferences, and none reaches the user's own.
class FreshPreferences : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { forgetPreferences(); }
};

} // namespace

int main(int argc, char** argv)
{
    // Widget tests run on any machine, display or not.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    VexorelApplication app(argc, argv);
    QtHandOver handOver([](std::exception_ptr error) { ui::reportException(error); });
    rt::setDecimalSeparator(',');
    const QTemporaryDir settings;
    qputenv("XDG_CONFIG_HOME", settings.path().toLocal8Bit());
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new FreshPreferences);
    return RUN_ALL_TESTS();
}
