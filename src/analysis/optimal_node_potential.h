#pragma once
// The node-potential method, optimal variant: only the real nodes (three or
// more neighbours) are unknowns. Every run of branches in series through
// points with fewer neighbours is folded into one chain that enters the
// system as a single branch.

#include <vector>

#include "analysis/node_potential.h"
#include "analysis/result_views.h"
#include "model/circuit.h"
#include "model/complex.h"
#include "model/int_set.h"
#include "model/results_directory.h"

namespace ohmara {

// One run of branches in series between two real nodes.
struct Chain {
  int From = 0;           // real node where the chain starts
  int To = 0;             // real node where it ends
  IntSet Inner;           // the points between, none of them real
  std::vector<int> Prev;  // by node number: the point before it along the chain
  Complex Z;              // summed impedance
  Complex E;              // summed source, each taken along From -> To
  // An ideal current source in the chain fixes its current (along From -> To).
  bool FixedCurrent = false;
  Complex J;
};

// The refusal of a circuit without a junction: it has no node to keep.
inline constexpr char kOptimalNeedsJunctionText[] = "Оптимальный метод требует узла, где сходятся три ветви и более.";

// Folds the branches into chains in table order of their first branch, each
// starting at the real end of that branch. Throws UnsolvableCircuit, naming the node, for a chain that
// returns to the junction it left (a ring: it has no second end to stand
// between two rows of the system), for a point where a chain cannot go on
// and for a branch that lies on no chain between two junctions.
std::vector<Chain> BuildChains(const CircuitState& state);

// The label of a chain: its start, its inner points ascending, its end, all
// written together ("1253" for 1 -> 5 -> 2 -> 3).
std::string ChainLabel(const Chain& chain);

// Solves the tested circuit with the real node z at potential 0, touching
// nothing. NotRun when state.NeedsTest is set, there are no branches or z is
// not a real node (the window tells the user so first). The chains are built
// and checked first, so an UnsolvableCircuit from BuildChains, like the
// CircuitRefusal (kOptimalNeedsJunctionText) of a circuit without
// junctions, stops it at NotRun. A direct branch or a chain with Z = 0 stops
// it at Started with DivisionByZero naming its admittance ("Y13", "Y123"),
// the values before it kept; a branch with Z = 0 inside a chain is harmless.
// Values that are not finite stop it as in SolveNodePotentials.
NodeRun SolveOptimalNodePotentials(const CircuitState& state, int z);

// Solves and shows the run, and writes the same files as NodePotentialMethod.
bool OptimalNodePotentialMethod(const CircuitState& state, int z, ResultsDirectory& results, NodeViews& views,
                                NodalSolution* solution = nullptr);

}  // namespace ohmara
