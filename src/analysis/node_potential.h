#pragma once
// The node-potential method, basic variant: every node but the zero node is
// an unknown. The pieces both node-potential variants present alike (the
// system in the grids, the potential and current lines, the power block) are
// declared here too, so that the optimal variant shows its results the same
// way.

#include <string>
#include <vector>

#include "analysis/linear_solver.h"
#include "analysis/method_run.h"
#include "analysis/result_views.h"
#include "model/circuit.h"
#include "model/complex.h"
#include "model/results_directory.h"

namespace ohmara {

// The numbers of one run, for callers that compare methods rather than read
// the window: the potentials in the order potentials lists them, the branch
// currents in table order and both sides of the power balance.
struct NodalSolution {
  ComplexMatrix system;  // as solved: admittances, then the source currents
  std::vector<int> Nodes;
  std::vector<Complex> Potentials;
  std::vector<Complex> Currents;
  Complex SourcePower;
  Complex ConsumedPower;
};

// One run of either variant: its numbers as far as it got.
struct NodeRun : RunProgress {
  bool optimal = false;                     // the optimal variant made it
  int unknowns = 0;                         // t: the potentials the system solves for
  std::vector<LabelledValue> branchValues;  // admittances and source currents, in the order computed
  NodalSolution numbers;
};

// Solves the tested circuit with node z at potential 0, touching nothing.
// NotRun when state.NeedsTest is set, there are no branches or z is not one
// of the nodes 1..NodeCount (the window checks that first). A branch with
// Z = 0 stops it at Started with DivisionByZero naming its admittance ("Y12"),
// the values of the branches before it kept; a singular system stops it at
// SystemBuilt with SingularSystem. A value that is not finite (an
// admittance, the system, a potential, a current, a power) stops it with
// NonFiniteValue before it is kept.
NodeRun SolveNodePotentials(const CircuitState& state, int z);

// Solves, shows the run in `views` (ShowNodeRun), rewrites Potential.txt
// (the solver's trace) and appends the out.txt section; a failure is rethrown
// once the texts and the trace show what the run reached. True when the run
// went to the end.
bool NodePotentialMethod(const CircuitState& state, int z, ResultsDirectory& results, NodeViews& views,
                         NodalSolution* solution = nullptr);

// ---- shared by both node-potential variants ----

// The signature of either method, for callers that run both alike.
using NodeMethod = bool (*)(const CircuitState& state, int z, ResultsDirectory& results, NodeViews& views,
                            NodalSolution* solution);

// The window texts of a run of either variant: the four memos are emptied
// when it started, then the branch values it reached, the system in the grids
// once it was built, the potentials, branch currents and power balance once
// it is complete. Returns the out.txt section of a complete run, else an
// empty text.
std::string ShowNodeRun(const CircuitState& state, const NodeRun& run, NodeViews& views);

// The end of a run of either variant: the potentials (potentials[i] of node
// nodes[i]) and the branch currents are checked to be finite and kept with
// the power balance, and the run is complete.
void FinishNodeRun(const CircuitState& state, std::vector<int> nodes, std::vector<Complex> potentials,
                   std::vector<Complex> currents, NodeRun& run);

// Shows and writes a run as NodePotentialMethod does.
bool ShowAndWriteNodeRun(const CircuitState& state, const NodeRun& run, ResultsDirectory& results, NodeViews& views,
                         NodalSolution* solution);

// The current of a branch (or chain) a->b from the potentials of its ends.
Complex BranchCurrentFromPotentials(Complex fromPotential, Complex toPotential, Complex e, Complex z);

// "u3": the name potentials gives the potential of node 3.
std::string PotentialName(int node);

}  // namespace ohmara
