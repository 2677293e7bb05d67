// File › Import of a 10,000-shot export of each format through the real main window
// (offscreen, shown): reading, the table, statistics, deviations, the redrawn charts and the
// window painted once.

#include "app/forms.h"
#include "app/tform1.h"
#include "support/benchwindows.h"
#include "support/exportfiles.h"

#include <QAction>
#include <QCoreApplication>
#include <QDialog>

#include <benchmark/benchmark.h>

#include <fstream>

namespace {

// The import's questions (a file's series, a bare list's unit) answered with their defaults.
class AcceptingPrompter : public AnsweringPrompter {
public:
    int execModal(QDialog*) override { return QDialog::Accepted; }
};

void ImportOf10000Shots(benchmark::State& state, std::string (*make)())
{
    BenchWindows windows("vexorel-bench-import");
    AcceptingPrompter prompter;
    ui::setPrompter(&prompter);
    prompter.path = QString::fromStdString(windows.dir() + "/export.csv");
    {
        std::ofstream(windows.dir() + "/export.csv", std::ios::binary) << make();
    }
    Form1->show();
    QCoreApplication::processEvents();
    for (auto _ : state) {
        Form1->Import1->trigger();
        QCoreApplication::processEvents();
    }
    if (Form1->table().rowCount() != exportfiles::kShots + 1)
        state.SkipWithError("the export did not come in whole");
    ui::setPrompter(&windows.prompter);
}

std::string magnetoSpeedLog()
{
    return exportfiles::magnetoSpeedLog(1);
}

BENCHMARK_CAPTURE(ImportOf10000Shots, LabRadar, exportfiles::labRadarReport)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportOf10000Shots, GarminXero, exportfiles::garminXero)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportOf10000Shots, MagnetoSpeed, magnetoSpeedLog)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ImportOf10000Shots, PlainList, exportfiles::plainList)
    ->Unit(benchmark::kMillisecond);

} // namespace
