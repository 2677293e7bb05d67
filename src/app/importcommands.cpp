// File › Import: a chronograph's export replaces the table, as Open does with a session.
#include "app/bulletnamesmodel.h"
#include "app/tform1.h"
#include "imports/importfile.h"
#include "imports/ui/backgroundreads.h"
#include "imports/ui/importchoice.h"
#include "imports/ui/weightdialog.h"
#include "table/currentfile.h"
#include "ui/prompts.h"
#include "ui/qtext.h"

#include <QComboBox>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr char kEmptySeries[] = "'%1' holds a series without shots; the table is empty.";

} // namespace

void TForm1::Import1Click()
{
    if (!mayReplaceTable()) {
        redraw();
        return;
    }
    const std::optional<QString> path = ui::askOpenFile(this, ImportDialog1);
    if (!path) {
        redraw();
        return;
    }
    importFile(*path);
}

bool TForm1::mayReplaceTable()
{
    return table::isEmpty(m_table) ||
           confirm("Do you realy want close session without saving?", ui::MessageButtons::OkCancel);
}

void TForm1::importFile(const QString& path)
{
    // Read and settle everything before the table changes: a refused file or a cancelled
    // question leaves the session as it was.
    const std::optional<imports::ImportedFile> file = readImport(path);
    if (!file)
        return;
    const QString name = QFileInfo(path).fileName();
    const std::optional<ImportChoice> choice = askImportChoice(this, *file, name);
    if (!choice)
        return;
    const imports::ImportedSeries& series = file->series.at(choice->series);
    // A weight the file does not give is the user's to give, never the weight field's.
    std::string weight;
    if (!series.weightGrams && !series.shots.empty()) {
        const std::optional<std::string> asked = askImportWeight(name);
        if (!asked)
            return;
        weight = *asked;
    }

    table::clear(m_table);
    resetStatisticsLabels();
    table::setCurrentFileName(std::string());
    imports::putSeries(m_table, series, choice->unitForUnknown, weight,
                       ui::toStdString(QFileInfo(path).completeBaseName()));
    setStringDetails(series.details);
    table::setUnsavedChanges(true);
    if (table::isEmpty(m_table)) {
        updateShotStatistics();
        ui::showProgramMessage(this, QString::fromUtf8(kEmptySeries).arg(name));
    } else {
        deviationPass(statisticsPass());
    }
    redraw();
}

std::optional<imports::ImportedFile> TForm1::readImport(const QString& path)
{
    try {
        return readImportInBackground(this, path);
    } catch (const imports::ImportRefused& refusal) {
        ui::showProgramMessage(this, ui::toQString(refusal.what()));
        return std::nullopt;
    }
}

std::optional<std::string> TForm1::askImportWeight(const QString& fileName)
{
    WeightDialog dialog(
        fileName, m_bulletNames, ComboBox1->currentIndex(),
        [this](int row) { return m_bullets.entry(static_cast<std::size_t>(row) + 1).weight; },
        m_units, this);
    if (ui::prompts().execModal(&dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.grams();
}
