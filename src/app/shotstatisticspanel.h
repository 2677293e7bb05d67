#pragma once

#include "stats/confidencetexts.h"
#include "table/shotstatistics.h"
#include "table/units.h"

#include <QDockWidget>

class QLabel;
class QPushButton;
class QSpinBox;

// The shooter's figures beside the table: ES, SD, CV and median over all rows, how sure the
// mean and SD are, and the figures of the marked rows. It shows texts it is given; the main
// window computes them.
class ShotStatisticsPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ShotStatisticsPanel(QWidget* parent = nullptr);

    void showAll(const table::ShotStatisticsTexts& figures);
    // Empty texts clear the selection's figures.
    void showSelected(const table::ShotStatisticsTexts& figures);
    // The ranges, the shots needed and the flyer line over all rows; empty texts clear them.
    // target: the ± in the spin box, 0 while there are no figures. flyer: whether the line
    // names a shot, which the button then excludes.
    void showConfidence(const stats::ConfidenceTexts& texts, int target, bool flyer);
    void showSelectedConfidence(const stats::ConfidenceTexts& texts);
    // The unit beside the velocity figures.
    void setUnits(table::Units units);

    // Value labels, heard through their captions (each caption is its value's buddy).
    QLabel* ShotsValue = nullptr;
    QLabel* MeanValue = nullptr;
    QLabel* MeanRangeValue = nullptr;
    QLabel* EsValue = nullptr;
    QLabel* SdValue = nullptr;
    QLabel* SdRangeValue = nullptr;
    QLabel* SdNValue = nullptr;
    QLabel* CvValue = nullptr;
    QLabel* MedianValue = nullptr;
    // "Shots for ±" [9 m/s] 12
    QSpinBox* ShotsTargetEdit = nullptr;
    QLabel* ShotsNeededValue = nullptr;
    // "Shot 7 may be a flyer (Grubbs, 95 %)" [Exclude]
    QLabel* FlyerLabel = nullptr;
    QPushButton* ExcludeFlyerButton = nullptr;
    // "9 of 10 shots, 1 excluded"
    QLabel* ExcludedLabel = nullptr;
    QLabel* WithoutVelocityLabel = nullptr;
    QLabel* SelectedShotsValue = nullptr;
    QLabel* SelectedMeanValue = nullptr;
    QLabel* SelectedMeanRangeValue = nullptr;
    QLabel* SelectedEsValue = nullptr;
    QLabel* SelectedSdValue = nullptr;
    QLabel* SelectedSdRangeValue = nullptr;
    QLabel* SelectedSdNValue = nullptr;
    QLabel* SelectedExcludedLabel = nullptr;
    QLabel* SelectedWithoutVelocityLabel = nullptr;
    // Their captions name the confidence level: "Mean 95 %".
    QLabel* MeanRangeCaption = nullptr;
    QLabel* SdRangeCaption = nullptr;
    QLabel* SelectedMeanRangeCaption = nullptr;
    QLabel* SelectedSdRangeCaption = nullptr;

signals:
    // The user closed the panel with its own button; the window closing does not close it.
    void closedByUser();
    // The user set the ± of the shots needed (in the unit shown).
    void shotsTargetEdited(int target);
    void excludeFlyerClicked();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QList<QLabel*> m_unitLabels;
};
