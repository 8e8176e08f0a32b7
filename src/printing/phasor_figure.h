#pragma once
// The whole picture of a phasor diagram as the diagram window shows it — the
// title, the grid and axes, the arrows of every layer in its colour, the
// labels, the scale bars — laid out as a figure of a given size in pixels.
// The window paints it on screen; the printed report paints the same figure
// scaled onto its page.

#include <functional>
#include <string>
#include <vector>

#include "analysis/phasor_diagram.h"
#include "model/branch.h"
#include "model/complex.h"
#include "printing/vector_figure.h"

namespace ohmara {

// What a result window hands to its diagram: a solution's numbers with the
// circuit they belong to.
struct SolutionPhasors {
  std::vector<CircuitBranch> branches;     // the tested circuit, for the balance at each node
  std::vector<Complex> currents;           // branch currents in table order, From -> To
  std::vector<LabelledPhasor> potentials;  // node potentials; none for a loop-current solution
  int nodeCount = 0;
};

// What the diagram shows of a solution.
struct PhasorChoice {
  int node = 0;  // 0: every branch current from the origin; k: the currents at node k head to tail
  ArrowLength length = ArrowLength::Linear;
  bool potentials = false;  // the node potentials beside the currents, on a scale of their own
};

// One kind of value laid out in the view, drawn in its own colour.
struct PhasorLayer {
  PhasorDiagram diagram;
  Colour colour;
  std::string kind;  // "токи", "потенциалы"
  std::string unit;  // "А", "В"
  bool headToTail = false;
};

// A solution's diagram as chosen in its window, with the window's title.
struct PhasorPicture {
  SolutionPhasors phasors;
  PhasorChoice choice;
  std::string title;
};

// The height of the title band above the diagram and of the scale band below it.
inline constexpr double kPhasorTitleBand = 28.0;
inline constexpr double kPhasorScaleBand = 56.0;
// The pixel size of the figure's texts, as the window's font has it.
inline constexpr double kPhasorTextSize = 13.0;

// The diagram area of a figure `width` x `height` pixels: between the bands.
ViewSize PhasorDiagramArea(double width, double height);

// The layers as drawn in `area`, currents (or the node's polygon) first;
// coordinates are those of the diagram area.
std::vector<PhasorLayer> LayOutPhasorLayers(const SolutionPhasors& phasors, const PhasorChoice& choice, ViewSize area);

// The size of a text in the figure's font, without any padding.
using MeasureFigureText = std::function<FigureTextSize(const std::string& text)>;

// The figure of `picture`, `width` x `height` pixels, on white.
VectorFigure PhasorFigure(const PhasorPicture& picture, double width, double height, const MeasureFigureText& measure);

}  // namespace ohmara
