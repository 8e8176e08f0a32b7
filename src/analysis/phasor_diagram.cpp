#include "analysis/phasor_diagram.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "analysis/branch_impedances.h"

namespace ohmara {

namespace {

double Magnitude(Complex z) { return std::hypot(z.re, z.im); }

// m·10^e, divided rather than multiplied for negative e so that 0.2 and
// 0.005 come out as the doubles nearest to them.
double Decimal(double m, int e) {
  const double power = std::pow(10.0, std::abs(e));
  return e >= 0 ? m * power : m / power;
}

int DecimalExponent(double value) {
  if (!(value > 0.0) || !std::isfinite(value)) throw std::invalid_argument("a nice number needs a positive value");
  return static_cast<int>(std::floor(std::log10(value)));
}

// The point `z` units away from `origin` at `pixelsPerUnit`, y downwards.
ViewPoint Offset(ViewPoint origin, Complex z, double pixelsPerUnit) {
  return {origin.x + z.re * pixelsPerUnit, origin.y - z.im * pixelsPerUnit};
}

// The frame of a diagram whose longest arrow is `longest` units (decades in
// the logarithmic mode): origin, scale, grid and scale bar.
PhasorDiagram Frame(ViewSize view, double margin, double longest, ArrowLength length) {
  PhasorDiagram diagram;
  diagram.length = length;
  diagram.origin = {view.width / 2.0, view.height / 2.0};
  if (!(longest > 0.0)) longest = 1.0;
  // In a view too small for the margin the arrows still take half the room.
  const double half = std::max(0.0, std::min(view.width, view.height) / 2.0);
  const double radius = std::max(half - margin, half / 2.0);
  diagram.scale = radius / longest;
  if (length == ArrowLength::Logarithmic) {
    diagram.gridStep = 1.0;
    diagram.scaleBarValue = 10.0;
    diagram.gridStepPixels = diagram.scaleBarPixels = diagram.scale;
    return diagram;
  }
  diagram.gridStep = NiceAtLeast(longest / 5.0);
  diagram.gridStepPixels = diagram.gridStep * diagram.scale;
  diagram.scaleBarValue =
      diagram.scale > 0.0 && view.width > 0.0 ? NiceAtMost(view.width / 4.0 / diagram.scale) : diagram.gridStep;
  diagram.scaleBarPixels = diagram.scaleBarValue * diagram.scale;
  return diagram;
}

double SmallestNonzeroMagnitude(const std::vector<LabelledPhasor>& phasors, double largest) {
  double smallest = 0.0;
  for (const LabelledPhasor& phasor : phasors) {
    const double magnitude = Magnitude(phasor.value);
    if (!CountsAsZero(phasor.value, largest) && (smallest == 0.0 || magnitude < smallest)) smallest = magnitude;
  }
  return smallest;
}

// The arrow's length in the diagram's units: its magnitude, or its decades
// above the smallest; none for a value that counts as zero.
double ArrowUnits(Complex z, ArrowLength length, double smallest, double largest) {
  if (CountsAsZero(z, largest)) return 0.0;
  const double magnitude = Magnitude(z);
  if (length == ArrowLength::Linear) return magnitude;
  return 1.0 + std::log10(magnitude / smallest);
}

}  // namespace

double NiceAtLeast(double value) {
  const int e = DecimalExponent(value);
  for (double m : {1.0, 2.0, 5.0})
    if (Decimal(m, e) >= value * (1.0 - 1e-12)) return Decimal(m, e);
  return Decimal(1.0, e + 1);
}

double NiceAtMost(double value) {
  const int e = DecimalExponent(value);
  for (double m : {10.0, 5.0, 2.0})
    if (Decimal(m, e) <= value * (1.0 + 1e-12)) return Decimal(m, e);
  return Decimal(1.0, e);
}

PhasorDiagram LayOutPhasors(const std::vector<LabelledPhasor>& phasors, ViewSize view, ArrowLength length,
                            double margin) {
  const double largest = LargestMagnitude(phasors);
  const double smallest = SmallestNonzeroMagnitude(phasors, largest);
  double longest = 0.0;
  for (const LabelledPhasor& phasor : phasors)
    longest = std::max(longest, ArrowUnits(phasor.value, length, smallest, largest));
  PhasorDiagram diagram = Frame(view, margin, longest, length);
  if (length == ArrowLength::Logarithmic) diagram.smallestMagnitude = smallest;
  for (const LabelledPhasor& phasor : phasors) {
    const double magnitude = Magnitude(phasor.value);
    const bool zero = CountsAsZero(phasor.value, largest);
    // Along the value's own direction, at the length of its mode.
    const Complex along =
        zero ? Complex() : phasor.value * (ArrowUnits(phasor.value, length, smallest, largest) / magnitude);
    diagram.arrows.push_back(
        {phasor.label, phasor.value, diagram.origin, Offset(diagram.origin, along, diagram.scale), zero});
  }
  return diagram;
}

NodeBalance KirchhoffAtNode(int node, const std::vector<CircuitBranch>& branches,
                            const std::vector<Complex>& currents) {
  if (currents.size() != branches.size())
    throw std::invalid_argument("KirchhoffAtNode: one current per branch expected");
  NodeBalance balance;
  balance.node = node;
  balance.vertices.push_back(Complex());
  for (size_t k = 0; k < branches.size(); ++k) {
    const CircuitBranch& branch = branches[k];
    if (branch.To == node) balance.terms.push_back({BranchLabel("I", branch), currents[k]});
    else if (branch.From == node)
      balance.terms.push_back({BranchLabel("I", branch).insert(0, 1, '-'), currents[k] * -1.0});
    else continue;
    balance.vertices.push_back(balance.vertices.back() + balance.terms.back().value);
  }
  return balance;
}

PhasorDiagram LayOutNodeBalance(const NodeBalance& balance, ViewSize view, double margin) {
  double farthest = 0.0;
  for (Complex vertex : balance.vertices) farthest = std::max(farthest, Magnitude(vertex));
  PhasorDiagram diagram = Frame(view, margin, farthest, ArrowLength::Linear);
  for (size_t i = 0; i < balance.terms.size(); ++i)
    diagram.arrows.push_back({balance.terms[i].label, balance.terms[i].value,
                              Offset(diagram.origin, balance.vertices[i], diagram.scale),
                              Offset(diagram.origin, balance.vertices[i + 1], diagram.scale)});
  return diagram;
}

}  // namespace ohmara
