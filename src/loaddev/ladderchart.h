#pragma once

#include "chart/chart.h"
#include "session/ladder.h"
#include "session/loadtest.h"

// The ladder chart: the variable across, velocity up in the figures' unit; every included shot
// as a dot, each string's mean with a bar of ±SD (or its lowest to highest shot, ES), the
// line through the shots with its slope and R², and the flat spots shaded. Only strings with
// a value have a place on it.
namespace loaddev {

enum class ScatterBars { StandardDeviation, ExtremeSpread };

void fillLadderChart(chart::Chart& chart, const session::LoadTest& test,
                     const session::LadderFigures& figures, ScatterBars bars);

} // namespace loaddev
