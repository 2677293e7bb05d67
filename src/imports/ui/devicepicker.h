#pragma once

#include "imports/devicefolders.h"
#include "imports/ui/stringpicker.h"
#include "table/units.h"

#include <QList>

#include <optional>
#include <string>
#include <vector>

class QWidget;

// The rows of the listings' strings in the picker, each listing's in its order: date in
// local time, mean in the units shown.
QList<StringPicker::Row> deviceRows(const std::vector<imports::DeviceListing>& listings,
                                    table::Units units);

// Asks which of the listings' strings to take; their files, or nothing when cancelled.
std::optional<std::vector<std::string>>
pickDeviceStrings(QWidget* parent, const QString& title,
                  const std::vector<imports::DeviceListing>& listings, table::Units units,
                  StringPicker::Selection selection);
