// The main window's confidence figures: View › Confidence, the panel's ranges, shots needed and
// flyer test, and the flyer's exclusion.
#include "app/shotstatisticspanel.h"
#include "app/tform1.h"
#include "exports/shotconfidence.h"
#include "loaddev/loaddevwindow.h"
#include "table/shotstatistics.h"
#include "ui/errorreport.h"
#include "ui/gridview.h"
#include "ui/qtext.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include <cmath>

namespace {

using exports::confidenceOver;
using Confidence = exports::ShotConfidence;

// An empty table shows no figure, only what they would be: "Mean 95 %".
stats::ConfidenceTexts captionsOnly(const stats::ConfidenceTexts& t)
{
    stats::ConfidenceTexts captions;
    captions.meanCaption = t.meanCaption;
    captions.sdCaption = t.sdCaption;
    return captions;
}

} // namespace

void TForm1::buildConfidenceMenu(QMenu* view)
{
    QMenu* menu = view->addMenu(QStringLiteral("Confidence"));
    menu->setObjectName(QStringLiteral("Confidence1"));
    auto* group = new QActionGroup(menu);
    QAction** items[] = {&Confidence90, &Confidence95, &Confidence99};
    for (std::size_t i = 0; i < std::size(items); ++i) {
        const int percent = table::kConfidenceLevels[i];
        QAction* item = menu->addAction(ui::toQString(stats::levelText(percent / 100.0)));
        item->setObjectName(QStringLiteral("Confidence%1").arg(percent));
        item->setCheckable(true);
        item->setData(percent);
        group->addAction(item);
        *items[i] = item;
    }
    checkConfidence(table::kDefaultConfidence);
}

void TForm1::bindConfidenceHandlers()
{
    for (QAction* item : {Confidence90, Confidence95, Confidence99}) {
        connect(item, &QAction::triggered, this, ui::guarded([this, item] {
                    m_confidence = item->data().toInt();
                    rememberPreferences();
                    updateShotStatistics();
                    // The load test's ranges and comparisons follow the level too.
                    if (m_loadDevelopment)
                        m_loadDevelopment->setConfidenceLevel(m_confidence / 100.0);
                }));
    }
    connect(ShotStatisticsDock, &ShotStatisticsPanel::shotsTargetEdited, this, [this](int target) {
        m_shotsTarget = {target, m_units};
        ui::guarded([this] { showConfidenceFigures(); })();
    });
    connect(ShotStatisticsDock, &ShotStatisticsPanel::excludeFlyerClicked, this,
            ui::guarded([this] { ExcludeFlyerClick(); }));
}

void TForm1::checkConfidence(int percent)
{
    m_confidence = table::kDefaultConfidence;
    for (QAction* item : {Confidence90, Confidence95, Confidence99}) {
        if (item->data().toInt() == percent)
            m_confidence = percent;
    }
    for (QAction* item : {Confidence90, Confidence95, Confidence99})
        item->setChecked(item->data().toInt() == m_confidence);
}

void TForm1::showConfidenceFigures()
{
    if (table::isEmpty(m_table)) {
        m_shotsTarget.reset();
        const Confidence c =
            confidenceOver(m_table, 1, 0, m_units, m_confidence, stats::kAllShotsConfidence);
        ShotStatisticsDock->showConfidence(captionsOnly(c.texts), 0, false);
        return;
    }
    // A target set in other units would mean another speed.
    if (m_shotsTarget && m_shotsTarget->second != m_units)
        m_shotsTarget.reset();
    std::optional<double> target;
    if (m_shotsTarget)
        target = m_shotsTarget->first;
    const Confidence c = confidenceOver(m_table, 1, m_table.rowCount() - 1, m_units, m_confidence,
                                        stats::kAllShotsConfidence, target);
    // A string too short for the figures starts over with the next shots.
    if (!c.figures.mean)
        m_shotsTarget.reset();
    const int shown = c.figures.mean ? static_cast<int>(std::lround(c.figures.target)) : 0;
    ShotStatisticsDock->showConfidence(c.texts, shown, c.flyerRow.has_value());
}

void TForm1::showSelectedConfidenceFigures()
{
    const ui::GridSelection marked = Grid->selection();
    // As the selection's other figures: none for one row.
    if (marked.bottom <= marked.top || table::isEmpty(m_table)) {
        const Confidence c =
            confidenceOver(m_table, 1, 0, m_units, m_confidence, stats::kSelectionConfidence);
        ShotStatisticsDock->showSelectedConfidence(captionsOnly(c.texts));
        return;
    }
    ShotStatisticsDock->showSelectedConfidence(confidenceOver(m_table, marked.top, marked.bottom,
                                                              m_units, m_confidence,
                                                              stats::kSelectionConfidence)
                                                   .texts);
}

void TForm1::ExcludeFlyerClick()
{
    if (table::isEmpty(m_table))
        return;
    // Found again: the button acts on the string as it is now.
    const Confidence c = confidenceOver(m_table, 1, m_table.rowCount() - 1, m_units, m_confidence,
                                        stats::kAllShotsConfidence);
    if (c.flyerRow)
        setExcluded(*c.flyerRow, *c.flyerRow, true);
}
