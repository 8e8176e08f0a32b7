#include "printing/sheet_figure.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "editor/editor_error.h"
#include "editor/element_symbols.h"
#include "editor/table_to_drawing.h"
#include "printing/text_metrics.h"

namespace ohmara {

namespace {

constexpr double kMarginPx = 10.0;

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
    const ElementSymbol symbol = SymbolOf(op.picture);
    if (symbol.strokes.empty()) return;
    const FigurePoint at = PointOf(op.at);
    const double w = symbol.width - 1, h = symbol.height - 1;
    figure_.Add(FigureFill{{at, {at.x + w, at.y}, {at.x + w, at.y + h}, {at.x, at.y + h}}, kWhite});
    for (const std::vector<SymbolPoint>& stroke : symbol.strokes) {
      FigureStroke moved;
      for (const SymbolPoint& p : stroke) moved.points.push_back({at.x + p.x, at.y + p.y});
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
