#include "app/shotstatisticspanel.h"

#include "ui/qtext.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>

#include <algorithm>

namespace {

using Label = QLabel* ShotStatisticsPanel::*;

struct Figure {
    const char* name;
    std::string_view caption;
    const char* definition;
    bool velocity; // shown in the velocity unit
    Label value;
    // The ranges' captions change with the confidence level.
    Label captionLabel = nullptr;
};

// Definitions as the help page gives them; the selection's figures are the same over the
// marked rows. A range's caption is "Mean 95 %" and the like until the window names its level.
constexpr Figure kAll[] = {
    {"Shots", table::kAllRowsCaptions.shots, "Rows whose velocity converts", false,
     &ShotStatisticsPanel::ShotsValue},
    {"Mean", table::kAllRowsCaptions.mean, "Mean of the velocities", true,
     &ShotStatisticsPanel::MeanValue},
    {"MeanRange", stats::kAllShotsConfidence.mean,
     "Where the load's true mean velocity lies at the confidence level of View \u203A "
     "Confidence, from Student's t: more shots narrow it.",
     true, &ShotStatisticsPanel::MeanRangeValue, &ShotStatisticsPanel::MeanRangeCaption},
    {"Es", table::kAllRowsCaptions.extremeSpread, "Extreme spread: highest \u2212 lowest velocity",
     true, &ShotStatisticsPanel::EsValue},
    {"Sd", table::kAllRowsCaptions.standardDeviation,
     "Sample standard deviation of the velocities, divided by n \u2212 1, as LabRadar, "
     "MagnetoSpeed and spreadsheets give it; one shot has none (\u2014)",
     true, &ShotStatisticsPanel::SdValue},
    {"SdRange", stats::kAllShotsConfidence.sd,
     "Where the load's true SD lies at the confidence level of View \u203A Confidence, from the "
     "chi-square distribution: from 10 shots it runs from about 0.7 to 1.8 times the SD shown.",
     true, &ShotStatisticsPanel::SdRangeValue, &ShotStatisticsPanel::SdRangeCaption},
    {"SdN", table::kAllRowsCaptions.populationDeviation,
     "Population standard deviation of the velocities, divided by n, as the Garmin Xero app "
     "gives it; one shot has none (\u2014)",
     true, &ShotStatisticsPanel::SdNValue},
    {"Cv", table::kAllRowsCaptions.coefficientOfVariation,
     "Coefficient of variation: SD / mean \u00D7 100 %", false, &ShotStatisticsPanel::CvValue},
    {"Median", table::kAllRowsCaptions.median, "Median of the velocities", true,
     &ShotStatisticsPanel::MedianValue},
};
constexpr Figure kSelected[] = {
    {"SelectedShots", table::kSelectionCaptions.shots, "Marked rows whose velocity converts", false,
     &ShotStatisticsPanel::SelectedShotsValue},
    {"SelectedMean", table::kSelectionCaptions.mean, "Mean of the marked rows' velocities", true,
     &ShotStatisticsPanel::SelectedMeanValue},
    {"SelectedMeanRange", stats::kSelectionConfidence.mean,
     "Where the true mean velocity of the marked rows' load lies at the confidence level of "
     "View \u203A Confidence.",
     true, &ShotStatisticsPanel::SelectedMeanRangeValue,
     &ShotStatisticsPanel::SelectedMeanRangeCaption},
    {"SelectedEs", table::kSelectionCaptions.extremeSpread,
     "Extreme spread of the marked rows: highest \u2212 lowest", true,
     &ShotStatisticsPanel::SelectedEsValue},
    {"SelectedSd", table::kSelectionCaptions.standardDeviation,
     "Sample standard deviation of the marked rows' velocities, divided by n \u2212 1", true,
     &ShotStatisticsPanel::SelectedSdValue},
    {"SelectedSdRange", stats::kSelectionConfidence.sd,
     "Where the true SD of the marked rows' load lies at the confidence level of View \u203A "
     "Confidence.",
     true, &ShotStatisticsPanel::SelectedSdRangeValue,
     &ShotStatisticsPanel::SelectedSdRangeCaption},
    {"SelectedSdN", table::kSelectionCaptions.populationDeviation,
     "Population standard deviation of the marked rows' velocities, divided by n", true,
     &ShotStatisticsPanel::SelectedSdNValue},
};

// The widest figures: every shot a table holds, velocities of four digits in ft/s (no
// chronograph records more than 2000 m/s, 6562 ft/s), a CV only mixed calibres reach, a range
// of such velocities and more shots needed than are searched for.
constexpr const char* kWidestValues[] = {"65535", "8888,8", "888,88%", "8888,8 \u2013 8888,8",
                                         "> 1000000"};
constexpr const char* kWidestRangeCaptions[] = {"Mean 99 %", "SD 99 %", "Selected mean 99 %",
                                                "Selected SD 99 %"};
// Far beyond 1 % of any velocity.
constexpr int kLargestTarget = 9999;

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
    const auto addFigures = [&](const auto& figures) {
        for (const Figure& f : figures) {
            auto* caption = new QLabel(ui::toQString(f.caption));
            caption->setObjectName(QString::fromUtf8(f.name) + QStringLiteral("Caption"));
            caption->setToolTip(QString::fromUtf8(f.definition));
            auto* value = new QLabel;
            value->setObjectName(QString::fromUtf8(f.name) + QStringLiteral("Value"));
            value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            value->setTextInteractionFlags(Qt::TextSelectableByMouse);
            caption->setBuddy(value);
            this->*f.value = value;
            if (f.captionLabel) {
                this->*f.captionLabel = caption;
                reserveRoom(caption, kWidestRangeCaptions);
            }
            reserveRoom(value, kWidestValues);
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
    addFigures(kAll);

    auto* target = new QHBoxLayout;
    target->setSpacing(2);
    auto* targetCaption = new QLabel(QStringLiteral("Shots for \u00B1"));
    targetCaption->setObjectName(QStringLiteral("ShotsNeededCaption"));
    targetCaption->setToolTip(
        QStringLiteral("How many shots would narrow the mean's range to \u00B1 the velocity "
                       "beside it, at the confidence level of View \u203A Confidence, if the SD "
                       "stays as it is."));
    ShotsTargetEdit = new QSpinBox;
    ShotsTargetEdit->setObjectName(QStringLiteral("ShotsTargetEdit"));
    ShotsTargetEdit->setAccessibleName(QStringLiteral("Shots for \u00B1"));
    ShotsTargetEdit->setToolTip(QStringLiteral(
        "The \u00B1 the shots needed are counted for, in the unit shown; 1 % of the mean "
        "until you change it."));
    // 0 is no target, shown as a dash while there are no figures.
    ShotsTargetEdit->setSpecialValueText(ui::toQString(stats::kNoConfidenceFigure));
    ShotsTargetEdit->setRange(0, kLargestTarget);
    ShotsTargetEdit->setKeyboardTracking(false);
    ShotsTargetEdit->setEnabled(false);
    targetCaption->setBuddy(ShotsTargetEdit);
    target->addWidget(targetCaption);
    target->addWidget(ShotsTargetEdit);
    target->addStretch(1);
    ShotsNeededValue = new QLabel;
    ShotsNeededValue->setObjectName(QStringLiteral("ShotsNeededValue"));
    ShotsNeededValue->setAccessibleName(QStringLiteral("Shots needed"));
    ShotsNeededValue->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    ShotsNeededValue->setTextInteractionFlags(Qt::TextSelectableByMouse);
    reserveRoom(ShotsNeededValue, kWidestValues);
    grid->addLayout(target, row, 0);
    grid->addWidget(ShotsNeededValue, row++, 1);

    auto* flyer = new QHBoxLayout;
    FlyerLabel = noteLabel("FlyerLabel");
    FlyerLabel->setToolTip(QStringLiteral(
        "Grubbs' test at the confidence level of View \u203A Confidence: the shot farthest from "
        "the mean lies further out than chance puts a shot of a normal string this size, which "
        "only suggests a fault; the shot counts until you exclude it."));
    ExcludeFlyerButton = new QPushButton(QStringLiteral("Exclude"));
    ExcludeFlyerButton->setObjectName(QStringLiteral("ExcludeFlyerButton"));
    ExcludeFlyerButton->setAccessibleName(QStringLiteral("Exclude the flyer"));
    ExcludeFlyerButton->setToolTip(QStringLiteral(
        "Leaves this shot out of the statistics, as Edit \u203A Exclude from Statistics does."));
    ExcludeFlyerButton->hide();
    flyer->addWidget(FlyerLabel, 1);
    flyer->addWidget(ExcludeFlyerButton, 0, Qt::AlignTop);
    grid->addLayout(flyer, row++, 0, 1, 3);

    ExcludedLabel = noteLabel("ExcludedLabel");
    grid->addWidget(ExcludedLabel, row++, 0, 1, 3);
    WithoutVelocityLabel = noteLabel("WithoutVelocityLabel");
    grid->addWidget(WithoutVelocityLabel, row++, 0, 1, 3);
    grid->setRowMinimumHeight(row++, 8);
    addFigures(kSelected);
    SelectedExcludedLabel = noteLabel("SelectedExcludedLabel");
    grid->addWidget(SelectedExcludedLabel, row++, 0, 1, 3);
    SelectedWithoutVelocityLabel = noteLabel("SelectedWithoutVelocityLabel");
    grid->addWidget(SelectedWithoutVelocityLabel, row++, 0, 1, 3);
    grid->setRowStretch(row, 1);
    setWidget(body);
    // As wide as its widest unit from the start, as the labels are.
    setUnits(table::Units::Imperial);
    ShotsTargetEdit->setMinimumWidth(ShotsTargetEdit->sizeHint().width());
    setUnits(table::Units::Metric);

    connect(ShotsTargetEdit, &QSpinBox::valueChanged, this, [this](int target) {
        if (target > 0)
            emit shotsTargetEdited(target);
    });
    connect(ExcludeFlyerButton, &QPushButton::clicked, this,
            &ShotStatisticsPanel::excludeFlyerClicked);

    // The panel's width is settled when the window opens, before it shows any figure: the
    // values, the ranges' captions, the spin box and the units get the room of the widest they
    // can be, so none is cut later.
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

void ShotStatisticsPanel::showConfidence(const stats::ConfidenceTexts& texts, int target,
                                         bool flyer)
{
    MeanRangeCaption->setText(ui::toQString(texts.meanCaption));
    MeanRangeValue->setText(ui::toQString(texts.meanRange));
    SdRangeCaption->setText(ui::toQString(texts.sdCaption));
    SdRangeValue->setText(ui::toQString(texts.sdRange));
    {
        // The window's value, not the user's edit.
        const QSignalBlocker blocker(ShotsTargetEdit);
        ShotsTargetEdit->setMinimum(target > 0 ? 1 : 0);
        ShotsTargetEdit->setValue(target);
    }
    ShotsTargetEdit->setEnabled(target > 0);
    ShotsNeededValue->setText(ui::toQString(texts.shotsNeeded));
    FlyerLabel->setText(ui::toQString(texts.flyer));
    ExcludeFlyerButton->setVisible(flyer);
}

void ShotStatisticsPanel::showSelectedConfidence(const stats::ConfidenceTexts& texts)
{
    SelectedMeanRangeCaption->setText(ui::toQString(texts.meanCaption));
    SelectedMeanRangeValue->setText(ui::toQString(texts.meanRange));
    SelectedSdRangeCaption->setText(ui::toQString(texts.sdCaption));
    SelectedSdRangeValue->setText(ui::toQString(texts.sdRange));
}

void ShotStatisticsPanel::setUnits(table::Units units)
{
    const QString unit = ui::toQString(table::velocityUnit(units));
    for (QLabel* label : m_unitLabels)
        label->setText(unit);
    ShotsTargetEdit->setSuffix(QLatin1Char(' ') + unit);
}

void ShotStatisticsPanel::closeEvent(QCloseEvent* event)
{
    QDockWidget::closeEvent(event);
    if (event->isAccepted())
        emit closedByUser();
}
