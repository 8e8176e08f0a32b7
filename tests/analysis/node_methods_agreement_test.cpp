// The three solving methods on the same tested circuits: the optimal and the
// basic node-potential method and the mesh-current method must give the same
// branch currents, each must balance its powers, and the node methods must
// agree with ngspice for several choices of the zero node.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "analysis/table_circuits.h"
#include "generator/random_circuit.h"
#include "model/errors.h"
#include "support/results_fixture.h"
#include "support/spice_oracle.h"

namespace ohmara {
namespace {

// How closely two methods agree on a circuit, relative to its largest value.
// At megahertz the generator's millihenries and microfarads give impedances
// from 1e-2 to 1e5 ohms: the potentials of the two ends of a small impedance
// then agree in their first eight digits or so, and the current formed from
// their difference keeps only the rest. That is the node-potential method's
// own conditioning, not a fault, so those circuits get a wider bound.
double Tolerance(const TableCircuit& circuit) { return circuit.frequency.unitIndex == 2 ? 1e-5 : 1e-9; }

// A table of a random two-connected circuit: a cycle, then ears (paths
// between two different points already placed, through new points or
// directly). Such a circuit has no ring and passes the circuit test; node
// numbers, branch directions and the row order are shuffled so that chains
// start at either end and inner points are met in any order.
class EarCircuitMaker {
 public:
  explicit EarCircuitMaker(unsigned seed) : random_(seed) {}

  TableCircuit Make(int ears) {
    nodes_ = 0;
    pairs_.clear();
    const int cycle = Uniform(3, 5);
    for (int k = 1; k <= cycle; ++k) AddPair(k, k % cycle + 1);
    nodes_ = cycle;
    for (int e = 0; e < ears; ++e) AddEar();
    return {"ears " + std::to_string(ears), Table(), {std::to_string(Uniform(10, 500)), Uniform(0, 1)}};
  }

 private:
  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Joined(int a, int b) const {
    return std::any_of(pairs_.begin(), pairs_.end(), [&](const std::pair<int, int>& p) {
      return (p.first == a && p.second == b) || (p.first == b && p.second == a);
    });
  }
  void AddPair(int a, int b) { pairs_.emplace_back(a, b); }

  void AddEar() {
    int a, b, inner;
    do {  // a direct ear must not repeat a pair
      a = Uniform(1, nodes_);
      b = Uniform(1, nodes_ - 1);
      if (b >= a) ++b;
      inner = Uniform(0, 3);
    } while (inner == 0 && Joined(a, b));
    int previous = a;
    for (int i = 0; i < inner; ++i) {
      AddPair(previous, ++nodes_);
      previous = nodes_;
    }
    AddPair(previous, b);
  }

  // A value cell: blank now and then, otherwise a number with a decimal part.
  std::string Cell(int low, int high, int blankPercent) {
    if (Uniform(1, 100) <= blankPercent) return "";
    return std::to_string(Uniform(low, high)) + "." + std::to_string(Uniform(0, 9));
  }

  BranchTable Table() {
    std::vector<int> label(nodes_ + 1);
    for (int k = 1; k <= nodes_; ++k) label[k] = k;
    std::shuffle(label.begin() + 1, label.end(), random_);
    std::shuffle(pairs_.begin(), pairs_.end(), random_);
    BranchTable table;
    for (auto [a, b] : pairs_) {
      if (Uniform(0, 1)) std::swap(a, b);
      const std::string name = std::to_string(label[a]) + "->" + std::to_string(label[b]);
      const std::string e = Cell(1, 100, 60);
      const std::string angle = e.empty() ? "" : Cell(-180, 180, 0);
      table.push_back({name, Cell(1, 50, 0), Cell(1, 20, 60), Cell(1, 200, 60), e, angle});
    }
    return table;
  }

  std::mt19937 random_;
  int nodes_ = 0;
  std::vector<std::pair<int, int>> pairs_;
};

std::vector<TableCircuit> RandomCircuits() {
  std::vector<TableCircuit> circuits;
  EarCircuitMaker maker(777);
  for (int i = 0; i < 12; ++i) circuits.push_back(maker.Make(2 + i % 6));
  ScratchResults files;
  EngineRandomSource random(4242);
  for (int i = 0; i < 12; ++i) {
    const int loops = 2 + i % 8, points = 4 + (i * 5) % 15;
    const RandomCircuit circuit = GenerateRandomCircuit(loops, points, random, files.Results());
    circuits.push_back(GeneratedCircuit(
        "generated " + std::to_string(loops) + " loops, " + std::to_string(points) + " points", circuit, i % 3));
  }
  return circuits;
}

std::vector<int> RealNodesOf(const CircuitState& state) {
  std::vector<int> nodes;
  for (int node = 1; node <= state.NodeCount; ++node)
    if (state.RealNodes.contains(node)) nodes.push_back(node);
  return nodes;
}

bool Close(Complex a, Complex b, double bound) { return std::hypot(a.re - b.re, a.im - b.im) <= bound; }

void ExpectSameCurrents(const std::vector<Complex>& ours, const std::vector<Complex>& reference, double tolerance,
                        const std::string& what) {
  ASSERT_EQ(ours.size(), reference.size()) << what;
  const double bound = tolerance * LargestMagnitude(reference);
  for (size_t k = 0; k < ours.size(); ++k)
    EXPECT_TRUE(Close(ours[k], reference[k], bound))
        << what << ", branch " << k + 1 << ": " << ours[k].re << "+" << ours[k].im << "i against " << reference[k].re
        << "+" << reference[k].im << "i";
}

void ExpectBalanced(Complex source, Complex consumed, double tolerance, const std::string& what) {
  const double scale = std::max(std::hypot(source.re, source.im), std::hypot(consumed.re, consumed.im));
  EXPECT_TRUE(Close(source, consumed, tolerance * scale)) << what << ": sources " << source.re << "+" << source.im
                                                          << "i, consumed " << consumed.re << "+" << consumed.im << "i";
}

MeshSolution SolveByMesh(const CircuitState& state, ResultsDirectory& results) {
  MeshTexts window;
  MeshViews views = window.Views();
  MeshSolution solution;
  EXPECT_TRUE(MeshCurrentMethod(state, results, views, solution));
  return solution;
}

NodalSolution SolveByNodes(NodeMethod method, const CircuitState& state, int z, ResultsDirectory& results) {
  NodeTexts window;
  NodeViews views = window.Views();
  NodalSolution solution;
  EXPECT_TRUE(method(state, z, results, views, &solution));
  return solution;
}

TEST(NodeMethodsAgreement, RandomTestedCircuitsGiveTheSameCurrentsByAllThreeMethods) {
  int passed = 0;
  for (const TableCircuit& circuit : RandomCircuits()) {
    ScratchResults files;
    ResultsDirectory& results = files.Results();
    CircuitState state;
    if (!Tested(circuit, state, results)) continue;
    ++passed;
    const MeshSolution mesh = SolveByMesh(state, results);
    const double tolerance = Tolerance(circuit);
    ExpectBalanced(mesh.source, mesh.consumed, tolerance, circuit.what + ", mesh");
    for (int z : RealNodesOf(state)) {
      const std::string what = circuit.what + ", zero node " + std::to_string(z);
      const NodalSolution basic = SolveByNodes(NodePotentialMethod, state, z, results);
      const NodalSolution optimal = SolveByNodes(OptimalNodePotentialMethod, state, z, results);
      ExpectSameCurrents(basic.Currents, mesh.branchCurrents, tolerance, what + ", basic against mesh");
      ExpectSameCurrents(optimal.Currents, basic.Currents, tolerance, what + ", optimal against basic");
      ExpectBalanced(basic.SourcePower, basic.ConsumedPower, tolerance, what + ", basic");
      ExpectBalanced(optimal.SourcePower, optimal.ConsumedPower, tolerance, what + ", optimal");
    }
  }
  // Every ear circuit passes the test; most generated ones do too.
  EXPECT_GE(passed, 18);
}

// The chain 1 -> 5 -> 2 -> 3 whose middle branch has a source and nothing
// else: the test passes it, the mesh and the optimal method solve it, the
// basic method cannot form its admittance.
TEST(NodeMethodsAgreement, SourceOnlyBranchInsideAChain) {
  const TableCircuit circuit{
      "source-only branch",
      {Row("1->5", "10", "", "", "", ""), Row("5->2", "", "", "", "12", "30"), Row("2->3", "", "20", "", "", ""),
       Row("1->3", "15", "", "", "", ""), Row("3->4", "", "", "100", "", ""), Row("4->1", "5", "", "", "", "")},
      {"50", 0}};
  ScratchResults files;
  ResultsDirectory& results = files.Results();
  CircuitState state;
  ASSERT_TRUE(Tested(circuit, state, results));
  const MeshSolution mesh = SolveByMesh(state, results);
  for (int z : {1, 3}) {
    const NodalSolution optimal = SolveByNodes(OptimalNodePotentialMethod, state, z, results);
    ExpectSameCurrents(optimal.Currents, mesh.branchCurrents, Tolerance(circuit),
                       "optimal against mesh, zero node " + std::to_string(z));
    NodeTexts window;
    NodeViews views = window.Views();
    try {
      NodePotentialMethod(state, z, results, views);
      ADD_FAILURE() << "the basic method formed 1/Z of a branch without impedance";
    } catch (const DivisionByZero& error) {
      EXPECT_EQ(error.Quantity(), "Y52");
    }
  }
}

// Hand-made circuits with every element kind, every unit and several phases.
std::vector<TableCircuit> OracleCircuits() {
  // A chain 4 -> 5 -> 1 beside the RLC circuit gives the optimal method
  // something to fold.
  TableCircuit rlc = RlcWithPhases();
  rlc.table.push_back(Row("4->5", "3", "", "", "", ""));
  rlc.table.push_back(Row("5->1", "", "0.7", "", "9", "200"));
  std::vector<TableCircuit> circuits = {
      {"worked example",
       {Row("1->2", "1", "", "", "10", "0"), Row("2->3", "1", "", "", "", ""), Row("3->4", "1", "", "", "", ""),
        Row("4->1", "1", "", "", "", ""), Row("1->3", "2", "", "", "", "")},
       {"15", 0}},
      rlc,
      CompleteGraphAtMegahertz(),
  };
  EarCircuitMaker maker(31337);
  for (int ears : {3, 5, 7}) circuits.push_back(maker.Make(ears));
  return circuits;
}

// Up to three zero nodes of a circuit: its first, middle and last real node.
std::vector<int> SomeRealNodes(const CircuitState& state) {
  const std::vector<int> real = RealNodesOf(state);
  std::vector<int> chosen = {real.front(), real[real.size() / 2], real.back()};
  chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
  return chosen;
}

// The potentials of ngspice at the nodes the optimal method lists.
std::vector<Complex> SpicePotentialsOf(const SpiceSolution& spice, const std::vector<int>& nodes) {
  std::vector<Complex> chosen;
  for (int node : nodes) chosen.push_back(spice.potentials[node - 1]);
  return chosen;
}

TEST(NodeMethodsAgreement, BothNodeMethodsAgreeWithSpiceForSeveralZeroNodes) {
  ASSERT_TRUE(SpiceAvailable()) << kSpiceMissing;
  for (const TableCircuit& circuit : OracleCircuits()) {
    ScratchResults files;
    ResultsDirectory& results = files.Results();
    CircuitState state;
    ASSERT_TRUE(Tested(circuit, state, results)) << circuit.what;
    for (int z : SomeRealNodes(state)) {
      const std::string what = circuit.what + ", zero node " + std::to_string(z);
      const SpiceSolution spice = SolveWithSpice(state.Branches, circuit.table, circuit.frequency, state.NodeCount, z);
      const NodalSolution basic = SolveByNodes(NodePotentialMethod, state, z, results);
      const NodalSolution optimal = SolveByNodes(OptimalNodePotentialMethod, state, z, results);
      ExpectAgreesWithSpice(basic.Currents, spice.currents, what + ", basic current");
      ExpectAgreesWithSpice(basic.Potentials, spice.potentials, what + ", basic potential");
      ExpectAgreesWithSpice(optimal.Currents, spice.currents, what + ", optimal current");
      ExpectAgreesWithSpice(optimal.Potentials, SpicePotentialsOf(spice, optimal.Nodes), what + ", optimal potential");
    }
  }
}

}  // namespace
}  // namespace ohmara
