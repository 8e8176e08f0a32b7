#pragma once
// The node-potential method, basic variant: every node but the zero node is
// an unknown. The pieces both node-potential variants present alike (the
// system in the grids, the potential and current lines, the power block) are
// declared here too, so that the optimal variant shows its results the same
// way.

#include <string>
#include <vector>

#include "analysis/linear_solver.h"
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

// Solves the tested circuit with node z at potential 0: fills admittanceMatrix, sourceCurrentColumn,
// branchValues, potentials, branchCurrents and powerBalance, rewrites Potential.txt and appends
// a section to out.txt. True when the run went to the end; false, touching
// nothing, when state.NeedsTest is set, there are no branches or z is not one
// of the nodes 1..NodeCount (the window checks that first). A branch with
// Z = 0 throws DivisionByZero naming its admittance ("Y12") once the branchValues
// lines of the branches before it are shown; a singular system throws
// SingularSystem with the grids filled. A value that is not finite (an
// admittance, the system, a potential, a current, a power) throws
// NonFiniteValue before it is shown, and out.txt gets no section.
bool NodePotentialMethod(const CircuitState& state, int z, ResultsDirectory& results, NodeViews& views,
                         NodalSolution* solution = nullptr);

// ---- shared by both node-potential variants ----

// The signature of either method, for callers that run both alike.
using NodeMethod = bool (*)(const CircuitState& state, int z, ResultsDirectory& results, NodeViews& views,
                            NodalSolution* solution);

// The four memos a run refills.
void ClearNodalMemos(NodeViews& views);

// Sizes admittanceMatrix and sourceCurrentColumn for the t x (t + 1) system `rows` (the last column is
// the right-hand side) and shows every entry.
void ShowNodalSystem(const ComplexMatrix& rows, int t, NodeViews& views);

// The current of a branch (or chain) a->b from the potentials of its ends.
Complex BranchCurrentFromPotentials(Complex fromPotential, Complex toPotential, Complex e, Complex z);

// "u3": the name potentials gives the potential of node 3.
std::string PotentialName(int node);

// Adds the potentials line "u<node> = ..." and appends the out.txt line
// "U<node>=..." of one potential to `section`.
void ReportPotential(int node, Complex potential, MemoView& potentials, std::string& section);

// Computes the power balance, shows it in powerBalance, appends its block to
// `section` and the finished section to out.txt; fills `solution` when given.
void FinishNodalRun(const std::vector<CircuitBranch>& branches, std::vector<Complex> currents, std::string& section,
                    ResultsDirectory& results, MemoView& powerBalance, NodalSolution* solution);

}  // namespace ohmara
