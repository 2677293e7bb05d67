// The shot statistics panel following the selection over a full table: 65,535 rows marked
// in the real main window (offscreen), the selection's figures recomputed and shown.

#include "app/application.h"
#include "app/forms.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "support/benchwindows.h"
#include "table/measurementtable.h"
#include "ui/gridview.h"

#include <QLabel>

#include <benchmark/benchmark.h>

#include <string>

namespace {

constexpr std::size_t kRows = 65'535;

void fillTable()
{
    table::StringGrid& t = Form1->table();
    table::GridUpdate update(t);
    t.setRowCount(kRows + 1);
    for (std::size_t r = 1; r <= kRows; ++r) {
        t.setCell(table::ColN, r, std::to_string(r));
        t.setCell(table::ColV, r, std::to_string(250 + r % 80));
    }
}

void SelectionOf65535Rows(benchmark::State& state)
{
    const BenchWindows windows("vexorel-bench-panel");
    fillTable();
    Form1->deviationPass(Form1->statisticsPass());
    // Two whole-table selections in turn, so every step is a change the panel must follow.
    std::size_t top = 1;
    for (auto _ : state) {
        top = top == 1 ? 2 : 1;
        Form1->Grid->selectRows(top, kRows);
    }
    const std::string shots = Form1->ShotStatisticsDock->SelectedShotsValue->text().toStdString();
    if (shots != std::to_string(kRows - top + 1))
        state.SkipWithError("the panel did not follow the selection");
}
BENCHMARK(SelectionOf65535Rows)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace
