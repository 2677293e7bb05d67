// From the last byte of a 1,000-shot transmission to the shots in the table with statistics,
// deviations and charts: the real main window (offscreen) on a real pseudo-terminal. The
// figure includes the 100 ms of silence that ends a transmission.

#include "app/application.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "serial/comport.h"
#include "serial/ui/qthandover.h"
#include "support/benchwindows.h"
#include "support/ptyline.h"
#include "ui/errorreport.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr int kShots = 1000;

std::string transmission()
{
    std::string text = "CHRONOLITE v2.1\r\nN    V(m/s)\r\n";
    for (int i = 1; i <= kShots; ++i)
        text += "  " + std::to_string(i) + "   " + std::to_string(280 + i % 41) + "\r\n";
    return text;
}

void DownloadOf1000Shots(benchmark::State& state)
{
    PtyLine line;
    const BenchWindows windows("vexorel-bench-download");

    Form1->ComPort->SetPort(line.name());
    const std::string text = transmission();

    for (auto _ : state) {
        Form1->New1Click();
        Form1->BitBtn1Click();
        std::atomic<qint64> lastByteAt{0};
        QElapsedTimer clock;
        clock.start();
        std::thread sender([&] {
            line.send(text);
            lastByteAt = clock.nsecsElapsed();
        });
        while (!(Form1->Label1->text() == QLatin1String("Loaded.") && lastByteAt != 0))
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        const qint64 doneAt = clock.nsecsElapsed();
        sender.join();
        state.SetIterationTime(static_cast<double>(doneAt - lastByteAt) / 1e9);
        if (Form1->table().rowCount() != kShots + 1)
            state.SkipWithError("the shots did not all arrive");
    }
}
BENCHMARK(DownloadOf1000Shots)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace
