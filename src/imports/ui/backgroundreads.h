#pragma once

#include "imports/devicefolders.h"
#include "imports/importfile.h"
#include "imports/ui/volumes.h"

#include <QString>

#include <optional>
#include <vector>

class QWidget;

// The import's reading off the window's thread (ui::runInBackground): the window answers
// while a large file or a slow card is read, and Cancel stops it. Nothing when cancelled.

// Refusals are thrown as imports::readImportFile throws them.
std::optional<imports::ImportedFile> readImportInBackground(QWidget* parent, const QString& path);

// The device folders in a folder the user chose, each listed.
std::optional<std::vector<imports::DeviceListing>> listFolderInBackground(QWidget* parent,
                                                                          const QString& folder);

// The device folders at the roots of the volumes the source names, each listed.
std::optional<std::vector<imports::DeviceListing>>
listVolumesInBackground(QWidget* parent, const VolumeSource& volumes);
