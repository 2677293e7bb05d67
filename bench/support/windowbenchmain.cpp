// main() of the benchmarks that drive the program's windows: offscreen, with the program's
// application object and the serial port's hand-over, as the program starts.
#include "app/application.h"
#include "serial/ui/qthandover.h"
#include "ui/errorreport.h"

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VexorelApplication app(argc, argv);
    QtHandOver handOver([](std::exception_ptr error) { ui::reportException(error); });
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
