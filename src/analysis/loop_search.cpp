#include "analysis/loop_search.h"

#include <algorithm>
#include <deque>
#include <string>

#include "analysis/loop_independence.h"
#include "analysis/source_loops.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

// Weight of a missing branch and the starting distance of the path search.
constexpr int kMissing = 10000;

using Matrix = std::vector<std::vector<int>>;

CircuitBranch Reversed(const CircuitBranch& branch) {
  CircuitBranch step;
  step.From = branch.To;
  step.To = branch.From;
  step.Z = branch.Z;
  step.E = branch.E * -1.0;
  step.J = branch.J * -1.0;
  return step;
}

// The branch a -> b travelled from a to b: an exact copy when it runs that
// way, a reversed one when it runs b -> a, with its index. False when no
// branch joins them.
bool StepBetween(const std::vector<CircuitBranch>& branches, int a, int b, CircuitBranch& step, int& index) {
  for (size_t i = 0; i < branches.size(); ++i) {
    const CircuitBranch& branch = branches[i];
    if (branch.From == a && branch.To == b) {
      step = branch;
    } else if (branch.From == b && branch.To == a) {
      step = Reversed(branch);
    } else {
      continue;
    }
    index = static_cast<int>(i);
    return true;
  }
  return false;
}

// The buffers of the path searches, kept from one search to the next: a
// dense circuit runs a search for every one of its branches.
struct PathBuffers {
  Matrix work;  // the weights of one search
  std::vector<int> dist, path;
  std::vector<char> done;
};

// Unit-weight search with strict comparisons, so that among equal distances
// the lowest node wins. False when t cannot be reached.
bool Distances(const Matrix& W, int n, int s, int t, std::vector<int>& dist, std::vector<char>& done) {
  dist.assign(n, kMissing);
  done.assign(n, 0);
  int cur = s;
  dist[s] = 0;
  done[s] = 1;
  do {
    bool none = true;
    int best = kMissing, next = -1;
    for (int p = 0; p < n; ++p) {
      if (done[p]) continue;
      if (dist[cur] + W[cur][p] < dist[p]) dist[p] = dist[cur] + W[cur][p];
      if (dist[p] < kMissing) none = false;
      if (dist[p] < best) {
        best = dist[p];
        next = p;
      }
    }
    if (none) return false;
    cur = next;
    done[cur] = 1;
  } while (cur != t);
  return true;
}

// Nodes from t back to s, each step to the lowest node one branch nearer to
// s. The walk is bounded by n nodes so that a matrix with weights the search
// never sets cannot keep it going.
bool WalkBack(const Matrix& W, int n, int s, int t, const std::vector<int>& dist, std::vector<int>& path) {
  path.assign(1, t);
  for (int q = t; q != s;) {
    int p = 0;
    while (p < n && dist[q] - dist[p] != W[q][p]) ++p;
    if (p == n || static_cast<int>(path.size()) >= n) return false;
    path.push_back(p);
    q = p;
  }
  return true;
}

void CutBranch(Matrix& W, const CircuitBranch& branch) {
  W[branch.To - 1][branch.From - 1] = 0;
  W[branch.From - 1][branch.To - 1] = 0;
}

std::string AdjacencyText(const Matrix& adjacency) {
  std::string text;
  for (const std::vector<int>& row : adjacency) {
    for (int entry : row) AppendFormat(text, "%d\t", entry);
    text += "\n";
  }
  return text;
}

// "2->1", and "2->1_2" for the second branch between the same two nodes.
std::string StepText(const CircuitBranch& step) {
  std::string text = Format("%d->%d", step.From, step.To);
  if (step.Parallel > 1) AppendFormat(text, "_%d", step.Parallel);
  return text;
}

std::string OutLine(const Loop& loop) {
  std::string line;
  for (const CircuitBranch& step : loop.Steps) line += StepText(step) + "\t";
  line += "\n";
  return line;
}

std::string ContsLine(int number, const Loop& loop) {
  std::string line = Format("%d)   ", number);
  for (const CircuitBranch& step : loop.Steps) line += StepText(step) + "  ";
  return line;
}

void MarkLoopBranches(const Loop& loop, std::vector<bool>& onLoop) {
  for (int b : loop.Branches) onLoop[b] = true;
}

// The loop found and kept, or not: the list never holds more than L loops
// nor a loop that depends on those before it.
bool StoreLoop(CircuitState& state, LoopIndependence& independence, const Loop& loop) {
  if (state.LoopCount() >= state.LoopCapacity || !independence.Add(loop)) return false;
  state.Loops.push_back(loop);
  return true;
}

// ShortestPath over buffers.work, with the buffers of the search kept.
bool SearchPath(PathBuffers& buffers, int n, int s, int t, const std::vector<CircuitBranch>& branches, Loop& loop) {
  Matrix& W = buffers.work;
  for (std::vector<int>& row : W)
    for (int& entry : row)
      if (entry == 0) entry = kMissing;
  std::vector<int>& path = buffers.path;
  if (!Distances(W, n, s, t, buffers.dist, buffers.done) || !WalkBack(W, n, s, t, buffers.dist, path)) return false;
  std::vector<CircuitBranch> steps(path.size());
  std::vector<int> indices(path.size());
  for (size_t i = 0; i + 1 < path.size(); ++i)
    if (!StepBetween(branches, path[i] + 1, path[i + 1] + 1, steps[i], indices[i])) return false;
  const auto closing = std::find_if(branches.begin(), branches.end(),
                                    [&](const CircuitBranch& b) { return b.From == s + 1 && b.To == t + 1; });
  if (closing == branches.end()) return false;
  steps.back() = *closing;
  indices.back() = static_cast<int>(closing - branches.begin());
  loop.Steps = std::move(steps);
  loop.Branches = std::move(indices);
  return true;
}

// One loop through every branch not yet on a loop, the shortest way round
// without that branch; false when some branch has no way round.
bool FirstPass(CircuitState& state, ResultsDirectory& results, LoopIndependence& independence, PathBuffers& buffers) {
  std::vector<bool> onLoop(state.BranchCount(), false);
  for (int i = 0; i < state.BranchCount(); ++i) {
    if (onLoop[i]) continue;
    onLoop[i] = true;
    const CircuitBranch& branch = state.Branches[i];
    buffers.work = state.Adjacency;
    CutBranch(buffers.work, branch);
    Loop loop;
    if (!SearchPath(buffers, state.NodeCount, branch.From - 1, branch.To - 1, state.Branches, loop)) return false;
    // Each loop runs through its own starting branch, which no loop before it
    // holds, so the first pass is independent by construction.
    independence.Add(loop);
    state.Loops.push_back(loop);
    results.Append("out.txt", OutLine(loop));
    MarkLoopBranches(loop, onLoop);
  }
  return true;
}

struct LoopGroup {
  IntSet LoopSet;
  IntSet BranchSet;
  IntSet NodeSet;
  int Pending = 0;
};

void AssignLoop(const CircuitState& state, LoopGroup& group, int loop, std::vector<int>& assigned) {
  group.LoopSet.add(loop);
  CollectLoopSets(state, loop, group.BranchSet, group.NodeSet);
  assigned[loop] = 1;
}

// The group that takes loop r: the first one holding a branch of its steps,
// taken in step order; -1 when none does.
int GroupSharingBranch(const CircuitState& state, const std::vector<LoopGroup>& groups, int r) {
  for (int b : state.Loops[r].Branches) {
    for (int g = 0; g < static_cast<int>(groups.size()); ++g)
      if (groups[g].BranchSet.contains(b)) return g;
  }
  return -1;
}

// Each round the lowest unassigned loop opens a group, then one scan over the
// loops lets each unassigned loop join the first group sharing a branch.
std::vector<LoopGroup> GroupLoops(const CircuitState& state) {
  std::vector<LoopGroup> groups;
  std::vector<int> assigned(state.LoopCount(), 0);
  for (;;) {
    const auto open = std::find(assigned.begin(), assigned.end(), 0);
    if (open == assigned.end()) return groups;
    groups.emplace_back();
    groups.back().Pending = 1;
    AssignLoop(state, groups.back(), static_cast<int>(open - assigned.begin()), assigned);
    for (int r = 1; r < state.LoopCount(); ++r) {
      if (assigned[r]) continue;
      const int g = GroupSharingBranch(state, groups, r);
      if (g >= 0) AssignLoop(state, groups[g], r, assigned);
    }
  }
}

int LowestPending(const std::vector<LoopGroup>& groups) {
  for (int g = 0; g < static_cast<int>(groups.size()); ++g)
    if (groups[g].Pending) return g;
  return -1;
}

int LowestPartner(const std::vector<LoopGroup>& groups, int g) {
  for (int h = 0; h < static_cast<int>(groups.size()); ++h)
    if (h != g && !IntSet::intersect(groups[g].NodeSet, groups[h].NodeSet).empty()) return h;
  return -1;
}

// The loop that joins group g at node v: every branch from v into g's nodes
// is cut, and the last of them (table order) closes the loop.
bool JoiningLoop(const CircuitState& state, const IntSet& groupNodes, int v, Loop& loop, PathBuffers& buffers) {
  Matrix& work = buffers.work;
  work = state.Adjacency;
  const CircuitBranch* closing = nullptr;
  for (const CircuitBranch& branch : state.Branches) {
    const bool joins =
        (branch.From == v && groupNodes.contains(branch.To)) || (branch.To == v && groupNodes.contains(branch.From));
    if (!joins) continue;
    CutBranch(work, branch);
    closing = &branch;
  }
  return closing && SearchPath(buffers, state.NodeCount, closing->From - 1, closing->To - 1, state.Branches, loop);
}

// Takes the pending groups in turn and closes a loop across each group and
// its partner. A group without a partner, a failed search or a loop that is
// not independent adds nothing: the completion below makes up the count.
void JoinGroups(CircuitState& state, LoopIndependence& independence, LoopSearchCounts& counts, PathBuffers& buffers) {
  std::vector<LoopGroup> groups = GroupLoops(state);
  for (int g = LowestPending(groups); g >= 0 && state.LoopCount() < state.LoopCapacity; g = LowestPending(groups)) {
    groups[g].Pending = 0;
    const int h = LowestPartner(groups, g);
    Loop loop;
    bool added = false;
    if (h >= 0) {
      groups[h].Pending = 0;
      const IntSet shared = IntSet::intersect(groups[g].NodeSet, groups[h].NodeSet);
      int v = 1;
      while (!shared.contains(v)) ++v;
      added = JoiningLoop(state, groups[g].NodeSet, v, loop, buffers) && StoreLoop(state, independence, loop);
    }
    ++(added ? counts.joined : counts.joinsRefused);
  }
}

Matrix TreeMatrix(const CircuitState& state, const std::vector<bool>& inTree) {
  Matrix tree(state.NodeCount, std::vector<int>(state.NodeCount, 0));
  for (int i = 0; i < state.BranchCount(); ++i) {
    if (!inTree[i]) continue;
    const CircuitBranch& branch = state.Branches[i];
    tree[branch.From - 1][branch.To - 1] = tree[branch.To - 1][branch.From - 1] = 1;
  }
  return tree;
}

// Fundamental loops of the breadth-first tree, each closed over its chord in
// the chord's own direction, kept while they raise the rank. Together with
// any independent loops they span every loop of a connected circuit, so the
// list always reaches L.
void CompleteWithFundamentalLoops(CircuitState& state, LoopIndependence& independence, LoopSearchCounts& counts,
                                  PathBuffers& buffers) {
  const std::vector<bool> inTree = BreadthFirstTree(state);
  const Matrix tree = TreeMatrix(state, inTree);
  for (int i = 0; i < state.BranchCount() && state.LoopCount() < state.LoopCapacity; ++i) {
    if (inTree[i]) continue;
    buffers.work = tree;
    const CircuitBranch& chord = state.Branches[i];
    Loop loop;
    if (SearchPath(buffers, state.NodeCount, chord.From - 1, chord.To - 1, state.Branches, loop) &&
        StoreLoop(state, independence, loop))
      ++counts.completed;
  }
}

void ListLoops(const CircuitState& state, MemoView& loops) {
  for (int k = 0; k < state.LoopCount(); ++k) loops.Add(ContsLine(k + 1, state.Loops[k]));
}

LoopSearchResult SearchAroundSources(CircuitState& state, ResultsDirectory& results, MemoView& loops) {
  switch (FindSourceLoops(state)) {
    case SourceLoopResult::CurrentSourceCut:
      return LoopSearchResult::CurrentSourceCut;
    case SourceLoopResult::NotClosed:
      return LoopSearchResult::NotClosed;
    case SourceLoopResult::Found:
      break;
  }
  std::string lines;
  for (const Loop& loop : state.Loops) lines += OutLine(loop);
  results.Append("out.txt", lines);
  ListLoops(state, loops);
  return LoopSearchResult::Found;
}

}  // namespace

std::optional<int> LoopBreakingRealNodeRule(const CircuitState& state) {
  for (int k = 0; k < state.LoopCount(); ++k) {
    int touching = 0;
    for (const CircuitBranch& step : state.Loops[k].Steps)
      touching += state.RealNodes.contains(step.From) || state.RealNodes.contains(step.To);
    if (touching <= 2) return k;
  }
  return std::nullopt;
}

bool ShortestPath(Matrix& W, int n, int s, int t, const std::vector<CircuitBranch>& branches, Loop& loop) {
  PathBuffers buffers;
  buffers.work.swap(W);
  const bool found = SearchPath(buffers, n, s, t, branches, loop);
  buffers.work.swap(W);
  return found;
}

void CollectLoopSets(const CircuitState& state, int loopIndex, IntSet& branchSet, IntSet& nodeSet) {
  for (int b : state.Loops[loopIndex].Branches) {
    branchSet.add(b);
    nodeSet.add(state.Branches[b].From);
    nodeSet.add(state.Branches[b].To);
  }
}

// The branches at each node (0-based), as (neighbour, branch index) pairs in
// ascending order: neighbours in number order and, between the same two
// nodes, the branch that comes first in the table first.
std::vector<std::vector<std::pair<int, int>>> BranchesAtNodes(const CircuitState& state) {
  std::vector<std::vector<std::pair<int, int>>> at(state.NodeCount);
  for (int b = 0; b < state.BranchCount(); ++b) {
    const CircuitBranch& branch = state.Branches[b];
    at[branch.From - 1].emplace_back(branch.To - 1, b);
    at[branch.To - 1].emplace_back(branch.From - 1, b);
  }
  for (auto& branches : at) std::sort(branches.begin(), branches.end());
  return at;
}

std::vector<bool> BreadthFirstTree(const CircuitState& state) {
  std::vector<bool> inTree(state.BranchCount(), false);
  if (state.NodeCount == 0) return inTree;
  const std::vector<std::vector<std::pair<int, int>>> at = BranchesAtNodes(state);
  std::vector<char> reached(state.NodeCount, 0);
  std::deque<int> queue{0};
  reached[0] = 1;
  while (!queue.empty()) {
    const int u = queue.front();
    queue.pop_front();
    for (const auto& [v, branch] : at[u]) {
      if (reached[v]) continue;
      reached[v] = 1;
      inTree[branch] = true;
      queue.push_back(v);
    }
  }
  return inTree;
}

LoopSearchResult FindLoops(CircuitState& state, ResultsDirectory& results, MemoView& loops) {
  LoopSearchCounts counts;
  return FindLoops(state, results, loops, counts);
}

LoopSearchResult FindLoops(CircuitState& state, ResultsDirectory& results, MemoView& loops, LoopSearchCounts& counts) {
  counts = LoopSearchCounts();
  results.Rewrite("adjTable.txt", AdjacencyText(state.Adjacency));
  int m = 0, n = 0;
  CountRealNodes(state, m, n);
  state.LoopCapacity = m - n + 1;
  results.Append("out.txt", "\nКонтуры в цепи\n");
  state.KnownLoops = 0;
  // No branch, no loop: an extended circuit would otherwise pass as one loop.
  if (state.BranchCount() == 0) {
    state.Loops.clear();
    return LoopSearchResult::RealNodeRuleBroken;
  }
  if (NeedsSourceLoops(state, n)) return SearchAroundSources(state, results, loops);

  state.Loops.clear();
  state.Loops.reserve(std::max(state.LoopCapacity, 0));
  LoopIndependence independence(state.Branches);

  PathBuffers buffers;
  if (!FirstPass(state, results, independence, buffers)) return LoopSearchResult::NotClosed;
  counts.firstPass = state.LoopCount();
  if (LoopBreakingRealNodeRule(state)) return LoopSearchResult::RealNodeRuleBroken;
  if (state.LoopCount() != state.LoopCapacity) {
    JoinGroups(state, independence, counts, buffers);
    CompleteWithFundamentalLoops(state, independence, counts, buffers);
  }
  // Fundamental loops always complete a circuit that has branches.
  if (state.LoopCount() < state.LoopCapacity) return LoopSearchResult::RealNodeRuleBroken;
  ListLoops(state, loops);
  return LoopSearchResult::Found;
}

}  // namespace ohmara
