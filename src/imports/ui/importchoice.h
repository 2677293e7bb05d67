#pragma once

#include "imports/importfile.h"

#include <QString>

#include <cstddef>
#include <optional>
#include <vector>

class QWidget;

// What the user settles before a file's shots are taken: the series, when the file holds
// several, and the unit of velocities that name none.
struct ImportChoice {
    std::size_t series = 0;
    imports::VelocityUnit unitForUnknown = imports::VelocityUnit::MetresPerSecond;
};

// The file dialogs' entry for the files the import reads. The patterns come in both letter
// cases: GTK's dialogs match them by case.
QString exportsFilterEntry();

// Several series of one file, for the charts.
struct ImportChoices {
    std::vector<std::size_t> series;
    imports::VelocityUnit unitForUnknown = imports::VelocityUnit::MetresPerSecond;
};

// Asks only what the file leaves open; nothing when the user cancels.
std::optional<ImportChoice> askImportChoice(QWidget* parent, const imports::ImportedFile& file,
                                            const QString& fileName);
// The same with as many series as the user marks; the unit is asked once for all of them.
std::optional<ImportChoices> askImportChoices(QWidget* parent, const imports::ImportedFile& file,
                                              const QString& fileName);
