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
std::vector<LabelledPhasor> BranchCurrentPhasors(const std::vector<TBranch>& branches,
                                                 const std::vector<Complex>& currents);

// "u3" for node 3, for NodalSolution::Nodes and ::Potentials.
std::vector<LabelledPhasor> NodePotentialPhasors(const std::vector<int>& nodes,
                                                 const std::vector<Complex>& potentials);

// One PolarLine per phasor: "I12 = 3.75 ∠ 0°".
std::vector<std::string> PolarLines(const std::vector<LabelledPhasor>& phasors);

}  // namespace ohmara
