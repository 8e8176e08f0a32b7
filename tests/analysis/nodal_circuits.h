#pragma once
// Circuits built by hand for the node-potential tests: branches with their Z
// and E already computed, the adjacency and the real nodes as the circuit test
// leaves them, and NeedsTest cleared; what the methods show for the worked
// example; and a run of a method with its own window and results directory.

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/method_sections.h"
#include "analysis/node_potential.h"
#include "analysis/result_views.h"
#include "model/circuit.h"
#include "support/results_fixture.h"

namespace ohmara {

struct HandBranch {
  int from, to;
  Complex z, e;
};

inline CircuitState HandCircuit(const std::vector<HandBranch>& branches) {
  CircuitState state;
  for (const HandBranch& hand : branches) {
    CircuitBranch branch;
    branch.From = hand.from;
    branch.To = hand.to;
    branch.Z = hand.z;
    branch.E = hand.e;
    state.Branches.push_back(branch);
    state.NodeCount = std::max({state.NodeCount, hand.from, hand.to});
  }
  BuildAdjacency(state.Branches, state.NodeCount, state.Adjacency);
  int m = 0, n = 0;
  CountRealNodes(state, m, n);
  state.NeedsTest = false;
  return state;
}

// The circuit of the worked example: a square 1-2-3-4 with the diagonal 1->3,
// 10 V in 1->2; `fourToThree` writes the branch 3->4 as 4->3 instead.
inline CircuitState WorkedExample(bool fourToThree = false) {
  const Complex one{1, 0};
  return HandCircuit({{1, 2, one, {10, 0}},
                      {2, 3, one, {}},
                      fourToThree ? HandBranch{4, 3, one, {}} : HandBranch{3, 4, one, {}},
                      {4, 1, one, {}},
                      {1, 3, {2, 0}, {}}});
}

// The circuit of the label example: the chain 1 -> 5 -> 2 -> 3 beside the
// direct branch 1->3 and the chain 3 -> 4 -> 1; `middle` is the branch 5->2.
inline CircuitState ChainThroughFive(HandBranch middle) {
  return HandCircuit(
      {{1, 5, {1, 0}, {}}, middle, {2, 3, {1, 0}, {}}, {1, 3, {2, 0}, {}}, {3, 4, {1, 0}, {}}, {4, 1, {1, 0}, {}}});
}

// What every node method shows for the worked example whichever node is zero.
inline Lines WorkedExampleCurrentLines() {
  return {"I12 =  3.3333", "I23 =  3.3333", "I34 =  1.6667", "I41 =  1.6667", "I13 = -1.6667"};
}
inline Lines WorkedExamplePowerLines() { return {"Мощность источников = 33.3333", "Потребляемая мощность = 33.3333"}; }

// The end of a node method's out.txt section for the worked example: the
// branch currents and the power balance.
inline std::string WorkedExampleFileCurrents() {
  return "I12=3.33333+0.00000i\t\t\n"
         "I23=3.33333+0.00000i\t\t\n"
         "I34=1.66667+0.00000i\t\t\n"
         "I41=1.66667+0.00000i\t\t\n"
         "I13=-1.66667+0.00000i\t\t\n"
         "\nБаланс мощностей\n"
         "Мощность источников = 33.33333+0.00000i\n"
         "Потребляемая мощность = 33.33333+0.00000i\n";
}

// One or more runs of the node methods into one window and one results
// directory.
struct NodalRun {
  // Runs `method` with zero node `z`; a throw passes through, leaving the
  // window as the method left it.
  bool Run(NodeMethod method, const CircuitState& state, int z) {
    NodeViews views = window.Views();
    return method(state, z, files.Results(), views, &solution);
  }

  NodeTexts window;
  ScratchResults files{"ohmara-nodal"};
  NodalSolution solution;
};

}  // namespace ohmara
