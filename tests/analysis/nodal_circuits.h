#pragma once
// Circuits built by hand for the node-potential tests: branches with their Z
// and E already computed, the adjacency and the real nodes as the circuit test
// leaves them, and NeedsTest cleared.

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "analysis/node_potential.h"
#include "analysis/result_views.h"
#include "model/circuit.h"
#include "model/results_directory.h"
#include "model/text_file.h"
#include "support/scratch_directory.h"

namespace ohmara {

struct HandBranch {
  int from, to;
  Complex z, e;
};

inline CircuitState HandCircuit(const std::vector<HandBranch>& branches) {
  CircuitState state;
  for (const HandBranch& hand : branches) {
    TBranch branch;
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

// A results directory in a fresh scratch directory, with the texts of its
// files as the program reads them back (UTF-8, "\n").
class ScratchResults {
 public:
  ScratchResults() : results(scratch.Path()) {}
  std::string Text(const std::string& name) const {
    return ReadTextFile(scratch.Path() / name).value_or(std::string());
  }
  bool Exists(const std::string& name) const { return scratch.Exists(name); }

  ScratchDirectory scratch{"ohmara-nodal"};
  ResultsDirectory results;
};

}  // namespace ohmara
