// The File menu and Delete Selected of the main window.

#include "app/tform1.h"
#include "table/currentfile.h"
#include "table/measurementfile.h"
#include "table/measurementtable.h"
#include "ui/gridview.h"
#include "ui/qtext.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>

namespace {

constexpr char kGridEmpty[] = "Measurments Grid is empty!";
constexpr char kNothingToKeep[] = "Measurments Grid is empty or you select all measurments!";

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

void TForm1::redraw()
{
    Button1->click();
}

bool TForm1::confirm(const char* text, ui::MessageButtons buttons)
{
    const ui::MessageResult answer = ui::prompts().message(
        this, QStringLiteral("New"), QString::fromUtf8(text), ui::MessageIcon::None, buttons);
    return answer == ui::MessageResult::Ok || answer == ui::MessageResult::Yes;
}

void TForm1::resetStatisticsLabels()
{
    for (QLabel* label : {VmaxLabel, VminLabel, VaLabel, EmaxLabel, EminLabel, EaLabel})
        label->setText(ui::toQString(table::kEmptyMark));
}

void TForm1::writeTableTo(const QString& path)
{
    table::writeTable(m_table, localPath(path));
}

void TForm1::New1Click()
{
    if (!table::isEmpty(m_table) &&
        confirm("Do you realy want clear all measurments?", ui::MessageButtons::OkCancel)) {
        table::clear(m_table);
        resetStatisticsLabels();
    }
    table::setCurrentFileName(std::string());
    redraw();
}

void TForm1::Open1Click()
{
    if (table::isEmpty(m_table) ||
        confirm("Do you realy want close session without saving?", ui::MessageButtons::OkCancel)) {
        if (const auto path = ui::askOpenFile(this, OpenDialog1)) {
            table::clear(m_table);
            table::setCurrentFileName(ui::toStdString(*path));
            table::readTable(m_table, localPath(*path));
            statisticsPass();
        }
    }
    redraw();
}

bool TForm1::refuseEmptyTable()
{
    if (!table::isEmpty(m_table))
        return false;
    ui::showProgramMessage(this, QString::fromUtf8(kGridEmpty));
    return true;
}

bool TForm1::saveUnderNewName()
{
    const auto path = ui::askSaveFile(this, SaveDialog1);
    if (!path)
        return false;
    table::setCurrentFileName(ui::toStdString(*path));
    writeTableTo(*path);
    return true;
}

void TForm1::Save1Click()
{
    if (refuseEmptyTable())
        return;
    if (!table::currentFileName().empty())
        writeTableTo(ui::toQString(table::currentFileName()));
    else
        saveUnderNewName();
}

void TForm1::SaveAs1Click()
{
    if (!refuseEmptyTable())
        saveUnderNewName();
}

void TForm1::SaveSelectedAs1Click()
{
    if (refuseEmptyTable())
        return;
    if (const auto path = ui::askSaveFile(this, SaveDialog1)) {
        const ui::GridSelection block = Grid->selection();
        table::writeSelection(m_table, block.top, block.bottom, localPath(*path));
    }
}

void TForm1::Exit1Click()
{
    if (!table::isEmpty(m_table) &&
        confirm("Do you want save measurments before closing application?",
                ui::MessageButtons::YesNo)) {
        if (!table::currentFileName().empty())
            writeTableTo(ui::toQString(table::currentFileName()));
        else if (!saveUnderNewName())
            return;
    }
    close();
}

void TForm1::DeleteSelected1Click()
{
    const ui::GridSelection block = Grid->selection();
    const std::size_t dataRows = m_table.rowCount() - 1;
    if (table::isEmpty(m_table) || block.bottom - block.top + 1 >= dataRows) {
        ui::showProgramMessage(this, QString::fromUtf8(kNothingToKeep));
        return;
    }
    if (!confirm("Do you realy want delete selected measurments?", ui::MessageButtons::YesNo))
        return;
    table::deleteRows(m_table, block.top, block.bottom);
    deviationPass(statisticsPass());
    redraw();
}
