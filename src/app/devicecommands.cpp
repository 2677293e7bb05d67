// File › Import from Device... and Import Folder..., Chart › Add Series from Folder...: the
// strings a chronograph keeps on its own drive or card, listed for the user to pick from.
#include "app/tform1.h"
#include "imports/ui/backgroundreads.h"
#include "imports/ui/devicepicker.h"
#include "ui/prompts.h"
#include "ui/qtext.h"

#include <QStringList>

#include <iterator>

namespace {

constexpr char kNoDeviceInFolder[] =
    "'%1' holds no chronograph's files: neither a LabRadar SD card's LBR folder nor a Garmin "
    "Xero's Garmin/Shot_Sessions folder.";

constexpr char kNoDevice[] =
    "No chronograph found.\n\nGarmin Xero C1: connect it with its USB cable; it shows as a "
    "drive whose Garmin/Shot_Sessions folder holds one FIT file a session.\nLabRadar: put its "
    "SD card into a card reader; the LBR folder on the card holds a folder a series.\n\nA "
    "device that the desktop shows only as a phone or media player (MTP) is no drive: choose "
    "File › Import Folder... and the folder the desktop shows for it.";

bool anyString(const std::vector<imports::DeviceListing>& listings)
{
    for (const imports::DeviceListing& listing : listings) {
        if (!listing.strings.empty())
            return true;
    }
    return false;
}

} // namespace

void TForm1::ImportFromDevice1Click()
{
    if (!mayReplaceTable())
        return;
    const std::optional<std::vector<imports::DeviceListing>> listings =
        listVolumesInBackground(this, m_volumes);
    if (!listings)
        return;
    if (listings->empty()) {
        ui::showProgramMessage(this, QString::fromUtf8(kNoDevice));
        return;
    }
    const std::optional<std::vector<std::string>> chosen = pickStrings(*listings, false);
    if (chosen && !chosen->empty())
        importFile(ui::fromLocalPath(chosen->front()));
}

void TForm1::ImportFolder1Click()
{
    if (!mayReplaceTable())
        return;
    if (const std::optional<QString> folder = ui::askFolder(this, ImportDialog1))
        importFolder(*folder);
}

void TForm1::importFolder(const QString& folder)
{
    const std::optional<std::vector<imports::DeviceListing>> listings =
        listFolderInBackground(this, folder);
    if (!listings)
        return;
    if (listings->empty()) {
        ui::showProgramMessage(this, QString::fromUtf8(kNoDeviceInFolder).arg(folder));
        return;
    }
    const std::optional<std::vector<std::string>> chosen = pickStrings(*listings, false);
    if (chosen && !chosen->empty())
        importFile(ui::fromLocalPath(chosen->front()));
}

void TForm1::AddSeriesFromFolder1Click()
{
    if (const std::optional<QString> folder = ui::askFolder(this, ImportDialog1))
        addSeries({*folder});
}

std::optional<TForm1::ListedSeries> TForm1::seriesOfFolder(const QString& folder)
{
    const std::optional<std::vector<imports::DeviceListing>> listings =
        listFolderInBackground(this, folder);
    if (!listings)
        return std::nullopt;
    if (listings->empty()) {
        ui::showProgramMessage(this, QString::fromUtf8(kNoDeviceInFolder).arg(folder));
        return ListedSeries();
    }
    const std::optional<std::vector<std::string>> chosen = pickStrings(*listings, true);
    // A folder with nothing to pick was told of; the other files dropped still come in.
    if (!chosen && !anyString(*listings))
        return ListedSeries();
    if (!chosen)
        return std::nullopt;
    ListedSeries listed;
    for (const std::string& path : *chosen) {
        std::optional<ListedSeries> more = seriesOfFile(ui::fromLocalPath(path));
        if (!more)
            return std::nullopt;
        std::move(more->begin(), more->end(), std::back_inserter(listed));
    }
    return listed;
}

std::optional<std::vector<std::string>>
TForm1::pickStrings(const std::vector<imports::DeviceListing>& listings, bool several)
{
    if (!anyString(listings)) {
        QStringList found;
        for (const imports::DeviceListing& listing : listings)
            found << QStringLiteral("%1 in '%2'")
                         .arg(ui::toQString(imports::deviceSummary(listing)),
                              ui::fromLocalPath(listing.folder.path));
        ui::showProgramMessage(this, found.join(QLatin1Char('\n')) +
                                         QStringLiteral(": nothing to import."));
        return std::nullopt;
    }
    return pickDeviceStrings(
        this, several ? QStringLiteral("Add Series") : QStringLiteral("Import"), listings, m_units,
        several ? StringPicker::Selection::Several : StringPicker::Selection::One);
}
