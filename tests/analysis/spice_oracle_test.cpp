// The mesh-current method against ngspice: the same circuit solved by an
// independent simulator must give every branch current to 1e-6.

#include "support/spice_oracle.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "analysis/mesh_current.h"
#include "analysis/table_circuits.h"
#include "generator/random_circuit.h"
#include "support/results_fixture.h"

namespace ohmara {
namespace {

// Hand-made circuits: every element kind, sources at several phases, every
// unit, a node joined only through capacitors (no DC path), a branch with no
// element at all, a negative source magnitude and decimal commas.
std::vector<TableCircuit> HandMadeCircuits() {
  return {
      {"resistive two loops, Hz",
       {Row("1->2", "1", "", "", "10", "0"), Row("2->3", "1", "", "", "", ""), Row("3->1", "1", "", "", "", ""),
        Row("2->4", "1", "", "", "", ""), Row("4->3", "1", "", "", "", "")},
       {"15", 0}},
      RlcWithPhases(),
      CompleteGraphAtMegahertz(),
      {"node 4 reached through capacitors only",
       {Row("1->2", "10", "", "", "12", "0"), Row("2->3", "20", "", "", "", ""), Row("3->1", "30", "", "", "", ""),
        Row("2->4", "", "", "100", "", ""), Row("4->3", "", "", "47", "", "")},
       {"50", 0}},
      {"an empty branch, a negative source, decimal commas",
       {Row("1->2", "2,5", "", "", "-12", "15"), Row("2->3", "4.5", "7,25", "", "", ""),
        Row("3->1", "", "", "", "", ""), Row("3->4", "6", "", "33", "9", "60,5"), Row("4->1", "1,5", "", "", "", "")},
       {"24", 0}},
  };
}

// Circuits of the random generator, over its range of loops and points,
// each unit in turn.
std::vector<TableCircuit> GeneratedCircuits(ResultsDirectory& results) {
  std::vector<TableCircuit> circuits;
  EngineRandomSource random(20240611);
  for (int i = 0; i < 18; ++i) {
    const int loops = 2 + i % 8;
    const int points = 4 + (i * 7) % 16;
    const RandomCircuit circuit = GenerateRandomCircuit(loops, points, random, results);
    circuits.push_back(GeneratedCircuit("generated #" + std::to_string(i) + " (" + std::to_string(loops) + " loops, " +
                                            std::to_string(points) + " points)",
                                        circuit, i % 3));
  }
  return circuits;
}

// A branch copied along a loop step from `from` to `to`: reversed (ends
// exchanged, E negated) when the loop travels it backwards.
CircuitBranch Step(const CircuitBranch& branch, int from) {
  CircuitBranch step = branch;
  if (branch.From != from) {
    std::swap(step.From, step.To);
    step.E = step.E * -1.0;
  }
  return step;
}

// The loops of a breadth-first spanning tree: every branch outside the tree
// closes one loop through the tree. Another loop set than the program's own
// search finds, so the oracle also shows that the currents do not depend on
// which independent loops are taken.
std::vector<Loop> TreeLoops(const CircuitState& state) {
  const int n = state.NodeCount;
  std::vector<int> parentBranch(n + 1, -1), parent(n + 1, 0), depth(n + 1, -1);
  std::vector<bool> inTree(state.Branches.size(), false);
  std::deque<int> queue = {1};
  depth[1] = 0;
  while (!queue.empty()) {
    const int node = queue.front();
    queue.pop_front();
    for (size_t k = 0; k < state.Branches.size(); ++k) {
      const CircuitBranch& b = state.Branches[k];
      const int other = b.From == node ? b.To : b.To == node ? b.From : 0;
      if (other == 0 || depth[other] >= 0) continue;
      depth[other] = depth[node] + 1;
      parent[other] = node;
      parentBranch[other] = static_cast<int>(k);
      inTree[k] = true;
      queue.push_back(other);
    }
  }
  std::vector<Loop> loops;
  for (size_t k = 0; k < state.Branches.size(); ++k) {
    if (inTree[k]) continue;
    const CircuitBranch& chord = state.Branches[k];
    // From the chord's end up to the meeting point, then down to its start.
    std::vector<int> up, down;  // branch indices
    std::vector<int> upFrom, downFrom;
    int a = chord.To, b = chord.From;
    while (a != b) {
      if (depth[a] >= depth[b]) {
        up.push_back(parentBranch[a]);
        upFrom.push_back(a);
        a = parent[a];
      } else {
        down.insert(down.begin(), parentBranch[b]);
        downFrom.insert(downFrom.begin(), parent[b]);
        b = parent[b];
      }
    }
    Loop loop;
    for (size_t s = 0; s < up.size(); ++s) loop.AddStep(Step(state.Branches[up[s]], upFrom[s]), up[s]);
    for (size_t s = 0; s < down.size(); ++s) loop.AddStep(Step(state.Branches[down[s]], downFrom[s]), down[s]);
    loop.AddStep(chord, static_cast<int>(k));
    loops.push_back(loop);
  }
  return loops;
}

// Runs the method on the tested circuit with its current loop list and
// compares every branch current with ngspice's.
void ExpectMeshAgrees(const CircuitState& state, ResultsDirectory& results, const SpiceSolution& spice,
                      const std::string& what) {
  MeshTexts texts;
  MeshViews views = texts.Views();
  MeshSolution ours;
  ASSERT_TRUE(MeshCurrentMethod(state, results, views, ours)) << what;
  ExpectAgreesWithSpice(ours.branchCurrents, spice.currents, what + ", current of branch", spice.currentFloor);
  const Complex imbalance = ours.source - ours.consumed;
  EXPECT_LE(std::hypot(imbalance.re, imbalance.im),
            1e-9 * std::max(1.0, std::hypot(ours.consumed.re, ours.consumed.im)))
      << what << ": the power balance does not close";
}

// The circuit through the program's own test and loops, then once more with
// the tree loops (also for a circuit the test refuses, such as a single
// loop, which is still a sound circuit). Returns whether the test passed.
bool ExpectAgreement(const TableCircuit& circuit) {
  ScratchResults dir;
  ResultsDirectory& results = dir.Results();
  CircuitState state;
  const bool passed = Tested(circuit, state, results);
  const SpiceSolution spice = SolveWithSpice(state.Branches, circuit.table, circuit.frequency, state.NodeCount);
  if (passed) ExpectMeshAgrees(state, results, spice, circuit.what + ", loops of the test");
  state.Loops = TreeLoops(state);
  state.NeedsTest = false;
  ExpectMeshAgrees(state, results, spice, circuit.what + ", tree loops");
  return passed;
}

class SpiceOracle : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SpiceAvailable()) << kSpiceMissing; }
};

TEST_F(SpiceOracle, HandMadeCircuits) {
  for (const TableCircuit& circuit : HandMadeCircuits()) EXPECT_TRUE(ExpectAgreement(circuit)) << circuit.what;
}

TEST_F(SpiceOracle, GeneratedCircuits) {
  ScratchResults dir;
  int passed = 0;
  for (const TableCircuit& circuit : GeneratedCircuits(dir.Results())) passed += ExpectAgreement(circuit);
  // Most generated circuits pass the test; the loops of the test are then compared too.
  EXPECT_GE(passed, 12);
}

}  // namespace
}  // namespace ohmara
