#include "editor/element_symbols.h"

#include <cmath>

namespace ohmara {

namespace {

constexpr double kPi = 3.14159265358979;

std::vector<SymbolPoint> Segment(double x1, double y1, double x2, double y2) { return {{x1, y1}, {x2, y2}}; }

// The upper half of the ellipse round (cx, cy).
std::vector<SymbolPoint> UpperArc(double cx, double cy, double rx, double ry) {
  constexpr int kSteps = 12;
  std::vector<SymbolPoint> points;
  for (int i = 0; i <= kSteps; ++i) {
    const double angle = kPi * i / kSteps;
    points.push_back({cx - rx * std::cos(angle), cy - ry * std::sin(angle)});
  }
  return points;
}

std::vector<SymbolPoint> Circle(double cx, double cy, double r) {
  constexpr int kSteps = 32;
  std::vector<SymbolPoint> points;
  for (int i = 0; i <= kSteps; ++i) {
    const double angle = 2 * kPi * i / kSteps;
    points.push_back({cx + r * std::cos(angle), cy + r * std::sin(angle)});
  }
  return points;
}

ElementSymbol Resistor() {
  return {24, 17, {Segment(0, 8, 3, 8), {{3, 4}, {20, 4}, {20, 12}, {3, 12}, {3, 4}}, Segment(20, 8, 23, 8)}};
}

ElementSymbol Inductor() {
  ElementSymbol symbol{28, 8, {Segment(0, 7, 2, 7)}};
  for (int i = 0; i < 4; ++i) symbol.strokes.push_back(UpperArc(5 + 6 * i, 7, 3, 6));
  symbol.strokes.push_back(Segment(26, 7, 27, 7));
  return symbol;
}

ElementSymbol Capacitor() {
  return {10, 21, {Segment(0, 10, 3, 10), Segment(6, 10, 9, 10), Segment(3, 2, 3, 18), Segment(6, 2, 6, 18)}};
}

// A circle with an arrow inside, pointing from the start terminal to the end
// one when `forward` (the direction a positive EMF drives).
ElementSymbol Source(bool forward) {
  const double tip = forward ? 16 : 4;
  const double tail = forward ? 4 : 16;
  const double back = forward ? -3 : 3;
  return {20,
          21,
          {Circle(10, 10, 9), Segment(0, 10, 1, 10), Segment(19, 10, 19, 10), Segment(tail, 10, tip, 10),
           Segment(tip, 10, tip + back, 7), Segment(tip, 10, tip + back, 13)}};
}

ElementSymbol Turned(const ElementSymbol& horizontal) {
  ElementSymbol turned{horizontal.height, horizontal.width, {}};
  for (const std::vector<SymbolPoint>& stroke : horizontal.strokes) {
    std::vector<SymbolPoint> points;
    for (const SymbolPoint& p : stroke) points.push_back({horizontal.height - 1 - p.y, p.x});
    turned.strokes.push_back(std::move(points));
  }
  return turned;
}

}  // namespace

ElementSymbol SymbolOf(Picture picture) {
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
  return {};
}

}  // namespace ohmara
