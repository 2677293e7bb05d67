#pragma once

#include <QFont>
#include <QPageSize>
#include <QString>

#include <functional>
#include <string>

class QPagedPaintDevice;
class QPainter;
class QRectF;

// What the program's reports share: the margins, the font, texts cut to their box and the PDF
// document around the pages.
namespace exports {

inline constexpr double kReportMarginMm = 15;

// Arial at a size in the reports' pixels (96 an inch).
QFont reportFont(int pixels, bool bold = false);

// The text in the box, centred on its height and cut with "…" where it does not fit.
void paintText(QPainter& painter, const QRectF& box, const QString& text, Qt::Alignment align);

// A PDF of the pages `paint` paints on the paper with the reports' margins.
std::string reportPdfDocument(const QString& title, const QPageSize& paper,
                              const std::function<void(QPagedPaintDevice&)>& paint);

} // namespace exports
