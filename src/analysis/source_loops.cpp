#include "analysis/source_loops.h"

#include <deque>

namespace ohmara {

namespace {

int OtherEnd(const CircuitBranch& branch, int node) { return branch.From == node ? branch.To : branch.From; }

}  // namespace

SpanningTree SourceFreeTree(const std::vector<CircuitBranch>& branches, int nodeCount) {
  SpanningTree tree{std::vector<int>(nodeCount + 1, -1),
                    std::vector<int>(nodeCount + 1, -1),
                    std::vector<bool>(branches.size(), false),
                    {}};
  if (nodeCount == 0) return tree;
  std::deque<int> queue{1};
  tree.depth[1] = 0;
  while (!queue.empty()) {
    const int node = queue.front();
    queue.pop_front();
    tree.order.push_back(node);
    for (size_t k = 0; k < branches.size(); ++k) {
      const CircuitBranch& branch = branches[k];
      if (branch.IdealCurrentSource || (branch.From != node && branch.To != node)) continue;
      const int next = OtherEnd(branch, node);
      if (tree.depth[next] >= 0) continue;
      tree.depth[next] = tree.depth[node] + 1;
      tree.parentBranch[next] = static_cast<int>(k);
      tree.inTree[k] = true;
      queue.push_back(next);
    }
  }
  return tree;
}

namespace {

// The branch travelled from `start`: itself, or reversed with its sources.
CircuitBranch Travelled(const CircuitBranch& branch, int start) {
  if (branch.From == start) return branch;
  CircuitBranch step = branch;
  step.From = branch.To;
  step.To = branch.From;
  step.E = branch.E * -1.0;
  step.J = branch.J * -1.0;
  return step;
}

// The loop closed by branch `closing` (travelled From -> To): the tree path
// from its To back to its From, then the branch itself.
Loop LoopThroughTree(const std::vector<CircuitBranch>& branches, const SpanningTree& tree, int closing) {
  const CircuitBranch& chord = branches[closing];
  // Walk both ends up to their common ancestor; the path from To rises,
  // the path to From descends and is collected in reverse.
  std::vector<int> rising, falling;
  int up = chord.To, down = chord.From;
  while (up != down) {
    if (tree.depth[up] >= tree.depth[down]) {
      rising.push_back(tree.parentBranch[up]);
      up = OtherEnd(branches[tree.parentBranch[up]], up);
    } else {
      falling.push_back(tree.parentBranch[down]);
      down = OtherEnd(branches[tree.parentBranch[down]], down);
    }
  }
  Loop loop;
  int at = chord.To;
  auto step = [&](int k) {
    loop.AddStep(Travelled(branches[k], at), k);
    at = OtherEnd(branches[k], at);
  };
  for (int k : rising) step(k);
  for (auto it = falling.rbegin(); it != falling.rend(); ++it) step(*it);
  step(closing);
  return loop;
}

bool AllReached(const SpanningTree& tree, int nodeCount) {
  for (int node = 1; node <= nodeCount; ++node)
    if (tree.depth[node] < 0) return false;
  return true;
}

bool AnyIdealCurrentSource(const std::vector<CircuitBranch>& branches) {
  for (const CircuitBranch& branch : branches)
    if (branch.IdealCurrentSource) return true;
  return false;
}

}  // namespace

bool NeedsSourceLoops(const CircuitState& state, int realNodes) {
  return state.Extended && (realNodes == 0 || HasRepeatedPair(state.Branches) || AnyIdealCurrentSource(state.Branches));
}

std::vector<int> CurrentSourceCut(const std::vector<CircuitBranch>& branches, int nodeCount) {
  const SpanningTree tree = SourceFreeTree(branches, nodeCount);
  std::vector<int> cut;
  if (AllReached(tree, nodeCount)) return cut;
  for (size_t k = 0; k < branches.size(); ++k)
    if (branches[k].IdealCurrentSource && (tree.depth[branches[k].From] < 0) != (tree.depth[branches[k].To] < 0))
      cut.push_back(static_cast<int>(k));
  return cut;
}

SourceLoopResult FindSourceLoops(CircuitState& state) {
  state.Loops.clear();
  state.KnownLoops = 0;
  state.LoopCapacity = state.BranchCount() - state.NodeCount + 1;
  const SpanningTree tree = SourceFreeTree(state.Branches, state.NodeCount);
  if (!AllReached(tree, state.NodeCount)) return SourceLoopResult::CurrentSourceCut;
  std::vector<bool> onLoop(state.Branches.size(), false);
  auto keep = [&](const Loop& loop) {
    for (int k : loop.Branches) onLoop[k] = true;
    state.Loops.push_back(loop);
  };
  for (int k = 0; k < state.BranchCount(); ++k)
    if (!tree.inTree[k] && !state.Branches[k].IdealCurrentSource) keep(LoopThroughTree(state.Branches, tree, k));
  for (int k = 0; k < state.BranchCount(); ++k)
    if (state.Branches[k].IdealCurrentSource) {
      keep(LoopThroughTree(state.Branches, tree, k));
      ++state.KnownLoops;
    }
  for (bool on : onLoop)
    if (!on) return SourceLoopResult::NotClosed;
  return SourceLoopResult::Found;
}

}  // namespace ohmara
