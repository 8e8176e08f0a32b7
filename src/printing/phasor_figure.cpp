#include "printing/phasor_figure.h"

#include <algorithm>
#include <cmath>

#include "analysis/phasor_labels.h"
#include "analysis/phasor_readouts.h"
#include "model/polar_text.h"

namespace ohmara {

namespace {

constexpr double kScaleRow = 20.0;
constexpr double kScaleBandPadding = 8.0;
constexpr double kLabelPadding = 4.0;
constexpr double kPi = 3.14159265358979;

constexpr Colour kCurrentColour{0x1f, 0x4e, 0xb4};
constexpr Colour kPotentialColour{0xc0, 0x39, 0x2b};
constexpr Colour kGridColour{0xe4, 0xe4, 0xe4};
constexpr Colour kAxisColour{0x80, 0x80, 0x80};
constexpr Colour kLabelBackground{255, 255, 255, 200};

FigurePoint Point(ViewPoint p) { return {p.x, p.y}; }
FigurePoint Shifted(FigurePoint p, double dy) { return {p.x, p.y + dy}; }

// Builds the figure with everything inside the diagram area moved down
// below the title band.
class FigureBuilder {
 public:
  FigureBuilder(VectorFigure& figure, const MeasureFigureText& measure) : figure_(figure), measure_(measure) {}

  void Line(FigurePoint from, FigurePoint to, Colour colour, double width) {
    figure_.Add(FigureStroke{{Shifted(from, dy_), Shifted(to, dy_)}, colour, width, true});
  }
  void Circle(FigurePoint centre, double radius, Colour colour, bool filled) {
    figure_.Add(FigureEllipse{Shifted(centre, dy_), radius, radius, colour, filled ? 0.0 : 1.0, filled});
  }
  void Fill(std::vector<FigurePoint> points, Colour colour) {
    for (FigurePoint& p : points) p = Shifted(p, dy_);
    figure_.Add(FigureFill{std::move(points), colour});
  }
  // A text with its top-left corner at `at`.
  void Text(const std::string& text, FigurePoint at, Colour colour) {
    const FigureTextSize size = measure_(text);
    figure_.Add(FigureText{text, Shifted(at, dy_), size.width, size.height, kPhasorTextSize, true, false, colour});
  }
  void CentredText(const std::string& text, FigurePoint centre, FigureTextSize box, Colour colour) {
    figure_.Add(FigureText{text, Shifted({centre.x - box.width / 2, centre.y - box.height / 2}, dy_), box.width,
                           box.height, kPhasorTextSize, true, true, colour, kLabelBackground});
  }
  FigureTextSize Measure(const std::string& text) const { return measure_(text); }
  void MoveDown(double dy) { dy_ = dy; }

 private:
  VectorFigure& figure_;
  const MeasureFigureText& measure_;
  double dy_ = 0.0;
};

// Lines every grid step through the origin, or circles a decade apart in
// the logarithmic mode, where only the distance from the origin means
// anything. Circles are drawn only while they stay inside the area.
void AddGrid(FigureBuilder& out, const PhasorDiagram& diagram, ViewSize area) {
  const double step = diagram.gridStepPixels;
  if (!(step >= 4.0)) return;
  const FigurePoint origin = Point(diagram.origin);
  if (diagram.length == ArrowLength::Logarithmic) {
    const double reach = std::min({origin.x, origin.y, area.width - origin.x, area.height - origin.y});
    for (double radius = step; radius <= reach; radius += step) out.Circle(origin, radius, kGridColour, false);
  } else {
    for (double x = std::fmod(origin.x, step); x <= area.width; x += step)
      out.Line({x, 0}, {x, area.height}, kGridColour, 1);
    for (double y = std::fmod(origin.y, step); y <= area.height; y += step)
      out.Line({0, y}, {area.width, y}, kGridColour, 1);
  }
  out.Line({0, origin.y}, {area.width, origin.y}, kAxisColour, 1);
  out.Line({origin.x, 0}, {origin.x, area.height}, kAxisColour, 1);
  // Below the real axis: the labels of rightward arrows stand above it.
  out.Text("+1", {area.width - 20, origin.y + 2}, kBlack);
  out.Text("+j", {origin.x + 4, 2}, kBlack);
}

FigurePoint Along(FigurePoint from, double angle, double length) {
  return {from.x + length * std::cos(angle), from.y + length * std::sin(angle)};
}

void AddArrow(FigureBuilder& out, const PhasorArrow& arrow, Colour colour) {
  const FigurePoint tail = Point(arrow.tail);
  const FigurePoint tip = Point(arrow.tip);
  if (arrow.zero) {
    out.Circle(tail, 3.0, colour, true);
    return;
  }
  const double length = std::hypot(tip.x - tail.x, tip.y - tail.y);
  if (length < 0.5) return;
  out.Line(tail, tip, colour, 2);
  const double back = std::atan2(tail.y - tip.y, tail.x - tip.x);
  const double head = std::min(11.0, length * 0.4);
  const double spread = 22.0 * kPi / 180.0;
  out.Fill({tip, Along(tip, back + spread, head), Along(tip, back - spread, head)}, colour);
}

// The labels of every layer together, so that none prints over another,
// whichever layer it belongs to.
void AddLabels(FigureBuilder& out, const std::vector<PhasorLayer>& layers) {
  std::vector<PhasorLabel> labels;
  std::vector<Colour> colours;
  for (const PhasorLayer& layer : layers)
    for (PhasorLabel& label : layer.headToTail ? SideLabels(layer.diagram) : TipLabels(layer.diagram)) {
      labels.push_back(std::move(label));
      colours.push_back(layer.colour);
    }
  std::vector<ViewSize> sizes;
  for (const PhasorLabel& label : labels) {
    const FigureTextSize size = out.Measure(label.text);
    sizes.push_back({size.width + kLabelPadding, size.height});
  }
  const std::vector<ViewPoint> centres = PlaceLabelBoxes(labels, sizes);
  for (size_t k = 0; k < labels.size(); ++k)
    out.CentredText(labels[k].text, Point(centres[k]), {sizes[k].width, sizes[k].height}, colours[k]);
}

std::string MagnitudeText(double magnitude) { return PolarMagnitudeText(magnitude); }

// The arrows drawn as dots, named: on a logarithmic scale they are no
// shortest arrow but values that count as zero.
std::string ZeroNames(const PhasorDiagram& diagram) {
  std::string names;
  for (const PhasorArrow& arrow : diagram.arrows)
    if (arrow.zero) names += (names.empty() ? "" : ", ") + arrow.label;
  return names.empty() ? names : "; ноль (точка): " + names;
}

// The grid is the first layer's; another layer's bar only gives its scale.
std::string ScaleText(const PhasorLayer& layer, bool ownsGrid) {
  const PhasorDiagram& diagram = layer.diagram;
  if (diagram.length == ArrowLength::Logarithmic)
    return layer.kind + ": ×10 на отрезок; самая короткая стрелка " + MagnitudeText(diagram.smallestMagnitude) + " " +
           layer.unit + ZeroNames(diagram);
  const std::string bar = layer.kind + ": " + MagnitudeText(diagram.scaleBarValue) + " " + layer.unit;
  if (!ownsGrid) return bar;
  return bar + "; клетка сетки " + MagnitudeText(diagram.gridStep) + " " + layer.unit;
}

// Drops whole characters from the end of `text`, putting "…" in their place,
// until it is no wider than `room`.
std::string Elided(const FigureBuilder& out, const std::string& text, double room) {
  if (out.Measure(text).width <= room) return text;
  std::string cut = text;
  while (!cut.empty()) {
    while (!cut.empty() && (static_cast<unsigned char>(cut.back()) & 0xC0) == 0x80) cut.pop_back();
    if (!cut.empty()) cut.pop_back();
    if (out.Measure(cut + "…").width <= room) break;
  }
  return cut + "…";
}

void AddScaleBar(FigureBuilder& out, const PhasorLayer& layer, bool ownsGrid, FigurePoint start, double width) {
  const FigurePoint end{start.x + layer.diagram.scaleBarPixels, start.y};
  out.Line(start, end, layer.colour, 2);
  out.Line({start.x, start.y - 4}, {start.x, start.y + 4}, layer.colour, 2);
  out.Line({end.x, end.y - 4}, {end.x, end.y + 4}, layer.colour, 2);
  const double left = end.x + 8;
  const std::string caption = Elided(out, ScaleText(layer, ownsGrid), std::max(0.0, width - left - 4));
  out.Text(caption, {left, start.y - out.Measure(caption).height / 2}, layer.colour);
}

}  // namespace

ViewSize PhasorDiagramArea(double width, double height) {
  return {width, std::max(0.0, height - kPhasorTitleBand - kPhasorScaleBand)};
}

std::vector<PhasorLayer> LayOutPhasorLayers(const SolutionPhasors& phasors, const PhasorChoice& choice, ViewSize area) {
  if (choice.node > 0) {
    const NodeBalance balance = KirchhoffAtNode(choice.node, phasors.branches, phasors.currents);
    return {{LayOutNodeBalance(balance, area), kCurrentColour, "токи", "А", true}};
  }
  std::vector<PhasorLayer> layers = {
      {LayOutPhasors(BranchCurrentPhasors(phasors.branches, phasors.currents), area, choice.length), kCurrentColour,
       "токи", "А", false}};
  if (choice.potentials && !phasors.potentials.empty())
    layers.push_back(
        {LayOutPhasors(phasors.potentials, area, choice.length), kPotentialColour, "потенциалы", "В", false});
  return layers;
}

VectorFigure PhasorFigure(const PhasorPicture& picture, double width, double height, const MeasureFigureText& measure) {
  VectorFigure figure{width, height, {}};
  FigureBuilder out(figure, measure);
  out.Text(picture.title, {8, (kPhasorTitleBand - measure(picture.title).height) / 2}, kBlack);
  const ViewSize area = PhasorDiagramArea(width, height);
  const std::vector<PhasorLayer> layers = LayOutPhasorLayers(picture.phasors, picture.choice, area);
  out.MoveDown(kPhasorTitleBand);
  AddGrid(out, layers.front().diagram, area);
  for (const PhasorLayer& layer : layers)
    for (const PhasorArrow& arrow : layer.diagram.arrows) AddArrow(out, arrow, layer.colour);
  AddLabels(out, layers);
  out.MoveDown(0);
  double row = kPhasorTitleBand + area.height + kScaleBandPadding + kScaleRow / 2.0;
  for (size_t k = 0; k < layers.size(); ++k) {
    AddScaleBar(out, layers[k], k == 0, {12, row}, width);
    row += kScaleRow;
  }
  return figure;
}

}  // namespace ohmara
