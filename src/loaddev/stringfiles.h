#pragma once

#include "table/measurementtable.h"
#include "table/stringdetails.h"
#include "table/stringgrid.h"

#include <QString>

#include <optional>
#include <string>

class QWidget;

namespace loaddev {

// A string as a file gives it, before it joins a load test.
struct StringFromFile {
    table::StringGrid grid = table::makeGrid();
    // A string without a title of its own is named by the file.
    table::StringDetails details;
    std::string kept;
};

// Reads a session file, a measurement file or any chronograph export the import reads (FIT
// files too), each by the reader the main window's Add Series would use. An export's
// questions are asked as there: which series, which unit for bare velocities; none for a
// weight (energies stay "####"). Nothing once a refusal was shown or a question cancelled;
// input/output errors are thrown.
std::optional<StringFromFile> readStringFile(QWidget* parent, const QString& path);

} // namespace loaddev
