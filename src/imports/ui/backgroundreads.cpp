#include "imports/ui/backgroundreads.h"

#include "ui/background.h"
#include "ui/qtext.h"

#include <QFileInfo>

namespace {

using Listings = std::vector<imports::DeviceListing>;

void listInto(Listings& listings, const std::string& folder, const std::stop_token& stop)
{
    for (const imports::DeviceFolder& found : imports::findDeviceFolders(folder)) {
        if (stop.stop_requested())
            throw imports::ImportCancelled();
        listings.push_back(imports::listDeviceFolder(found, stop));
    }
}

} // namespace

std::optional<imports::ImportedFile> readImportInBackground(QWidget* parent, const QString& path)
{
    // Joined on Cancel: the reader stops within a line.
    return ui::resultInBackground<imports::ImportedFile>(
        parent, QStringLiteral("Reading '%1'...").arg(QFileInfo(path).fileName()),
        [local = ui::toLocalPath(path)](std::stop_token stop) {
            return imports::readImportFile(local, std::move(stop));
        });
}

// A chosen folder may lie on a network mount that no longer answers: the listing is left to
// end on its own after Cancel, as is the look at the volumes.
std::optional<Listings> listFolderInBackground(QWidget* parent, const QString& folder)
{
    return ui::resultInBackground<Listings>(
        parent, QStringLiteral("Reading '%1'...").arg(folder),
        [local = ui::toLocalPath(folder)](std::stop_token stop) {
            Listings listings;
            listInto(listings, local, stop);
            return listings;
        },
        ui::AfterCancel::Leave);
}

std::optional<Listings> listVolumesInBackground(QWidget* parent, const VolumeSource& volumes)
{
    return ui::resultInBackground<Listings>(
        parent, QStringLiteral("Looking for a chronograph's files on the mounted drives..."),
        [volumes](std::stop_token stop) {
            Listings listings;
            for (const std::string& root : volumes())
                listInto(listings, root, stop);
            return listings;
        },
        ui::AfterCancel::Leave);
}
