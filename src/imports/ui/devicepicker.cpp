#include "imports/ui/devicepicker.h"

#include "runtime/numberformat.h"
#include "ui/localtime.h"
#include "ui/prompts.h"
#include "ui/qtext.h"

#include <QStringList>

QList<StringPicker::Row> deviceRows(const std::vector<imports::DeviceListing>& listings,
                                    table::Units units)
{
    QList<StringPicker::Row> rows;
    for (const imports::DeviceListing& listing : listings) {
        const QString source = ui::toQString(imports::deviceName(listing.folder.device));
        for (const imports::DeviceString& s : listing.strings) {
            StringPicker::Row row;
            row.name = ui::toQString(s.name);
            row.source = source;
            row.refusal = ui::toQString(s.refusal);
            if (s.refusal.empty()) {
                row.date = ui::toQString(ui::localTimeText(s.dateTime));
                row.shots = QString::number(s.shots);
            }
            if (s.meanMetresPerSecond) {
                const double mean = units == table::Units::Imperial
                                        ? table::feetPerSecond(*s.meanMetresPerSecond)
                                        : *s.meanMetresPerSecond;
                row.mean = ui::toQString(rt::formatFloat(mean, rt::FloatFormat::Fixed, 15, 1));
            }
            rows << row;
        }
    }
    return rows;
}

std::optional<std::vector<std::string>>
pickDeviceStrings(QWidget* parent, const QString& title,
                  const std::vector<imports::DeviceListing>& listings, table::Units units,
                  StringPicker::Selection selection)
{
    QStringList summaries;
    std::vector<const imports::DeviceString*> strings;
    for (const imports::DeviceListing& listing : listings) {
        summaries << QStringLiteral("%1 in '%2'")
                         .arg(ui::toQString(imports::deviceSummary(listing)),
                              ui::fromLocalPath(listing.folder.path));
        for (const imports::DeviceString& s : listing.strings)
            strings.push_back(&s);
    }
    StringPicker picker(title, summaries.join(QLatin1Char('\n')),
                        QStringLiteral("Mean (%1)").arg(ui::toQString(table::velocityUnit(units))),
                        deviceRows(listings, units), selection, parent);
    if (ui::prompts().execModal(&picker) != QDialog::Accepted || picker.chosen().isEmpty())
        return std::nullopt;
    std::vector<std::string> paths;
    for (const int row : picker.chosen()) {
        if (strings.at(static_cast<std::size_t>(row))->refusal.empty())
            paths.push_back(strings[static_cast<std::size_t>(row)]->path);
    }
    return paths;
}
