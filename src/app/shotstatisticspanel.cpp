#include "app/shotstatisticspanel.h"

#include "ui/qtext.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>

#include <algorithm>

namespace {

struct Figure {
    const char* name;
    const char* caption;
    const char* definition;
    bool velocity; // shown in the velocity unit
};

// Definitions as the help page gives them; the selection's figures are the same over the
// marked rows.
constexpr Figure kAll[] = {
    {"Shots", table::kAllRowsCaptions.shots.data(), "Rows whose velocity converts", false},
    {"Mean", table::kAllRowsCaptions.mean.data(), "Mean of the velocities", true},
    {"Es", table::kAllRowsCaptions.extremeSpread.data(),
     "Extreme spread: highest \u2212 lowest velocity", true},
    {"Sd", table::kAllRowsCaptions.standardDeviation.data(),
     "Sample standard deviation of the velocities, divided by n \u2212 1, as LabRadar, "
     "MagnetoSpeed and spreadsheets give it; one shot has none (\u2014)",
     true},
    {"SdN", table::kAllRowsCaptions.populationDeviation.data(),
     "Population standard deviation of the velocities, divided by n, as the Garmin Xero app "
     "gives it; one shot has none (\u2014)",
     true},
    {"Cv", table::kAllRowsCaptions.coefficientOfVariation.data(),
     "Coefficient of variation: SD / mean \u00D7 100 %", false},
    {"Median", table::kAllRowsCaptions.median.data(), "Median of the velocities", true},
};
constexpr Figure kSelected[] = {
    {"SelectedShots", table::kSelectionCaptions.shots.data(), "Marked rows whose velocity converts",
     false},
    {"SelectedMean", table::kSelectionCaptions.mean.data(), "Mean of the marked rows' velocities",
     true},
    {"SelectedEs", table::kSelectionCaptions.extremeSpread.data(),
     "Extreme spread of the marked rows: highest \u2212 lowest", true},
    {"SelectedSd", table::kSelectionCaptions.standardDeviation.data(),
     "Sample standard deviation of the marked rows' velocities, divided by n \u2212 1", true},
    {"SelectedSdN", table::kSelectionCaptions.populationDeviation.data(),
     "Population standard deviation of the marked rows' velocities, divided by n", true},
};

// The widest figures: every shot a table holds, velocities of four digits in ft/s (no
// chronograph records more than 2000 m/s, 6562 ft/s), a CV only mixed calibres reach.
constexpr const char* kWidestValues[] = {"65535", "8888,8", "888,88%"};

template <typename Texts> void reserveRoom(QLabel* label, const Texts& texts)
{
    int widest = 0;
    for (std::string_view text : texts)
        widest = std::max(widest, label->fontMetrics().horizontalAdvance(ui::toQString(text)));
    label->setMinimumWidth(widest);
}

QLabel* noteLabel(const char* name)
{
    auto* label = new QLabel;
    label->setObjectName(QString::fromUtf8(name));
    label->setWordWrap(true);
    return label;
}

} // namespace

ShotStatisticsPanel::ShotStatisticsPanel(QWidget* parent)
    : QDockWidget(QStringLiteral("Shot statistics"), parent)
{
    setObjectName(QStringLiteral("ShotStatisticsPanel"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);

    auto* body = new QWidget(this);
    auto* grid = new QGridLayout(body);
    grid->setColumnStretch(1, 1);
    int row = 0;
    const auto addFigures = [&](const auto& figures, QLabel** values[]) {
        for (std::size_t i = 0; i < std::size(figures); ++i) {
            const Figure& f = figures[i];
            auto* caption = new QLabel(QString::fromUtf8(f.caption));
            caption->setObjectName(QString::fromUtf8(f.name) + QStringLiteral("Caption"));
            caption->setToolTip(QString::fromUtf8(f.definition));
            auto* value = new QLabel;
            value->setObjectName(QString::fromUtf8(f.name) + QStringLiteral("Value"));
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            caption->setBuddy(value);
            *values[i] = value;
            grid->addWidget(caption, row, 0);
            grid->addWidget(value, row, 1);
            if (f.velocity) {
                auto* unit = new QLabel;
                m_unitLabels.append(unit);
                grid->addWidget(unit, row, 2);
            }
            ++row;
        }
    };
    QLabel** all[] = {&ShotsValue, &MeanValue, &EsValue,    &SdValue,
                      &SdNValue,   &CvValue,   &MedianValue};
    addFigures(kAll, all);
    ExcludedLabel = noteLabel("ExcludedLabel");
    grid->addWidget(ExcludedLabel, row++, 0, 1, 3);
    WithoutVelocityLabel = noteLabel("WithoutVelocityLabel");
    grid->addWidget(WithoutVelocityLabel, row++, 0, 1, 3);
    grid->setRowMinimumHeight(row++, 8);
    QLabel** selected[] = {&SelectedShotsValue, &SelectedMeanValue, &SelectedEsValue,
                           &SelectedSdValue, &SelectedSdNValue};
    addFigures(kSelected, selected);
    SelectedExcludedLabel = noteLabel("SelectedExcludedLabel");
    grid->addWidget(SelectedExcludedLabel, row++, 0, 1, 3);
    SelectedWithoutVelocityLabel = noteLabel("SelectedWithoutVelocityLabel");
    grid->addWidget(SelectedWithoutVelocityLabel, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    setWidget(body);
    setUnits(table::Units::Metric);

    // The panel's width is settled when the window opens, before it shows any figure: the
    // values and units get the room of the widest they can be, so none is cut later.
    for (QLabel* value : {ShotsValue, MeanValue, EsValue, SdValue, SdNValue, CvValue, MedianValue,
                          SelectedShotsValue, SelectedMeanValue, SelectedEsValue, SelectedSdValue,
                          SelectedSdNValue})
        reserveRoom(value, kWidestValues);
    const std::string_view units[] = {table::velocityUnit(table::Units::Metric),
                                      table::velocityUnit(table::Units::Imperial)};
    for (QLabel* unit : m_unitLabels)
        reserveRoom(unit, units);
}

void ShotStatisticsPanel::showAll(const table::ShotStatisticsTexts& figures)
{
    ShotsValue->setText(ui::toQString(figures.shots));
    MeanValue->setText(ui::toQString(figures.mean));
    EsValue->setText(ui::toQString(figures.extremeSpread));
    SdValue->setText(ui::toQString(figures.standardDeviation));
    SdNValue->setText(ui::toQString(figures.populationDeviation));
    CvValue->setText(ui::toQString(figures.coefficientOfVariation));
    MedianValue->setText(ui::toQString(figures.median));
    ExcludedLabel->setText(ui::toQString(figures.excluded));
    WithoutVelocityLabel->setText(ui::toQString(figures.withoutVelocity));
}

void ShotStatisticsPanel::showSelected(const table::ShotStatisticsTexts& figures)
{
    SelectedShotsValue->setText(ui::toQString(figures.shots));
    SelectedMeanValue->setText(ui::toQString(figures.mean));
    SelectedEsValue->setText(ui::toQString(figures.extremeSpread));
    SelectedSdValue->setText(ui::toQString(figures.standardDeviation));
    SelectedSdNValue->setText(ui::toQString(figures.populationDeviation));
    SelectedExcludedLabel->setText(ui::toQString(figures.excluded));
    SelectedWithoutVelocityLabel->setText(ui::toQString(figures.withoutVelocity));
}

void ShotStatisticsPanel::setUnits(table::Units units)
{
    for (QLabel* unit : m_unitLabels)
        unit->setText(ui::toQString(table::velocityUnit(units)));
}

void ShotStatisticsPanel::closeEvent(QCloseEvent* event)
{
    QDockWidget::closeEvent(event);
    if (event->isAccepted())
        emit closedByUser();
}
