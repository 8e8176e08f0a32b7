#pragma once
// The values of a solution with the names the result memos give them, for
// the polar readouts and the phasor diagram: windows take them from the
// MeshSolution or NodalSolution of a run, never from the memo texts.

#include <string>
#include <vector>

#include "model/branch.h"
#include "model/complex.h"

namespace ohmara {

struct LabelledPhasor {
  std::string label;  // "I12", "I11", "u3"
  Complex value;
};

// "I11", "I22", ... for MeshSolution::loopCurrents.
std::vector<LabelledPhasor> LoopCurrentPhasors(const std::vector<Complex>& loopCurrents);

// "I12" for branch 1->2, in table order, for MeshSolution::branchCurrents or
// NodalSolution::Currents (positive from From to To).
std::vector<LabelledPhasor> BranchCurrentPhasors(const std::vector<CircuitBranch>& branches,
                                                 const std::vector<Complex>& currents);

// "u3" for node 3, for NodalSolution::Nodes and ::Potentials.
std::vector<LabelledPhasor> NodePotentialPhasors(const std::vector<int>& nodes, const std::vector<Complex>& potentials);

// Round-off of a solution: a value below this fraction of the largest of its
// set (a current of 3e-16 A beside one of 2 A) counts as zero, as the memos
// show it, so it neither reads as a value nor takes a direction.
inline constexpr double kZeroMagnitudeRatio = 1e-9;

double LargestMagnitude(const std::vector<LabelledPhasor>& phasors);
bool CountsAsZero(Complex value, double largestMagnitude);

// One PolarLine per phasor: "I12 = 3.75 ∠ 0°"; a value that counts as zero
// reads "0 ∠ 0°".
std::vector<std::string> PolarLines(const std::vector<LabelledPhasor>& phasors);

}  // namespace ohmara
