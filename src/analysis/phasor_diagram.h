#pragma once
// The geometry of a phasor diagram of a solution: where every arrow of a set
// of currents or potentials goes in a view of a given size, the grid and the
// scale bar, and the head-to-tail polygon of the currents at one node
// (Kirchhoff's current law made visible). Points are view pixels with y
// downwards, as a window paints them; the real axis points right, the
// imaginary axis up, the origin is the centre of the view.

#include <vector>

#include "analysis/phasor_readouts.h"
#include "model/branch.h"
#include "model/complex.h"

namespace ohmara {

struct ViewPoint {
  double x = 0.0;
  double y = 0.0;
};

struct ViewSize {
  double width = 0.0;
  double height = 0.0;
};

// Linear: an arrow's length is its magnitude times the scale. Logarithmic:
// the direction stays, the length is 1 + log10(magnitude / smallest nonzero
// magnitude) decades, so the smallest arrow is one decade long and stays
// visible beside one a thousand times larger. A value that counts as zero
// (CountsAsZero) has no length in either mode.
enum class ArrowLength { Linear, Logarithmic };

struct PhasorArrow {
  std::string label;  // as the memos name the value; "-I23" for a current leaving a node
  Complex value;
  ViewPoint tail;
  ViewPoint tip;
  bool zero = false;  // counts as zero (kZeroMagnitudeRatio): drawn as a dot at its tail
};

struct PhasorDiagram {
  ViewPoint origin;
  ArrowLength length = ArrowLength::Linear;
  // Pixels per unit of value (A or V), the same along both axes; in the
  // logarithmic mode pixels per decade.
  double scale = 0.0;
  // The grid: a nice step in units of value, chosen so that two to five
  // steps span the longest arrow; in the logarithmic mode one decade.
  double gridStep = 0.0;
  double gridStepPixels = 0.0;
  // The scale bar: the largest nice value whose bar fits into a quarter of
  // the view's width; in the logarithmic mode a factor of 10 (one decade).
  double scaleBarValue = 0.0;
  double scaleBarPixels = 0.0;
  // Logarithmic mode: the magnitude of a one-decade arrow (0 in linear mode).
  double smallestMagnitude = 0.0;
  std::vector<PhasorArrow> arrows;
};

// Room left between the longest arrow and the view's edge for its label.
constexpr double kPhasorMargin = 24.0;

// 1, 2 or 5 times a power of ten: the smallest not below `value`, and the
// largest not above it. `value` > 0.
double NiceAtLeast(double value);
double NiceAtMost(double value);

// Every phasor as an arrow from the origin, scaled so that the longest one
// reaches `margin` pixels short of the nearer edge of the view. An empty or
// all-zero set is framed as if its longest arrow were 1.
PhasorDiagram LayOutPhasors(const std::vector<LabelledPhasor>& phasors, ViewSize view,
                            ArrowLength length = ArrowLength::Linear, double margin = kPhasorMargin);

// The currents at one node, entering positive: a branch a->b enters b and
// leaves a. Laid head to tail from the origin they close at the origin again,
// within rounding, when the currents satisfy Kirchhoff's current law.
struct NodeBalance {
  int node = 0;
  std::vector<LabelledPhasor> terms;  // "I12" entering, "-I23" leaving, in table order
  std::vector<Complex> vertices;      // 0, then the running sums of the terms
};

// `currents` in table order, positive from From to To.
NodeBalance KirchhoffAtNode(int node, const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents);

// The polygon in the view, linearly (lengths must add up head to tail): one
// arrow per term from the vertex before it, fitted like LayOutPhasors with
// the vertex farthest from the origin in place of the longest arrow.
PhasorDiagram LayOutNodeBalance(const NodeBalance& balance, ViewSize view, double margin = kPhasorMargin);

}  // namespace ohmara
