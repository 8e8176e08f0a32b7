#include "ui/printer_canvas.h"

#include <QFontMetrics>
#include <QPrinter>
#include <stdexcept>
#include <utility>

#include "ui/figure_painter.h"

namespace ohmara {

namespace {

// The report names the fonts it was designed with; these are their
// metric-compatible free versions, so text keeps the widths it was laid out for.
QFont PrinterFont(const Font& font) {
  const QString family = QString::fromStdString(font.family);
  QFont result(family);
  if (family == QStringLiteral("Times New Roman")) {
    result.setFamily(QStringLiteral("Liberation Serif"));
    result.setStyleHint(QFont::Serif);
  } else if (family == QStringLiteral("Arial")) {
    result.setFamily(QStringLiteral("Liberation Sans"));
    result.setStyleHint(QFont::SansSerif);
  }
  // Points are the printer's: the painter converts them at its resolution.
  result.setPointSize(font.points);
  return result;
}

QPoint ToQPoint(const PixelPoint& point) { return {point.x, point.y}; }

// Table rules about 0.15 mm wide: a one-dot line nearly vanishes at printer
// resolutions.
constexpr double kRuleWidthMm = 0.15;
constexpr double kMmPerInch = 25.4;

}  // namespace

PrinterCanvas::PrinterCanvas(QPrinter& printer, Tell tell) : printer_(printer), tell_(std::move(tell)) {}

PageSize PrinterCanvas::PageOf(const QPrinter& printer) { return {printer.width(), printer.height()}; }

QPainter& PrinterCanvas::Painter() {
  if (painter_.isActive()) return painter_;
  if (!painter_.begin(&printer_)) throw std::runtime_error("Не удалось начать печать на выбранном принтере.");
  QPen rule(Qt::black);
  rule.setWidthF(printer_.resolution() * kRuleWidthMm / kMmPerInch);
  painter_.setPen(rule);
  return painter_;
}

void PrinterCanvas::Text(const PixelPoint& topLeft, const Font& font, const std::string& text) {
  QPainter& painter = Painter();
  painter.setFont(PrinterFont(font));
  // The report places a text by its top-left corner; the painter by its baseline.
  const int baseline = topLeft.y + painter.fontMetrics().ascent();
  painter.drawText(QPoint(topLeft.x, baseline), QString::fromStdString(text));
}

void PrinterCanvas::Line(const PixelPoint& from, const PixelPoint& to) {
  Painter().drawLine(ToQPoint(from), ToQPoint(to));
}

void PrinterCanvas::Figure(const PixelRect& target, const VectorFigure& figure) {
  QPainter& painter = Painter();
  // The figure's lines no thinner than the table rules.
  const double thinnest = painter.pen().widthF();
  painter.save();
  PaintFigure(painter, figure, QRectF(target.left, target.top, target.right - target.left, target.bottom - target.top),
              thinnest);
  painter.restore();
}

void PrinterCanvas::NewPage() {
  Painter();
  printer_.newPage();
}

void PrinterCanvas::Message(const std::string& text) { tell_(QString::fromStdString(text)); }

}  // namespace ohmara
