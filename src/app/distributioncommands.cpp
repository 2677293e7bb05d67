// The distribution chart's tab: its own context menu, since the page control's acts on the
// deviation chart.
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "ui/errorreport.h"

#include <QAction>

void TForm1::bindDistributionHandlers()
{
    const std::pair<QAction*, void (TForm1::*)()> popup[] = {{SaveToBMP4, &TForm1::SaveToBMP4Click},
                                                             {SaveasWMF4, &TForm1::SaveasWMF4Click},
                                                             {Print5, &TForm1::Print5Click}};
    for (const auto& [action, handler] : popup)
        connect(action, &QAction::triggered, this,
                ui::guarded([this, handler = handler] { (this->*handler)(); }));
}

void TForm1::SaveToBMP4Click()
{
    saveChartAsBmp(ChartDistribution);
}

void TForm1::SaveasWMF4Click()
{
    saveChartAsWmf(ChartDistribution);
}

void TForm1::Print5Click()
{
    printChart(ChartDistribution);
}
