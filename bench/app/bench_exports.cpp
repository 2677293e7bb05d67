// The exports through the real main window (offscreen): a full table of 65,535 shots to CSV,
// and the report of 1,000 shots as a PDF, each from the menu command to the file on disk.

#include "app/application.h"
#include "app/forms.h"
#include "app/tform1.h"
#include "support/benchwindows.h"
#include "table/measurementtable.h"

#include <QAction>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace {

void fillTable(std::size_t rows)
{
    table::StringGrid& t = Form1->table();
    {
        table::GridUpdate update(t);
        t.setRowCount(rows + 1);
        for (std::size_t r = 1; r <= rows; ++r) {
            t.setCell(table::ColN, r, std::to_string(r));
            t.setCell(table::ColV, r, std::to_string(250 + r % 80));
            t.setCell(table::ColM, r, "0,547");
            t.setCell(table::ColBullet, r, "JSB Exact");
            Form1->applyEnergyRule(r, "0,547");
        }
    }
    Form1->deviationPass(Form1->statisticsPass());
    Form1->Button1->click();
}

void run(benchmark::State& state, const char* dirName, std::size_t rows, const char* file,
         QAction* TForm1::*command)
{
    BenchWindows windows(dirName);
    fillTable(rows);
    windows.prompter.path = QString::fromStdString(windows.dir() + "/" + file);
    for (auto _ : state)
        (Form1->*command)->trigger();
    const auto size = std::filesystem::file_size(windows.prompter.path.toStdString());
    state.counters["bytes"] = static_cast<double>(size);
}

void CsvOf65535Rows(benchmark::State& state)
{
    run(state, "vexorel-bench-csv", 65'535, "table.csv", &TForm1::ExportTableAsCsv1);
}
BENCHMARK(CsvOf65535Rows)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ReportPdfOf1000Shots(benchmark::State& state)
{
    run(state, "vexorel-bench-report", 1'000, "report.pdf", &TForm1::ExportReportAsPdf1);
}
BENCHMARK(ReportPdfOf1000Shots)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
