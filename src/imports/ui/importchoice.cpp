#include "imports/ui/importchoice.h"

#include "imports/ui/seriesdialog.h"
#include "imports/ui/unitdialog.h"
#include "ui/prompts.h"
#include "ui/qtext.h"

QString exportsFilterEntry()
{
    return QStringLiteral("Chronograph exports (*.csv *.CSV *.txt *.TXT *.fit *.FIT)");
}

std::optional<ImportChoice> askImportChoice(QWidget* parent, const imports::ImportedFile& file,
                                            const QString& fileName)
{
    ImportChoice choice;
    if (file.series.size() > 1) {
        QList<SeriesDialog::Row> rows;
        for (const imports::ImportedSeries& s : file.series) {
            rows.append({ui::toQString(s.name), static_cast<int>(s.shots.size()),
                         s.shots.empty() ? QString() : ui::toQString(s.shots.front().velocity)});
        }
        SeriesDialog dialog(rows, parent);
        if (ui::prompts().execModal(&dialog) != QDialog::Accepted || dialog.chosen() < 0)
            return std::nullopt;
        choice.series = static_cast<std::size_t>(dialog.chosen());
    }
    // Nothing to ask for a series without shots.
    if (!file.series.empty() && !file.series[choice.series].shots.empty() &&
        file.series[choice.series].unit == imports::VelocityUnit::Unknown) {
        UnitDialog dialog(fileName, parent);
        if (ui::prompts().execModal(&dialog) != QDialog::Accepted)
            return std::nullopt;
        choice.unitForUnknown = dialog.feetPerSecond() ? imports::VelocityUnit::FeetPerSecond
                                                       : imports::VelocityUnit::MetresPerSecond;
    }
    return choice;
}
