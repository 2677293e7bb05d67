#pragma once

#include "session/ladder.h"
#include "session/loadtest.h"

#include <string>

namespace loaddev {

// The ladder's table for spreadsheets, as the main window's table goes (exports/csvexport.h:
// UTF-8 with a byte-order mark, CR LF, ';' between fields where the decimal separator is ','):
// the header, one row per string in the table's order, then a blank line and the line's
// figures and the comparisons, each a caption and its text.
std::string ladderCsv(const session::LoadTest& test, const session::LadderFigures& figures);

} // namespace loaddev
