// Open and Save of a 65,535-shot session file with a note, a time and a recorded velocity on
// every shot: each must stay under 150 ms, and the file within three times the size of the
// same table's measurement file plus its notes (the counters say how far).

#include "session/sessionfile.h"
#include "support/tempdir.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>

namespace {

constexpr std::size_t kShots = session::kMaxSessionShots;

// A Xero string in ft/s as an import leaves it, with a note typed on every shot.
table::StringGrid fullTable(std::size_t& noteBytes)
{
    table::CellRows rows(table::kGridColumnCount);
    noteBytes = 0;
    for (std::size_t i = 1; i <= kShots; ++i) {
        const int fps = 2780 + static_cast<int>(i % 47);
        char time[32];
        std::snprintf(time, sizeof time, "2024-05-11T%02zu:%02zu:%02zu-05:00", 9 + i / 3600 % 12,
                      i / 60 % 60, i % 60);
        const std::string number = std::to_string(i);
        const std::string v =
            std::to_string(fps * 3048 / 10000) + "," + std::to_string(fps * 3048 / 1000 % 10);
        const std::string recorded = std::to_string(fps) + ".4 ft/s";
        const std::string note = "gust from the left, shot " + number;
        noteBytes += note.size();
        std::array<std::string_view, table::kGridColumnCount> cells{};
        cells[table::ColN] = number;
        cells[table::ColV] = v;
        cells[table::ColE] = "3932";
        cells[table::ColM] = "10,886";
        cells[table::ColBullet] = "308 Win 168 SMK";
        cells[table::ColDV] = "-0,29";
        cells[table::ColTime] = time;
        cells[table::ColFlags] = i == 1 ? "cold bore, clean bore" : i % 20 == 0 ? "flyer" : "";
        cells[table::ColNote] = note;
        cells[table::ColExcluded] = i % 20 == 0 ? table::kExcludedMark : "";
        cells[table::ColRecorded] = recorded;
        rows.appendRow(cells.data());
    }
    table::StringGrid grid = table::makeGrid();
    grid.replaceRowsFrom(1, std::move(rows));
    return grid;
}

table::StringDetails details()
{
    return {"308 Win 168 SMK", "2024-05-11T09:40:00-05:00",
            "Tikka T3x",       ".308 Win",
            "Varget",          {"44.5", "gr"},
            "CCI BR-2",        "Lapua",
            {"2.800", "in"},   {"12", "\u00B0C"},
            "Range 3",         "calm morning\nwind rising after shot 20"};
}

struct Files {
    TempDir dir;
    std::size_t noteBytes = 0;
    table::StringGrid grid = fullTable(noteBytes);
    std::string vxs = dir.file("session.vxs");

    Files() { session::writeSession(grid, details(), "", vxs); }

    void reportSizes(benchmark::State& state) const
    {
        table::writeTable(grid, dir.file("session.vxm"));
        const double vxsBytes = static_cast<double>(readBytes(vxs).size());
        const double vxmBytes = static_cast<double>(readBytes(dir.file("session.vxm")).size());
        state.counters["vxs_MB"] = vxsBytes / 1e6;
        state.counters["vxm_and_notes_MB"] = (vxmBytes + static_cast<double>(noteBytes)) / 1e6;
        state.counters["ratio"] = vxsBytes / (vxmBytes + static_cast<double>(noteBytes));
    }
};

// Read, checked, and put into the table, as the window opens it.
void OpenSession(benchmark::State& state)
{
    const Files files;
    table::StringGrid grid = table::makeGrid();
    for (auto _ : state) {
        session::LoadedSession loaded = session::readSession(files.vxs);
        table::clear(grid);
        session::putSession(grid, loaded);
    }
    if (grid.rowCount() != kShots + 1 || grid.cell(table::ColNote, kShots).empty())
        state.SkipWithError("the session did not load");
    files.reportSizes(state);
}
BENCHMARK(OpenSession)->Unit(benchmark::kMillisecond);

void SaveSession(benchmark::State& state)
{
    const Files files;
    const std::string path = files.dir.file("saved.vxs");
    for (auto _ : state)
        session::writeSession(files.grid, details(), "", path);
    files.reportSizes(state);
}
BENCHMARK(SaveSession)->Unit(benchmark::kMillisecond);

// The same table as a measurement file, for comparison.
void OpenMeasurementFile(benchmark::State& state)
{
    const Files files;
    table::writeTable(files.grid, files.dir.file("session.vxm"));
    table::StringGrid grid = table::makeGrid();
    for (auto _ : state) {
        table::clear(grid);
        table::readTable(grid, files.dir.file("session.vxm"));
    }
}
BENCHMARK(OpenMeasurementFile)->Unit(benchmark::kMillisecond);

} // namespace
