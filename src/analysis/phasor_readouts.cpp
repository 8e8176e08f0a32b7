#include "analysis/phasor_readouts.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "analysis/branch_impedances.h"
#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "model/polar_text.h"

namespace ohmara {

std::vector<LabelledPhasor> LoopCurrentPhasors(const std::vector<Complex>& loopCurrents) {
  std::vector<LabelledPhasor> phasors;
  for (size_t p = 0; p < loopCurrents.size(); ++p)
    phasors.push_back({LoopCurrentName(static_cast<int>(p)), loopCurrents[p]});
  return phasors;
}

std::vector<LabelledPhasor> BranchCurrentPhasors(const std::vector<CircuitBranch>& branches,
                                                 const std::vector<Complex>& currents) {
  if (currents.size() != branches.size())
    throw std::invalid_argument("BranchCurrentPhasors: one current per branch expected");
  std::vector<LabelledPhasor> phasors;
  for (size_t k = 0; k < branches.size(); ++k) phasors.push_back({BranchLabel("I", branches[k]), currents[k]});
  return phasors;
}

std::vector<LabelledPhasor> NodePotentialPhasors(const std::vector<int>& nodes,
                                                 const std::vector<Complex>& potentials) {
  if (potentials.size() != nodes.size())
    throw std::invalid_argument("NodePotentialPhasors: one potential per node expected");
  std::vector<LabelledPhasor> phasors;
  for (size_t k = 0; k < nodes.size(); ++k) phasors.push_back({PotentialName(nodes[k]), potentials[k]});
  return phasors;
}

double LargestMagnitude(const std::vector<LabelledPhasor>& phasors) {
  double largest = 0.0;
  for (const LabelledPhasor& phasor : phasors)
    largest = std::max(largest, std::hypot(phasor.value.re, phasor.value.im));
  return largest;
}

bool CountsAsZero(Complex value, double largestMagnitude) {
  return std::hypot(value.re, value.im) < kZeroMagnitudeRatio * largestMagnitude || IsZero(value);
}

std::vector<std::string> PolarLines(const std::vector<LabelledPhasor>& phasors) {
  const double largest = LargestMagnitude(phasors);
  std::vector<std::string> lines;
  for (const LabelledPhasor& phasor : phasors)
    lines.push_back(PolarLine(phasor.label, CountsAsZero(phasor.value, largest) ? Complex() : phasor.value));
  return lines;
}

}  // namespace ohmara
