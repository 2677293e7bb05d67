// Memory during a runaway serial stream: the real main window (offscreen) on a real
// pseudo-terminal receives far more and far longer lines than a chronograph sends, and the
// peak resident memory of the process is reported (getrusage), from the start of the
// stream through the conversion into the table and charts. A second figure feeds the line
// assembler alone with an endless line and then an endless run of lines.

#include "app/application.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "serial/comport.h"
#include "serial/ui/qthandover.h"
#include "support/benchwindows.h"
#include "support/ptyline.h"
#include "table/download.h"
#include "ui/errorreport.h"

#include <QElapsedTimer>
#include <QLabel>

#include <atomic>
#include <cstdio>
#include <sys/resource.h>
#include <thread>

namespace {

double peakRssMb()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

void assemblerAlone()
{
    const double before = peakRssMb();
    QElapsedTimer clock;
    clock.start();
    table::LineAssembler assembler;
    for (long i = 0; i < 200'000'000; ++i)
        assembler.addChar('7');
    for (long line = 0; line < 200'000; ++line) {
        for (int i = 0; i < 4095; ++i)
            assembler.addChar('9');
        assembler.addChar('\n');
    }
    std::printf("line assembler: 200 MB without a line feed, then 200,000 lines of 4,095 "
                "characters: %zu lines kept, peak RSS %.1f MB (%.1f MB before), %.1f s\n",
                assembler.lines().size(), peakRssMb(), before, clock.elapsed() / 1000.0);
}

void throughTheWindow()
{
    PtyLine line;
    const BenchWindows windows("vexorel-bench-runaway");
    const double before = peakRssMb();

    Form1->ComPort->SetPort(line.name());
    Form1->BitBtn1Click();
    // Lines longer than the kept 256 characters, without a space, so that each shot's
    // velocity cell holds all that is kept; more of them than a transmission keeps.
    constexpr int kLines = 70'000;
    constexpr std::size_t kLength = 300;
    std::atomic<bool> sent{false};
    QElapsedTimer clock;
    clock.start();
    std::thread sender([&] {
        const std::string text(kLength, '9');
        std::string block;
        for (int i = 0; i < kLines; ++i) {
            block += text;
            block += "\r\n";
            if (block.size() > (1 << 16)) {
                line.send(block, std::chrono::seconds(60));
                block.clear();
            }
        }
        line.send(block, std::chrono::seconds(60));
        sent = true;
    });
    while (!(sent && Form1->Label1->text() == QLatin1String("Loaded.")))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
    sender.join();
    std::printf("main window: %d lines of %zu characters (%.0f MB) over a pseudo-terminal: "
                "%zu rows, peak RSS %.1f MB (%.1f MB before the stream), %.1f s\n",
                kLines, kLength, kLines * (kLength + 2) / 1e6, Form1->table().rowCount() - 1,
                peakRssMb(), before, clock.elapsed() / 1000.0);
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    VexorelApplication app(argc, argv);
    QtHandOver handOver([](std::exception_ptr error) { ui::reportException(error); });
    // The assembler first: getrusage keeps the peak, so the window's figure includes it.
    assemblerAlone();
    throughTheWindow();
    return 0;
}
