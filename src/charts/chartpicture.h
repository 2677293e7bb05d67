#pragma once

#include <QSize>
#include <QString>

#include <string>

namespace chart {
class ChartWidget;
}

// A chart as a picture to share: PNG for forums, SVG and PDF for documents. Each is drawn by
// the chart's one routine at the given (on-screen) size.
namespace charts {

enum class PictureFormat { Png, Svg, Pdf };

// By the file's extension when it names one of the three (any letter case), else by the
// dialog's chosen filter ("SVG drawing (*.svg)"), else PNG.
PictureFormat pictureFormatFor(const QString& path, const QString& chosenFilter);

// PNG: twice the pixels at device pixel ratio 2, so text and lines stay sharp on fine screens
// and when printed, with the matching resolution (192 dpi) recorded. SVG: the size in
// pixels, text as text. PDF: one page of the chart's size at 96 dpi, scaled as a printout.
std::string pictureBytes(const chart::ChartWidget& chart, QSize size, PictureFormat format);

// Through a temporary file; a failure raises "Cannot create file <path>".
void savePicture(const chart::ChartWidget& chart, QSize size, PictureFormat format,
                 const std::string& path);

} // namespace charts
