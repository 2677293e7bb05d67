// The main window's View menu: the shot statistics panel and the display units, and the
// preferences that remember them with the chart's fit.
#include "app/preferences.h"
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "loaddev/loaddevwindow.h"
#include "session/ui/sessiondock.h"
#include "table/shotstatistics.h"
#include "ui/errorreport.h"
#include "ui/gridmodel.h"
#include "ui/gridview.h"
#include "ui/localtime.h"
#include "ui/qtext.h"
#include "ui/weightedit.h"

#include <QAction>
#include <QActionGroup>
#include <QItemSelectionModel>
#include <QLabel>
#include <QMenu>

void TForm1::buildViewMenu(QMenu* view)
{
    // The panel's own item, so its close button unticks it too.
    ShotStatistics1 = ShotStatisticsDock->toggleViewAction();
    ShotStatistics1->setText(QStringLiteral("Shot Statistics"));
    ShotStatistics1->setObjectName(QStringLiteral("ShotStatistics1"));
    view->addAction(ShotStatistics1);
    Session1 = SessionDock1->toggleViewAction();
    Session1->setText(QStringLiteral("Session"));
    Session1->setObjectName(QStringLiteral("Session1"));
    view->addAction(Session1);
    ShotDetails1 = view->addAction(QStringLiteral("Shot Details"));
    ShotDetails1->setObjectName(QStringLiteral("ShotDetails1"));
    ShotDetails1->setCheckable(true);
    LoadDevelopment1 = view->addAction(QStringLiteral("Load Development"));
    LoadDevelopment1->setObjectName(QStringLiteral("LoadDevelopment1"));
    LoadDevelopment1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));

    QMenu* units = view->addMenu(QStringLiteral("Units"));
    units->setObjectName(QStringLiteral("Units1"));
    auto* group = new QActionGroup(units);
    Metric1 = units->addAction(QStringLiteral("Metric (m/s, J, g)"));
    Metric1->setObjectName(QStringLiteral("Metric1"));
    Imperial1 = units->addAction(QString::fromUtf8("Imperial (ft/s, ft\u00B7lbf, gr)"));
    Imperial1->setObjectName(QStringLiteral("Imperial1"));
    for (QAction* item : {Metric1, Imperial1}) {
        item->setCheckable(true);
        group->addAction(item);
    }
    Metric1->setChecked(true);

    buildConfidenceMenu(view);
}

void TForm1::bindViewHandlers()
{
    for (const auto& [item, units] :
         {std::pair{Metric1, table::Units::Metric}, std::pair{Imperial1, table::Units::Imperial}}) {
        connect(item, &QAction::triggered, this, ui::guarded([this, units = units] {
                    setUnits(units);
                    rememberPreferences();
                }));
    }
    // The user's choices only, when made: the panel's item also follows the window closing,
    // and nothing is written at exit.
    connect(ShotStatistics1, &QAction::triggered, this, [this] { rememberPreferences(); });
    // Still shown while it closes.
    connect(ShotStatisticsDock, &ShotStatisticsPanel::closedByUser, this, [this] {
        savePreferences({m_units, false, FitAxesToData1->isChecked(), m_confidence});
    });
    connect(FitAxesToData1, &QAction::triggered, this, [this] { rememberPreferences(); });
    connect(LoadDevelopment1, &QAction::triggered, this,
            ui::guarded([this] { LoadDevelopment1Click(); }));
    connect(Grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            ui::guarded([this] { updateSelectedShotStatistics(); }));
}

void TForm1::applyPreferences(const table::Preferences& preferences)
{
    ShotStatisticsDock->setVisible(preferences.shotStatisticsShown);
    // The item follows the panel's show and hide events, which a window not yet shown
    // does not send.
    ShotStatistics1->setChecked(preferences.shotStatisticsShown);
    FitAxesToData1->setChecked(preferences.fitAxes);
    (preferences.units == table::Units::Imperial ? Imperial1 : Metric1)->setChecked(true);
    checkConfidence(preferences.confidence);
    setUnits(preferences.units);
}

void TForm1::rememberPreferences() const
{
    savePreferences(
        {m_units, !ShotStatisticsDock->isHidden(), FitAxesToData1->isChecked(), m_confidence});
}

void TForm1::setUnits(table::Units units)
{
    m_units = units;
    // Stored texts stay as they are; only what the view shows converts.
    m_gridModel->setDisplayText(
        [this, units](std::size_t col, std::size_t row, std::string_view stored) {
            // Shot times in the user's own time.
            if (col == table::ColTime && row > 0)
                return ui::localTimeText(stored);
            return table::measurementCellDisplay(m_table, col, row, units);
        });
    m_gridModel->setDisplayKey([this, units] { return m_table.numbers().velocityDecimals(units); });
    widenUnitColumns();
    MaskEdit1->setUnits(units);
    Label2->setText(ui::toQString(units == table::Units::Imperial ? "gr" : "gram"));
    Label2->setAccessibleName(Label2->text());
    ShotStatisticsDock->setUnits(units);
    if (m_loadDevelopment)
        m_loadDevelopment->setUnits(units);
    showStatisticsLabels();
    updateShotStatistics();
    redraw();
}

void TForm1::widenUnitColumns()
{
    // The widths are the user's: Imperial's longer headers only ever widen a column.
    if (m_units == table::Units::Imperial)
        Grid->fitColumnsToHeaders({table::ColV, table::ColE, table::ColM});
}

void TForm1::showStatisticsLabels()
{
    if (!m_statistics)
        return;
    const table::StatisticsLabels l = table::statisticsLabels(*m_statistics, m_units);
    VmaxLabel->setText(ui::toQString(l.vMax));
    VminLabel->setText(ui::toQString(l.vMin));
    VaLabel->setText(ui::toQString(l.vMean));
    EmaxLabel->setText(ui::toQString(l.eMax));
    EminLabel->setText(ui::toQString(l.eMin));
    EaLabel->setText(ui::toQString(l.eMean));
}

void TForm1::updateShotStatistics()
{
    ShotStatisticsDock->showAll(
        table::formatShotStatistics(table::inUnits(table::shotStatistics(m_table), m_units)));
    showConfidenceFigures();
    updateSelectedShotStatistics();
}

void TForm1::updateSelectedShotStatistics()
{
    showSelectedConfidenceFigures();
    const ui::GridSelection marked = Grid->selection();
    // One row is no series: its figures would only repeat the row.
    if (marked.bottom <= marked.top || table::isEmpty(m_table)) {
        ShotStatisticsDock->showSelected({});
        return;
    }
    ShotStatisticsDock->showSelected(table::formatShotStatistics(
        table::inUnits(table::shotStatistics(m_table, marked.top, marked.bottom), m_units)));
}
