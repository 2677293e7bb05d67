#include "chart/ui/chartwidget.h"
#include "charts/chartexport.h"
#include "charts/chartpicture.h"
#include "support/wmfreader.h"

#include <gtest/gtest.h>

#include <algorithm>

// Every point while the file's estimate stays within 10 MB, else thinned as on screen. The
// vertices drawn are counted as WMF polyline and polygon points and SVG "x,y" pairs; PDF
// streams are compressed, so its bytes stand in there, a few per vertex.
TEST(VectorExport, KeepsEveryPointUnlessTheFileWouldPassTenMegabytes)
{
    enum { Wmf, Svg, Pdf };
    const struct {
        int format;
        bool view3D;
        int shots;
        bool everyPoint;
    } cases[] = {
        {Wmf, false, 65535, true}, {Wmf, true, 65535, true},   {Wmf, true, 450000, false},
        {Svg, false, 65535, true}, {Svg, true, 20000, true},   {Svg, true, 65535, false},
        {Pdf, true, 65535, true},  {Pdf, true, 450000, false},
    };
    for (const auto& c : cases) {
        chart::ChartWidget widget;
        widget.setView3D(c.view3D);
        chart::Series& s = widget.edit().addSeries("V");
        for (int i = 1; i <= c.shots; ++i)
            s.addXY(i, 280 + (i % 40) * 7919 % 40);
        const QSize size(361, 411);
        const std::string bytes =
            c.format == Wmf ? charts::wmfBytes(widget, size)
                            : charts::pictureBytes(widget, size,
                                                   c.format == Svg ? charts::PictureFormat::Svg
                                                                   : charts::PictureFormat::Pdf);
        std::size_t vertices =
            c.format == Svg ? std::count(bytes.begin(), bytes.end(), ',') : bytes.size() / 8;
        if (c.format == Wmf) {
            vertices = 0;
            for (const WmfRecord& r : readWmf(bytes).records)
                vertices += r.function == 0x0325 || r.function == 0x0324 ? r.params[0] : 0;
        }
        SCOPED_TRACE(testing::Message() << c.format << ", 3D " << c.view3D << ", " << c.shots);
        EXPECT_LE(bytes.size(), 10e6);
        if (c.everyPoint)
            EXPECT_GE(vertices, std::size_t(c.shots));
        else
            EXPECT_LT(vertices, std::size_t(c.shots / 2));
    }
}
