#include "generator/random_circuit.h"

#include <stdexcept>

#include "analysis/loop_search.h"
#include "model/circuit.h"
#include "model/text_format.h"
#include "model/text_views.h"

namespace ohmara {

namespace {

CircuitBranch Joining(int from, int to) {
  CircuitBranch branch;
  branch.From = from;
  branch.To = to;
  return branch;
}

bool AllForbidden(int points, const IntSet& forbidden) {
  for (int node = 1; node <= points; ++node)
    if (!forbidden.contains(node)) return false;
  return true;
}

// 1 + r(points), drawn again while it is forbidden. The caller leaves at
// least one point free, or the redrawing would never end.
int DrawNode(RandomSource& random, int points, const IntSet& forbidden) {
  int node = 0;
  do {
    node = 1 + random.r(points);
  } while (forbidden.contains(node));
  return node;
}

// A new node for the loop: outside the loop and outside `avoid` (the
// previous loop). Four or five points can leave none such; then any node
// outside the loop itself will do - the loop stays a simple cycle, a node
// pair it repeats is merged later, and a circuit that folds onto itself is
// caught by the test of the whole shape. A loop holds at most three nodes
// before its last draw, so from four points on one is always free.
int DrawLoopNode(RandomSource& random, int points, const RandomLoop& loop, const IntSet& avoid) {
  IntSet forbidden = loop.Nodes;
  forbidden.unite(avoid);
  return DrawNode(random, points, AllForbidden(points, forbidden) ? loop.Nodes : forbidden);
}

// Extends a loop that holds its branch 0 to `count` branches and closes it
// back to its start.
void GrowLoop(RandomLoop& loop, int count, RandomSource& random, int points, const IntSet& avoid) {
  for (int i = 1; i <= count - 2; ++i) {
    const int node = DrawLoopNode(random, points, loop, avoid);
    loop.LoopBranches.push_back(Joining(loop.LoopBranches.back().To, node));
    loop.Nodes.add(node);
  }
  loop.LoopBranches.push_back(Joining(loop.LoopBranches.back().To, loop.LoopBranches.front().From));
}

RandomLoop FirstLoop(RandomSource& random, int points) {
  const int count = 3 + random.r(2);
  IntSet start;
  start.add(1);
  const int end = DrawNode(random, points, start);
  RandomLoop loop;
  loop.LoopBranches.push_back(Joining(1, end));
  loop.Nodes.add(1);
  loop.Nodes.add(end);
  GrowLoop(loop, count, random, points, IntSet());
  return loop;
}

// A loop that starts with a copy of one branch of `previous`, in the same
// orientation, so that the two loops share it.
RandomLoop NextLoop(RandomSource& random, int points, const RandomLoop& previous) {
  const int count = 3 + random.r(2);
  const CircuitBranch& shared = previous.LoopBranches[random.r(previous.Count())];
  RandomLoop loop;
  loop.LoopBranches.push_back(Joining(shared.From, shared.To));
  loop.Nodes.add(shared.From);
  loop.Nodes.add(shared.To);
  GrowLoop(loop, count, random, points, previous.Nodes);
  return loop;
}

// Every point the loops missed goes into the last loop, in increasing
// order, each splitting its closing branch x -> s into x -> p and p -> s.
void ThreadUnusedPoints(std::vector<RandomLoop>& loops, int points) {
  IntSet used;
  for (const RandomLoop& loop : loops) used.unite(loop.Nodes);
  RandomLoop& last = loops.back();
  for (int p = 2; p <= points; ++p) {
    if (used.contains(p)) continue;
    const int closingEnd = last.LoopBranches.back().To;
    last.LoopBranches.back().To = p;
    last.LoopBranches.push_back(Joining(p, closingEnd));
    last.Nodes.add(p);
  }
}

std::vector<RandomLoop> DrawLoops(int loops, int points, RandomSource& random) {
  std::vector<RandomLoop> drawn;
  drawn.push_back(FirstLoop(random, points));
  for (int k = 1; k < loops; ++k) drawn.push_back(NextLoop(random, points, drawn.back()));
  ThreadUnusedPoints(drawn, points);
  return drawn;
}

bool Joins(const RandomBranch& branch, int a, int b) {
  return (branch.From == a && branch.To == b) || (branch.From == b && branch.To == a);
}

// The branches of all loops in order, a node pair met again (in either
// orientation) kept only as first met.
std::vector<RandomBranch> DistinctBranches(const std::vector<RandomLoop>& loops) {
  std::vector<RandomBranch> branches;
  for (const RandomLoop& loop : loops)
    for (const CircuitBranch& step : loop.LoopBranches) {
      bool known = false;
      for (const RandomBranch& b : branches) known = known || Joins(b, step.From, step.To);
      if (known) continue;
      RandomBranch branch;
      branch.From = step.From;
      branch.To = step.To;
      branches.push_back(branch);
    }
  return branches;
}

std::string BranchName(const RandomBranch& branch) {
  return std::to_string(branch.From) + "->" + std::to_string(branch.To);
}

// The checks of the circuit test that depend on the shape alone: the table,
// its connectivity and node numbering, and the loop search with its rule
// that every loop passes two nodes where three or more branches meet.
// Element values cannot change their outcome. The search writes out.txt and
// adjTable.txt; those belong to the student's last real test and are kept.
bool PassesStructuralTest(const std::vector<RandomBranch>& branches) {
  std::vector<std::string> names;
  for (const RandomBranch& branch : branches) names.push_back(BranchName(branch));
  CircuitState state;
  if (ParseBranchTable(names, state.Branches, state.NodeCount) != ParseResult::Ok) return false;
  BuildAdjacency(state.Branches, state.NodeCount, state.Adjacency);
  ResultsDirectory discarded = ResultsDirectory::Discarding();
  MemoLines conts;
  return FindLoops(state, discarded, conts) == LoopSearchResult::Found;
}

// Draws the loops until their branches pass the test, leaving the accepted
// attempt in `circuit`; false when no attempt does. Each attempt makes the
// draws of one whole generation up to the element values, so when the first
// attempt passes the draws are those of a single drawing.
bool DrawTestableShape(int loops, int points, RandomSource& random, RandomCircuit& circuit) {
  for (int attempt = 0; attempt < kRandomCircuitAttempts; ++attempt) {
    circuit.Loops = DrawLoops(loops, points, random);
    circuit.RandBranches = DistinctBranches(circuit.Loops);
    if (PassesStructuralTest(circuit.RandBranches)) return true;
  }
  return false;
}

void DrawValues(std::vector<RandomBranch>& branches, RandomSource& random) {
  for (RandomBranch& branch : branches) {
    random.r(3);  // spent unused: the whole sequence of draws is part of the rule
    const RandomElementValues values = RandomElementValues::Draw(random);
    branch.R = values.R;
    branch.L = values.L;
    branch.C = values.C;
    branch.E = values.E;
    branch.Angle = values.Angle;
  }
}

std::string Describe(const std::vector<RandomLoop>& loops, const std::vector<RandomBranch>& branches) {
  std::string text;
  for (const RandomLoop& loop : loops) {
    for (const CircuitBranch& step : loop.LoopBranches) AppendFormat(text, "%d->%d\t", step.From, step.To);
    text += "\n";
  }
  text += "\nВетви:\n";
  for (const RandomBranch& b : branches)
    AppendFormat(text, "%d->%d\t%d\t%d\t%d\t%d\t%d\n", b.From, b.To, b.R, b.L, b.C, b.E, b.Angle);
  return text;
}

}  // namespace

bool RandomSettingsAccepted(int loops, int points) { return points >= 2 && points <= 19 && loops >= 2 && loops <= 9; }

bool RandomCircuitPossible(int points) { return points >= 4; }

RandomCircuit GenerateRandomCircuit(int loops, int points, RandomSource& random, ResultsDirectory& results) {
  const std::string request = std::to_string(loops) + " loops over " + std::to_string(points) + " points";
  if (!RandomCircuitPossible(points) || points > kMaxNode || loops < 2)
    throw std::invalid_argument("no random circuit of " + request);
  RandomCircuit circuit;
  if (!DrawTestableShape(loops, points, random, circuit))
    throw NoTestableRandomCircuit("no random circuit of " + request + " passed the circuit test in " +
                                  std::to_string(kRandomCircuitAttempts) + " attempts");
  DrawValues(circuit.RandBranches, random);
  circuit.Description = Describe(circuit.Loops, circuit.RandBranches);
  results.Rewrite(kRandomCircuitFile, circuit.Description);

  circuit.Frequency = 10 + random.r(15);
  circuit.Table = RandomBranchTable(circuit.RandBranches);
  return circuit;
}

BranchTable RandomBranchTable(const std::vector<RandomBranch>& branches) {
  BranchTable table;
  for (const RandomBranch& b : branches) {
    BranchRow row;
    row[kNameColumn] = BranchName(b);
    WriteElementValues(RandomElementValues{b.R, b.L, b.C, b.E, b.Angle}, row);
    table.push_back(std::move(row));
  }
  return table;
}

}  // namespace ohmara
