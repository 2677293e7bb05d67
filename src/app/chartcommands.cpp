// The main window's chart commands: Redraw, the series list, the view switches and the
// charts' context menus.
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "charts/chartexport.h"
#include "charts/distribution.h"
#include "charts/importedseries.h"
#include "charts/redraw.h"
#include "imports/ui/backgroundreads.h"
#include "imports/ui/importchoice.h"
#include "session/sessionfile.h"
#include "table/currentfile.h"
#include "ui/actionhandlers.h"
#include "ui/errorreport.h"
#include "ui/prompts.h"
#include "ui/qtext.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTabWidget>

#include <iterator>

void TForm1::setUpCharts()
{
    struct Setup {
        chart::ChartWidget* chart;
        const char* title;
        bool legend;
        bool walls;
    };
    const Setup setups[] = {{ChartV, "V = f(N)", false, false},
                            {ChartE, "E = f(N)", true, true},
                            {ChartdV, "dV = f(N)", true, true}};
    for (const Setup& s : setups) {
        chart::Chart& c = s.chart->edit();
        c.title = s.title;
        c.bottomAxis.title = "N";
        c.legendVisible = s.legend;
        c.wallsVisible = s.walls;
        c.view3D = false;
    }
    charts::setAxisTitles(ChartV->edit(), ChartE->edit(), ChartdV->edit(), units());
}

void TForm1::bindChartHandlers()
{
    connect(Button1, &QPushButton::clicked, this, ui::guarded([this] { Button1Click(); }));
    connect(Redraw1, &QAction::triggered, this, ui::guarded([this] { Button1Click(); }));
    connect(Button9, &QPushButton::clicked, this, ui::guarded([this] { Button9Click(); }));
    connect(AddSeries1, &QAction::triggered, this, ui::guarded([this] { Button9Click(); }));
    connect(Button10, &QPushButton::clicked, this, ui::guarded([this] { Button10Click(); }));
    connect(DeleteSeries1, &QAction::triggered, this, ui::guarded([this] { Button10Click(); }));
    // Toggled, not clicked: the flags follow the boxes however they are changed.
    connect(CheckBox1, &QCheckBox::toggled, this, ui::guarded([this] { CheckBox1Click(); }));
    connect(CheckBox2, &QCheckBox::toggled, this, ui::guarded([this] { CheckBox2Click(); }));
    connect(CheckBox3, &QCheckBox::toggled, this, ui::guarded([this] { CheckBox3Click(); }));
    connect(FitAxesToData1, &QAction::toggled, this, ui::guarded([this] { Button1Click(); }));

    const ui::ActionHandler<TForm1> popups[] = {
        {SaveToBMP1, &TForm1::SaveToBMP1Click}, {SaveasWMF1, &TForm1::SaveasWMF1Click},
        {Print2, &TForm1::Print2Click},         {SavetoBMP2, &TForm1::SavetoBMP2Click},
        {SaveasWMF2, &TForm1::SaveasWMF2Click}, {Print3, &TForm1::Print3Click},
        {SaveToBMP3, &TForm1::SaveToBMP3Click}, {SaveasWMF3, &TForm1::SaveasWMF3Click},
        {Print4, &TForm1::Print4Click}};
    ui::connectActions(this, popups);
}

void TForm1::Button1Click()
{
    // First: a velocity the other charts stop at is no shot of the distribution.
    charts::distributionChart(ChartDistribution->edit(), m_table, units());
    ChartDistribution->setLegendVisible(CheckBox3->isChecked());
    std::vector<std::string> items;
    items.reserve(static_cast<std::size_t>(ListBox1->count()));
    for (int i = 0; i < ListBox1->count(); ++i)
        items.push_back(ListBox1->item(i)->text().toStdString());
    const charts::ViewFlags flags{CheckBox1->isChecked(), CheckBox2->isChecked(),
                                  CheckBox3->isChecked(), units(), FitAxesToData1->isChecked()};
    charts::redraw(ChartV->edit(), ChartE->edit(), ChartdV->edit(),
                   {m_table, m_externalSeries, items, table::currentFileName(), flags});
}

void TForm1::Button9Click()
{
    const QStringList paths = ui::askOpenFiles(this, OpenDialog1);
    if (!paths.isEmpty())
        addSeries(paths);
}

void TForm1::addSeries(const QStringList& paths)
{
    // All read and asked for before any is added: Cancel adds none. A file that is refused
    // is told of and passed over.
    ListedSeries added;
    for (const QString& path : paths) {
        std::optional<ListedSeries> more =
            QFileInfo(path).isDir() ? seriesOfFolder(path) : seriesOfFile(path);
        if (!more)
            return;
        std::move(more->begin(), more->end(), std::back_inserter(added));
    }
    if (added.empty())
        return;
    for (auto& [name, series] : added) {
        m_externalSeries.add(std::move(series));
        ListBox1->addItem(name);
    }
    Button1Click();
}

std::optional<TForm1::ListedSeries> TForm1::seriesOfFile(const QString& path)
{
    // A list of whole velocities also passes for a session with missing lines, so the name
    // says which reader goes first; a session under another name still comes in when no
    // export format fits.
    std::optional<charts::ExternalSeries> series;
    const QString name = QFileInfo(path).fileName();
    const bool sessionName =
        QFileInfo(path).suffix().compare(QLatin1String("vxm"), Qt::CaseInsensitive) == 0;
    if (session::isSessionFile(ui::toLocalPath(path))) {
        series = readSessionFileSeries(path);
    } else if (sessionName) {
        series = readSessionSeries(path);
    } else {
        bool notAnExport = false;
        std::optional<ListedSeries> exported = readExportSeries(path, notAnExport);
        if (!notAnExport)
            return exported;
        series = readSessionSeries(path);
    }
    ListedSeries listed;
    if (series)
        listed.emplace_back(name, std::move(*series));
    return listed;
}

std::optional<charts::ExternalSeries> TForm1::readSessionSeries(const QString& path)
{
    try {
        return charts::readExternalSeries(ui::toLocalPath(path));
    } catch (const table::NotMeasurementFile& refusal) {
        reportNotMeasurementFile(path, refusal);
        return std::nullopt;
    }
}

std::optional<charts::ExternalSeries> TForm1::readSessionFileSeries(const QString& path)
{
    try {
        return charts::sessionSeries(session::readSession(ui::toLocalPath(path)));
    } catch (const session::NotSessionFile& refusal) {
        reportNotSessionFile(path, refusal.line());
    } catch (const session::NewerSessionFile& refusal) {
        ui::showProgramMessage(this, ui::toQString(refusal.what()));
    }
    return std::nullopt;
}

std::optional<TForm1::ListedSeries> TForm1::readExportSeries(const QString& path, bool& notAnExport)
{
    const QFileInfo info(path);
    std::optional<imports::ImportedFile> file;
    try {
        file = readImportInBackground(this, path);
    } catch (const imports::UnknownFormat&) {
        notAnExport = true;
        return ListedSeries();
    } catch (const imports::ImportRefused& refusal) {
        ui::showProgramMessage(this, ui::toQString(refusal.what()));
        return ListedSeries();
    }
    if (!file)
        return std::nullopt;
    if (file->series.empty())
        return ListedSeries();
    const std::optional<ImportChoices> choices = askImportChoices(this, *file, info.fileName());
    if (!choices)
        return std::nullopt;
    ListedSeries listed;
    for (const std::size_t i : choices->series) {
        const imports::ImportedSeries& chosen = file->series.at(i);
        // An entry in the list with nothing on the charts would only puzzle.
        if (chosen.shots.empty())
            continue;
        // The charts' legend drops the item's last four characters, the extension: the
        // series' name goes before it.
        QString name = info.fileName();
        if (file->series.size() > 1) {
            name =
                QStringLiteral("%1 (%2)").arg(info.completeBaseName(), ui::toQString(chosen.name));
            if (!info.suffix().isEmpty())
                name += QLatin1Char('.') + info.suffix();
        }
        listed.emplace_back(name, charts::importedSeries(chosen, choices->unitForUnknown));
    }
    if (listed.empty())
        ui::showProgramMessage(
            this, QStringLiteral("'%1' holds a series without shots; no series is added.")
                      .arg(info.fileName()));
    return listed;
}

void TForm1::Button10Click()
{
    const QList<QListWidgetItem*> selected = ListBox1->selectedItems();
    if (ListBox1->count() == 0 || selected.isEmpty()) {
        ui::showProgramMessage(this,
                               QStringLiteral("No one series loaded or no one series selected!"));
        return;
    }
    if (ui::prompts().message(this, QStringLiteral("Series deleting..."),
                              QStringLiteral("Are you really want to delete selected series?"),
                              ui::MessageIcon::None,
                              ui::MessageButtons::OkCancel) != ui::MessageResult::Ok)
        return;
    const int row = ListBox1->row(selected.first());
    m_externalSeries.remove(static_cast<std::size_t>(row));
    delete ListBox1->takeItem(row);
    ListBox1->clearSelection();
    ListBox1->setCurrentRow(-1);
    Button1Click();
}

void TForm1::CheckBox1Click()
{
    for (chart::ChartWidget* c : {ChartV, ChartE, ChartdV})
        c->setView3D(CheckBox1->isChecked());
}

void TForm1::CheckBox2Click()
{
    charts::applyLabels(ChartV->edit(), ChartE->edit(), ChartdV->edit(), CheckBox2->isChecked());
}

void TForm1::CheckBox3Click()
{
    for (chart::ChartWidget* c : {ChartV, ChartE, ChartdV, ChartDistribution})
        c->setLegendVisible(CheckBox3->isChecked());
}

QSize TForm1::chartPictureSize(const chart::ChartWidget* chart) const
{
    // A chart on a tab that is not showing has no size of its own worth using: it is drawn
    // at the size of the page that shows.
    if (chart->isVisible())
        return chart->size();
    const QWidget* page = PageControl1->currentWidget();
    return page ? page->size() : chart->size();
}

void TForm1::saveChartAsBmp(chart::ChartWidget* chart)
{
    if (chart->seriesCount() == 0)
        return;
    if (const auto path = ui::askSaveFile(this, SaveDialog2))
        charts::saveBmp(*chart, chartPictureSize(chart), ui::toLocalPath(*path));
}

void TForm1::saveChartAsWmf(chart::ChartWidget* chart)
{
    if (chart->seriesCount() == 0)
        return;
    if (const auto path = ui::askSaveFile(this, SaveDialog3))
        charts::saveWmf(*chart, chartPictureSize(chart), ui::toLocalPath(*path));
}

void TForm1::printChart(chart::ChartWidget* chart)
{
    if (chart->seriesCount() == 0)
        return;
    charts::printOnDefaultPrinter(*chart, chartPictureSize(chart), chart->objectName());
}

void TForm1::SaveToBMP1Click()
{
    saveChartAsBmp(ChartV);
}

void TForm1::SaveasWMF1Click()
{
    saveChartAsWmf(ChartV);
}

void TForm1::Print2Click()
{
    printChart(ChartV);
}

void TForm1::SavetoBMP2Click()
{
    saveChartAsBmp(ChartE);
}

void TForm1::SaveasWMF2Click()
{
    saveChartAsWmf(ChartE);
}

void TForm1::Print3Click()
{
    printChart(ChartE);
}

void TForm1::SaveToBMP3Click()
{
    saveChartAsBmp(ChartdV);
}

void TForm1::SaveasWMF3Click()
{
    saveChartAsWmf(ChartdV);
}

void TForm1::Print4Click()
{
    printChart(ChartdV);
}
