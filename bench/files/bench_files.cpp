// The File commands over a 65,535-shot session, driven through the real main window
// (offscreen) so that the grid view, the statistics labels and the charts all take part.

#include "app/application.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "support/benchwindows.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"
#include "ui/gridview.h"

#include <QAction>

#include <benchmark/benchmark.h>

#include <fstream>
#include <unistd.h>

namespace {

constexpr std::size_t kShots = 65535;

std::string sessionFile(const std::string& dir)
{
    const std::string path = dir + "/session.vxm";
    std::ofstream out(path, std::ios::binary);
    for (std::size_t i = 1; i <= kShots; ++i)
        out << i << "\r\n" << 280 + i % 41 << "\r\n22,5\r\n0,547\r\nJSB Exact\r\n0,35\r\n";
    return path;
}

struct Session : BenchWindows {
    std::string file = sessionFile(dir());

    Session()
        : BenchWindows("vexorel-bench")
    {
    }
    void open()
    {
        prompter.path = QString::fromStdString(file);
        Form1->Open1Click();
    }
};

void OpenWithStatisticsAndRedraw(benchmark::State& state)
{
    Session s;
    for (auto _ : state)
        s.open();
    if (Form1->table().rowCount() != kShots + 1)
        state.SkipWithError("the session did not load");
}
BENCHMARK(OpenWithStatisticsAndRedraw)->Unit(benchmark::kMillisecond);

void SaveWholeTable(benchmark::State& state)
{
    Session s;
    s.open();
    s.prompter.path = QString::fromStdString(s.dir() + "/saved.vxm");
    for (auto _ : state)
        Form1->SaveAs1Click();
}
BENCHMARK(SaveWholeTable)->Unit(benchmark::kMillisecond);

void DeleteOneRow(benchmark::State& state)
{
    Session s;
    for (auto _ : state) {
        state.PauseTiming();
        s.open();
        Form1->Grid->selectRows(kShots / 2, kShots / 2);
        state.ResumeTiming();
        Form1->DeleteSelected1Click();
    }
}
BENCHMARK(DeleteOneRow)->Unit(benchmark::kMillisecond);

} // namespace
