#pragma once

#include "table/shotstatistics.h"
#include "table/units.h"

#include <QDockWidget>

class QLabel;

// The shooter's figures beside the table: ES, SD, CV and median over all rows, and the
// figures of the marked rows. It shows texts it is given; the main window computes them.
class ShotStatisticsPanel : public QDockWidget {
    Q_OBJECT
public:
    explicit ShotStatisticsPanel(QWidget* parent = nullptr);

    void showAll(const table::ShotStatisticsTexts& figures);
    // Empty texts clear the selection's figures.
    void showSelected(const table::ShotStatisticsTexts& figures);
    // The unit beside the velocity figures.
    void setUnits(table::Units units);

    // Value labels, heard through their captions (each caption is its value's buddy).
    QLabel* ShotsValue = nullptr;
    QLabel* MeanValue = nullptr;
    QLabel* EsValue = nullptr;
    QLabel* SdValue = nullptr;
    QLabel* SdNValue = nullptr;
    QLabel* CvValue = nullptr;
    QLabel* MedianValue = nullptr;
    // "9 of 10 shots, 1 excluded"
    QLabel* ExcludedLabel = nullptr;
    QLabel* WithoutVelocityLabel = nullptr;
    QLabel* SelectedShotsValue = nullptr;
    QLabel* SelectedMeanValue = nullptr;
    QLabel* SelectedEsValue = nullptr;
    QLabel* SelectedSdValue = nullptr;
    QLabel* SelectedSdNValue = nullptr;
    QLabel* SelectedExcludedLabel = nullptr;
    QLabel* SelectedWithoutVelocityLabel = nullptr;

signals:
    // The user closed the panel with its own button; the window closing does not close it.
    void closedByUser();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QList<QLabel*> m_unitLabels;
};
