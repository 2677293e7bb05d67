// File › Import of a 1 GB file of junk (lines of nothing but byte-order marks, which read as
// blank lines to the end) through the real window, cancelled in its progress window 200 ms
// after it shows: the time from Cancel until the command has returned, the table as it was,
// under 200 ms. A timer ticking every 5 ms meanwhile gives the longest the window went without
// answering.

#include "app/forms.h"
#include "app/tform1.h"
#include "support/benchwindows.h"
#include "table/measurementtable.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <fstream>

namespace {

constexpr std::int64_t kFileBytes = std::int64_t(1) << 30;

// Cancels 200 ms after the progress shows, and notes when.
class CancellingPrompter : public AnsweringPrompter {
public:
    std::unique_ptr<QObject> showProgress(QWidget*, const QString&,
                                          std::function<void()> cancel) override
    {
        shownAt = clock.elapsed();
        // Gone with the progress, so Cancel never comes after the import has ended.
        auto window = std::make_unique<QObject>();
        QTimer::singleShot(200, Qt::PreciseTimer, window.get(), [this, cancel = std::move(cancel)] {
            cancelledAt.start();
            cancel();
        });
        return window;
    }

    QElapsedTimer clock;
    qint64 shownAt = -1;
    QElapsedTimer cancelledAt;
};

void writeJunk(const std::string& path)
{
    std::string line;
    while (line.size() + 4 <= 64 * 1024)
        line += "\xEF\xBB\xBF";
    line += '\n';
    std::ofstream out(path, std::ios::binary);
    for (std::int64_t written = 0; written < kFileBytes;
         written += static_cast<std::int64_t>(line.size()))
        out << line;
}

void CancelImportOf1GB(benchmark::State& state)
{
    BenchWindows windows("vexorel-bench-cancel");
    CancellingPrompter prompter;
    ui::setPrompter(&prompter);
    prompter.path = QString::fromStdString(windows.dir() + "/junk.csv");
    writeJunk(windows.dir() + "/junk.csv");
    Form1->show();
    QCoreApplication::processEvents();

    QElapsedTimer sinceTick;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout,
                     [&] { longestGap = std::max(longestGap, sinceTick.restart()); });
    for (auto _ : state) {
        table::StringGrid& t = Form1->table();
        t.setRowCount(2);
        t.setCell(0, 1, "1");
        t.setCell(1, 1, "300");
        prompter.shownAt = -1;
        prompter.cancelledAt.invalidate();
        sinceTick.start();
        ticker.start(5);
        prompter.clock.start();
        Form1->Import1->trigger();
        const double cancelToReturn =
            prompter.cancelledAt.isValid() ? prompter.cancelledAt.nsecsElapsed() / 1e9 : 0;
        ticker.stop();
        state.SetIterationTime(cancelToReturn);
        if (!prompter.cancelledAt.isValid() || Form1->table().cell(1, 1) != "300") {
            state.SkipWithError("the import was not cancelled, or the table changed");
            break;
        }
    }
    state.counters["progress_shown_ms"] = static_cast<double>(prompter.shownAt);
    state.counters["longest_unanswered_ms"] = static_cast<double>(longestGap);
    ui::setPrompter(&windows.prompter);
}

BENCHMARK(CancelImportOf1GB)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
