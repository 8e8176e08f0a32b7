#pragma once
// The mesh-current (loop-current) method over the loops the circuit test found.

#include <string>
#include <vector>

#include "analysis/linear_solver.h"
#include "analysis/result_views.h"
#include "model/circuit.h"
#include "model/complex.h"
#include "model/results_directory.h"

namespace ohmara {

// Element (p, q) of the loop impedance matrix, p and q 0-based loop indices:
// for p == q the sum of Z over the steps of loop p; otherwise the sum of ±Z
// over the branches the two loops share, + where they travel them the same
// way, − where opposite.
Complex LoopImpedance(const CircuitState& state, int p, int q);

// The loop source of loop p: the sum of E over its steps (each E already
// signed along the loop), a current source J beside Z counting as J·Z.
Complex LoopEmf(const CircuitState& state, int p);

// The loop system the method solves: row p holds LoopImpedance(p, q) for
// every loop q whose current is unknown, then LoopEmf(p) less the voltage
// the loops of current sources (known currents) drive round loop p.
ComplexMatrix LoopSystem(const CircuitState& state);

// Solves the tested circuit by loop currents: fills impedanceMatrix, emfColumn, loopCurrents,
// branchCurrents and powerBalance, writes Currents.txt and appends a section to
// out.txt. True when the method ran to the end; false, touching nothing,
// when state.NeedsTest is set or there are no branches. SingularSystem
// propagates with the grids filled and the memos and out.txt untouched; so
// does NonFiniteValue for a solution that is not finite, and for a system
// that is not, before the grids are filled.
bool MeshCurrentMethod(const CircuitState& state, ResultsDirectory& results, MeshViews& views);

// The numbers behind the texts of one run, at full precision, for callers
// that check or reuse them.
struct MeshSolution {
  ComplexMatrix system;                 // the loop system as solved: impedances, then the loop sources
  std::vector<Complex> loopCurrents;    // J, one per loop
  std::vector<Complex> branchCurrents;  // I, one per branch in table order, From -> To
  Complex source;                       // power of the sources
  Complex consumed;                     // power consumed by the impedances
};
// The same run, also handing back its numbers (left empty when it returns false).
bool MeshCurrentMethod(const CircuitState& state, ResultsDirectory& results, MeshViews& views, MeshSolution& solution);

// "I11" for loop p = 0: the loop number written twice, as loopCurrents names it.
std::string LoopCurrentName(int p);

// The branch currents (table order) as signed sums of the loop currents.
std::vector<Complex> BranchCurrentsFromLoops(const CircuitState& state, const std::vector<Complex>& loopCurrents);

}  // namespace ohmara
