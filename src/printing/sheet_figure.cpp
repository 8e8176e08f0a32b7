#include "printing/sheet_figure.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "editor/editor_error.h"
#include "editor/table_to_drawing.h"
#include "printing/text_metrics.h"

namespace ohmara {

namespace {

constexpr double kMarginPx = 10.0;
constexpr double kPi = 3.14159265358979;

using Strokes = std::vector<std::vector<FigurePoint>>;

// The symbols drawn for a horizontal branch, in the pixels of their
// pictures: the branch line runs through at `line` from the left edge to the
// right, so each symbol covers its stretch of the branch line.
struct Symbol {
  int width;
  int height;
  Strokes strokes;
};

std::vector<FigurePoint> Segment(double x1, double y1, double x2, double y2) { return {{x1, y1}, {x2, y2}}; }

// The upper half of the ellipse round (cx, cy).
std::vector<FigurePoint> UpperArc(double cx, double cy, double rx, double ry) {
  constexpr int kSteps = 12;
  std::vector<FigurePoint> points;
  for (int i = 0; i <= kSteps; ++i) {
    const double angle = kPi * i / kSteps;
    points.push_back({cx - rx * std::cos(angle), cy - ry * std::sin(angle)});
  }
  return points;
}

std::vector<FigurePoint> Circle(double cx, double cy, double r) {
  constexpr int kSteps = 32;
  std::vector<FigurePoint> points;
  for (int i = 0; i <= kSteps; ++i) {
    const double angle = 2 * kPi * i / kSteps;
    points.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
  }
  return points;
}

Symbol Resistor() {
  return {24, 17, {Segment(0, 8, 3, 8), {{3, 4}, {20, 4}, {20, 12}, {3, 12}, {3, 4}}, Segment(20, 8, 23, 8)}};
}

Symbol Inductor() {
  Symbol symbol{28, 8, {Segment(0, 7, 2, 7)}};
  for (int i = 0; i < 4; ++i) symbol.strokes.push_back(UpperArc(5 + 6 * i, 7, 3, 6));
  symbol.strokes.push_back(Segment(26, 7, 27, 7));
  return symbol;
}

Symbol Capacitor() {
  return {10, 21, {Segment(0, 10, 3, 10), Segment(6, 10, 9, 10), Segment(3, 2, 3, 18), Segment(6, 2, 6, 18)}};
}

// A circle with an arrow inside, pointing from the start terminal to the end
// one when `forward`.
Symbol Source(bool forward) {
  const double tip = forward ? 16 : 4;
  const double tail = forward ? 4 : 16;
  const double back = forward ? -3 : 3;
  return {20,
          21,
          {Circle(10, 10, 9), Segment(0, 10, 1, 10), Segment(19, 10, 19, 10), Segment(tail, 10, tip, 10),
           Segment(tip, 10, tip + back, 7), Segment(tip, 10, tip + back, 13)}};
}

// A vertical picture is its horizontal one turned a quarter clockwise.
Symbol Turned(const Symbol& horizontal) {
  Symbol turned{horizontal.height, horizontal.width, {}};
  for (const std::vector<FigurePoint>& stroke : horizontal.strokes) {
    std::vector<FigurePoint> points;
    for (const FigurePoint& p : stroke) points.push_back({horizontal.height - 1 - p.y, p.x});
    turned.strokes.push_back(std::move(points));
  }
  return turned;
}

Symbol SymbolOf(Picture picture) {
  switch (picture) {
    case Picture::ResistorHorizontal:
      return Resistor();
    case Picture::InductorHorizontal:
      return Inductor();
    case Picture::CapacitorHorizontal:
      return Capacitor();
    case Picture::SourceHorizontal:
      return Source(true);
    case Picture::SourceHorizontalReversed:
      return Source(false);
    case Picture::ResistorVertical:
      return Turned(Resistor());
    case Picture::InductorVertical:
      return Turned(Inductor());
    case Picture::CapacitorVertical:
      return Turned(Capacitor());
    case Picture::SourceVertical:
      return Turned(Source(true));
    case Picture::SourceVerticalReversed:
      return Turned(Source(false));
    case Picture::Background:
      break;
  }
  return {0, 0, {}};
}

FigurePoint PointOf(SheetPoint p) { return {static_cast<double>(p.x), static_cast<double>(p.y)}; }

// Turns the paint operations into figure items, in sheet pixels.
class SheetItems {
 public:
  SheetItems(VectorFigure& figure, const MeasureFigureText& measure) : figure_(figure), measure_(measure) {}

  void operator()(const LineOp& op) const { figure_.Add(FigureStroke{{PointOf(op.from), PointOf(op.to)}}); }
  void operator()(const CircleOp& op) const {
    const FigurePoint a = PointOf(op.topLeft), b = PointOf(op.bottomRight);
    figure_.Add(FigureEllipse{{(a.x + b.x) / 2, (a.y + b.y) / 2}, (b.x - a.x) / 2, (b.y - a.y) / 2});
  }
  void operator()(const PictureOp& op) const {
    // The picture's white ground covers the branch line under the symbol.
    const Symbol symbol = SymbolOf(op.picture);
    if (symbol.strokes.empty()) return;
    const FigurePoint at = PointOf(op.at);
    const double w = symbol.width - 1, h = symbol.height - 1;
    figure_.Add(FigureFill{{at, {at.x + w, at.y}, {at.x + w, at.y + h}, {at.x, at.y + h}}, kWhite});
    for (const std::vector<FigurePoint>& stroke : symbol.strokes) {
      FigureStroke moved;
      for (const FigurePoint& p : stroke) moved.points.push_back({at.x + p.x, at.y + p.y});
      figure_.Add(std::move(moved));
    }
  }
  void operator()(const TextOp& op) const {
    const FigureTextSize size = measure_(op.text);
    figure_.Add(FigureText{op.text, PointOf(op.at), size.width, size.height, kSheetLabelSize});
  }
  void operator()(const PolylineOp& op) const {
    FigureStroke line;
    for (const SheetPoint& p : op.points) line.points.push_back(PointOf(p));
    figure_.Add(std::move(line));
  }
  void operator()(const DotOp& op) const {
    figure_.Add(FigureEllipse{PointOf(op.centre), static_cast<double>(op.radius), static_cast<double>(op.radius),
                              kBlack, 0.0, true});
  }

 private:
  VectorFigure& figure_;
  const MeasureFigureText& measure_;
};

struct Bounds {
  double left = std::numeric_limits<double>::max();
  double top = std::numeric_limits<double>::max();
  double right = std::numeric_limits<double>::lowest();
  double bottom = std::numeric_limits<double>::lowest();

  void Add(double x, double y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
  void Add(const FigureItem& item) {
    if (const auto* s = std::get_if<FigureStroke>(&item))
      for (const FigurePoint& p : s->points) Add(p.x, p.y);
    if (const auto* f = std::get_if<FigureFill>(&item))
      for (const FigurePoint& p : f->points) Add(p.x, p.y);
    if (const auto* e = std::get_if<FigureEllipse>(&item)) {
      Add(e->centre.x - e->radiusX, e->centre.y - e->radiusY);
      Add(e->centre.x + e->radiusX, e->centre.y + e->radiusY);
    }
    if (const auto* t = std::get_if<FigureText>(&item)) {
      Add(t->topLeft.x, t->topLeft.y);
      Add(t->topLeft.x + t->boxWidth, t->topLeft.y + t->boxHeight);
    }
  }
};

void Move(FigurePoint& p, double dx, double dy) {
  p.x += dx;
  p.y += dy;
}

void Move(FigureItem& item, double dx, double dy) {
  std::visit(
      [&](auto& shape) {
        using T = std::decay_t<decltype(shape)>;
        if constexpr (std::is_same_v<T, FigureStroke> || std::is_same_v<T, FigureFill>) {
          for (FigurePoint& p : shape.points) Move(p, dx, dy);
        } else if constexpr (std::is_same_v<T, FigureEllipse>) {
          Move(shape.centre, dx, dy);
        } else {
          Move(shape.topLeft, dx, dy);
        }
      },
      item);
}

}  // namespace

VectorFigure SheetFigure(const PaintList& paint, const MeasureFigureText& measure) {
  VectorFigure figure;
  const SheetItems convert(figure, measure);
  for (const PaintOp& op : paint) std::visit(convert, op);
  if (figure.items.empty()) return figure;
  Bounds bounds;
  for (const FigureItem& item : figure.items) bounds.Add(item);
  for (FigureItem& item : figure.items) Move(item, kMarginPx - bounds.left, kMarginPx - bounds.top);
  figure.width = bounds.right - bounds.left + 2 * kMarginPx;
  figure.height = bounds.bottom - bounds.top + 2 * kMarginPx;
  return figure;
}

VectorFigure PrintedSheetFigure(const PaintList& paint) {
  return SheetFigure(paint, [](const std::string& text) { return SansTextSize(text, kSheetLabelSize, false); });
}

VectorFigure PrintedTableDrawing(const BranchTable& table) {
  try {
    return PrintedSheetFigure(NumberedTableDrawing(LayOutBranchTable(table).drawing));
  } catch (const EditorError&) {
    // A task that cannot be drawn is printed without its drawing; the table
    // beside it says what is wrong no worse than the window would.
    return {};
  }
}

PaintList NumberedTableDrawing(const SheetDrawing& drawing) {
  PaintList paint = RedrawSheet(drawing);
  std::vector<TerminalNumbers> numbers;
  for (const SheetBranch& branch : drawing.Branches()) numbers.push_back({branch.From, branch.To});
  const PaintList numbered = DrawNodeNumbers(drawing, numbers);
  paint.insert(paint.end(), numbered.begin(), numbered.end());
  return paint;
}

}  // namespace ohmara
