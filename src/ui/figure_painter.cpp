#include "ui/figure_painter.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <variant>

#include "ui/widget_style.h"

namespace ohmara {

namespace {

QColor ColourOf(const Colour& colour) { return QColor(colour.red, colour.green, colour.blue, colour.alpha); }

QPointF PointOf(const FigurePoint& point) { return {point.x, point.y}; }

QPolygonF PolygonOf(const std::vector<FigurePoint>& points) {
  QPolygonF polygon;
  for (const FigurePoint& point : points) polygon << PointOf(point);
  return polygon;
}

QFont FigureFont(double size, bool bold) {
  return InterfaceFont(std::max(1, static_cast<int>(std::lround(size))), bold);
}

// Replays one item in the figure's own units; `thinnest` is the thinnest
// line in those units.
class ItemPainter {
 public:
  ItemPainter(QPainter& painter, double thinnest) : painter_(painter), thinnest_(thinnest) {}

  void operator()(const FigureStroke& stroke) const {
    painter_.setPen(PenOf(stroke.colour, stroke.width, stroke.roundCaps));
    painter_.setBrush(Qt::NoBrush);
    const QPolygonF line = PolygonOf(stroke.points);
    if (stroke.closed) painter_.drawPolygon(line);
    else painter_.drawPolyline(line);
  }
  void operator()(const FigureFill& fill) const {
    painter_.setPen(Qt::NoPen);
    painter_.setBrush(ColourOf(fill.colour));
    painter_.drawPolygon(PolygonOf(fill.points));
  }
  void operator()(const FigureEllipse& ellipse) const {
    if (ellipse.filled) {
      painter_.setPen(Qt::NoPen);
      painter_.setBrush(ColourOf(ellipse.colour));
    } else {
      painter_.setPen(PenOf(ellipse.colour, ellipse.width, false));
      painter_.setBrush(Qt::NoBrush);
    }
    painter_.drawEllipse(PointOf(ellipse.centre), ellipse.radiusX, ellipse.radiusY);
  }
  void operator()(const FigureText& text) const {
    const QRectF box(PointOf(text.topLeft), QSizeF(text.boxWidth, text.boxHeight));
    if (text.background.alpha > 0) painter_.fillRect(box, ColourOf(text.background));
    painter_.setFont(FigureFont(text.size, text.bold));
    painter_.setPen(ColourOf(text.colour));
    const int align = text.centred ? Qt::AlignCenter : (Qt::AlignLeft | Qt::AlignTop);
    painter_.drawText(box, align | Qt::TextDontClip, QString::fromStdString(text.text));
  }

 private:
  QPen PenOf(const Colour& colour, double width, bool roundCaps) const {
    return QPen(ColourOf(colour), std::max(width, thinnest_), Qt::SolidLine, roundCaps ? Qt::RoundCap : Qt::SquareCap);
  }

  QPainter& painter_;
  double thinnest_;
};

}  // namespace

void PaintFigure(QPainter& painter, const VectorFigure& figure, const QRectF& target, double thinnestLine) {
  if (!(figure.width > 0) || !(figure.height > 0)) return;
  const double scale = std::min(target.width() / figure.width, target.height() / figure.height);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.translate(target.topLeft());
  painter.scale(scale, scale);
  const ItemPainter paint(painter, thinnestLine / scale);
  for (const FigureItem& item : figure.items) std::visit(paint, item);
  painter.restore();
}

FigureTextSize ScreenTextSize(const std::string& text, double size, bool bold) {
  const QSizeF box = QFontMetricsF(FigureFont(size, bold)).size(Qt::TextSingleLine, QString::fromStdString(text));
  return {box.width(), box.height()};
}

}  // namespace ohmara
