#include "imports/ui/importchoice.h"

#include "imports/ui/seriesdialog.h"
#include "imports/ui/unitdialog.h"
#include "ui/prompts.h"
#include "ui/qtext.h"

#include <algorithm>

QString exportsFilterEntry()
{
    return QStringLiteral("Chronograph exports (*.csv *.CSV *.txt *.TXT *.fit *.FIT)");
}

namespace {

std::optional<ImportChoices> ask(QWidget* parent, const imports::ImportedFile& file,
                                 const QString& fileName, bool several)
{
    ImportChoices choices;
    if (file.series.size() > 1) {
        QList<SeriesDialog::Row> rows;
        for (const imports::ImportedSeries& s : file.series) {
            rows.append({ui::toQString(s.name), static_cast<int>(s.shots.size()),
                         s.shots.empty() ? QString() : ui::toQString(s.shots.front().velocity)});
        }
        SeriesDialog dialog(rows, several, parent);
        if (ui::prompts().execModal(&dialog) != QDialog::Accepted || dialog.chosenRows().isEmpty())
            return std::nullopt;
        for (const int row : dialog.chosenRows())
            choices.series.push_back(static_cast<std::size_t>(row));
    } else {
        choices.series.push_back(0);
    }
    // Nothing to ask for a series without shots.
    const bool unitUnknown =
        std::any_of(choices.series.begin(), choices.series.end(), [&](std::size_t i) {
            return i < file.series.size() && !file.series[i].shots.empty() &&
                   file.series[i].unit == imports::VelocityUnit::Unknown;
        });
    if (unitUnknown) {
        UnitDialog dialog(fileName, parent);
        if (ui::prompts().execModal(&dialog) != QDialog::Accepted)
            return std::nullopt;
        choices.unitForUnknown = dialog.feetPerSecond() ? imports::VelocityUnit::FeetPerSecond
                                                        : imports::VelocityUnit::MetresPerSecond;
    }
    return choices;
}

} // namespace

std::optional<ImportChoice> askImportChoice(QWidget* parent, const imports::ImportedFile& file,
                                            const QString& fileName)
{
    const std::optional<ImportChoices> choices = ask(parent, file, fileName, false);
    if (!choices)
        return std::nullopt;
    return ImportChoice{choices->series.front(), choices->unitForUnknown};
}

std::optional<ImportChoices> askImportChoices(QWidget* parent, const imports::ImportedFile& file,
                                              const QString& fileName)
{
    return ask(parent, file, fileName, true);
}
