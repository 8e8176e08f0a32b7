#pragma once
// The mesh-current (loop-current) method over the loops the circuit test found.

#include <string>
#include <vector>

#include "analysis/linear_solver.h"
#include "analysis/method_run.h"
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

// The numbers of one run, at full precision.
struct MeshSolution {
  ComplexMatrix system;                 // the loop system as solved: impedances, then the loop sources
  std::vector<Complex> loopCurrents;    // J, one per loop
  std::vector<Complex> branchCurrents;  // I, one per branch in table order, From -> To
  Complex source;                       // power of the sources
  Complex consumed;                     // power consumed by the impedances
};

// One run of the method: its numbers as far as it got.
struct MeshRun : RunProgress {
  int unknownLoops = 0;  // the loops whose current the system solves for
  MeshSolution numbers;
};

// Solves the tested circuit by loop currents, touching nothing. NotRun when
// state.NeedsTest is set or there are no branches. A system that is not
// finite stops it at Started; a singular system (SingularSystem), a solution
// that is not finite or a power balance that does not close (NonFiniteValue)
// stop it at SystemBuilt.
MeshRun SolveMeshCurrents(const CircuitState& state);

// The window texts of a run: the loop system in the grids once it was
// built, the loop currents, branch currents and power balance once the run is
// complete (the three memos are emptied whenever it started). Returns the
// out.txt section of a complete run, else an empty text.
std::string ShowMeshRun(const CircuitState& state, const MeshRun& run, MeshViews& views);

// Solves, shows the run in `views` and writes Currents.txt (the solver's
// trace) and the out.txt section; a failure is rethrown once the texts and the
// trace show what the run reached. True when the method ran to the end.
bool MeshCurrentMethod(const CircuitState& state, ResultsDirectory& results, MeshViews& views);
// The same, also handing back the run's numbers.
bool MeshCurrentMethod(const CircuitState& state, ResultsDirectory& results, MeshViews& views, MeshSolution& solution);

// "I11" for loop p = 0: the loop number written twice, as loopCurrents names it.
std::string LoopCurrentName(int p);

// The branch currents (table order) as signed sums of the loop currents.
std::vector<Complex> BranchCurrentsFromLoops(const CircuitState& state, const std::vector<Complex>& loopCurrents);

}  // namespace ohmara
