#pragma once
// The independent loops of the circuit, for the mesh-current method: each an
// oriented closed chain of branch copies, found as the shortest way round
// from one end of a branch to the other.

#include <optional>
#include <vector>

#include "model/circuit.h"
#include "model/int_set.h"
#include "model/results_directory.h"
#include "model/text_views.h"

namespace ohmara {

enum class LoopSearchResult {
  Found,
  NotClosed,
  RealNodeRuleBroken,
  CurrentSourceCut,  // an extended circuit whose current sources alone join its parts
};

// Where the loops of one search came from, for callers that want to know how
// far the first pass and the joining pass got.
struct LoopSearchCounts {
  int firstPass = 0;     // loops of the first pass (written to out.txt)
  int joined = 0;        // loops added by the joining pass
  int joinsRefused = 0;  // groups of the joining pass that added no loop
  int completed = 0;     // fundamental loops that completed the list
};

// NotClosed: the window shows "Я вам сочувствую - цепь не замкнута :(" (the core shows nothing).
// RealNodeRuleBroken also answers a table without branches, which has no loop at all.
// An extended circuit that needs it (see NeedsSourceLoops) is searched by FindSourceLoops.
LoopSearchResult FindLoops(CircuitState& state, ResultsDirectory& results, MemoView& loops);
LoopSearchResult FindLoops(CircuitState& state, ResultsDirectory& results, MemoView& loops, LoopSearchCounts& counts);

// Every loop must pass through at least two real nodes: more than two of its
// steps touch one. The index in state.Loops of the first loop that does not.
std::optional<int> LoopBreakingRealNodeRule(const CircuitState& state);

// Shortest path from node s to node t (0-based) over the entries of W: true and
// the loop built (path from t back to s, closed by the branch s+1 -> t+1), or
// false when t cannot be reached. Every 0 of W becomes the missing-branch weight.
bool ShortestPath(std::vector<std::vector<int>>& W, int n, int s, int t, const std::vector<CircuitBranch>& branches,
                  Loop& loop);

// Adds the branches of loop `loopIndex` (by index) and their end nodes to the sets.
void CollectLoopSets(const CircuitState& state, int loopIndex, IntSet& branchSet, IntSet& nodeSet);

// The spanning tree of a breadth-first search from node 1, neighbours in
// ascending order: for every branch, whether it is a tree branch.
std::vector<bool> BreadthFirstTree(const CircuitState& state);

}  // namespace ohmara
