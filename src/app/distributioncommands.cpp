// The distribution chart's tab: its own context menu, since the page control's acts on the
// deviation chart.
#include "app/tform1.h"
#include "chart/ui/chartwidget.h"
#include "ui/actionhandlers.h"

void TForm1::bindDistributionHandlers()
{
    const ui::ActionHandler<TForm1> popup[] = {{SaveToBMP4, &TForm1::SaveToBMP4Click},
                                               {SaveasWMF4, &TForm1::SaveasWMF4Click},
                                               {Print5, &TForm1::Print5Click}};
    ui::connectActions(this, popup);
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
