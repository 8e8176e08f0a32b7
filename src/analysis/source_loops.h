#pragma once
// Loops of an extended circuit: two branches may join the same two nodes, a
// branch may be an ideal current source, and the whole circuit may be one
// loop. Each loop is a fundamental loop of a breadth-first spanning tree of
// the branches that are not current sources, closed over its chord; each
// current source then gets one loop of its own, closed through that tree,
// whose loop current is the source's.

#include <vector>

#include "model/circuit.h"

namespace ohmara {

enum class SourceLoopResult {
  Found,
  NotClosed,         // a branch lies on no loop
  CurrentSourceCut,  // without the current sources the nodes fall apart
};

// The tree of a breadth-first search from node 1 over the branches that are
// not ideal current sources, branches taken in table order.
struct SpanningTree {
  std::vector<int> parentBranch;  // by node number: the branch it was reached by, -1 at the root and unreached
  std::vector<int> depth;         // by node number, -1 when not reached
  std::vector<bool> inTree;       // by branch
  std::vector<int> order;         // the nodes in the order reached
};
SpanningTree SourceFreeTree(const std::vector<CircuitBranch>& branches, int nodeCount);

// Whether the circuit needs this search rather than the shortest-way-round
// one: it is parsed as extended, and it repeats a node pair, holds an ideal
// current source or has no junction.
bool NeedsSourceLoops(const CircuitState& state, int realNodes);

// Replaces state.Loops with the loops above (the loops of the current
// sources last, counted in state.KnownLoops) and sets state.LoopCapacity.
SourceLoopResult FindSourceLoops(CircuitState& state);

// The current sources that, taken away, leave the nodes in pieces (table
// order, 0-based): the sources joining nodes that the other branches do not
// connect. Empty when there is no such cut.
std::vector<int> CurrentSourceCut(const std::vector<CircuitBranch>& branches, int nodeCount);

}  // namespace ohmara
