#include "analysis/circuit_check.h"

#include "analysis/circuit_faults.h"

namespace ohmara {

namespace {

// The memos the test's own results replace, and those of the last solution,
// which belonged to the circuit being replaced.
void ClearMeshCurrentMemos(MeshViews& views) {
  views.loops.Clear();
  views.branchValues.Clear();
  views.loopCurrents.Clear();
  views.powerBalance.Clear();
  views.branchCurrents.Clear();
}

}  // namespace

CircuitCheckOutcome RunCircuitCheck(CircuitState& state, const BranchTable& table, const FrequencySetting& frequency,
                                    ResultsDirectory& results, MeshViews& views) {
  CircuitCheckOutcome outcome;
  // The test's record goes to out.txt in one write, however it ends.
  const ResultsDirectory::Holding record = results.Hold("out.txt");
  results.Rewrite("out.txt", "");
  state.NeedsTest = true;
  outcome.parseResult =
      ParseBranchTable(BranchNames(table), state.Branches, state.NodeCount, state.Extended, &outcome.fault);
  if (outcome.parseResult != ParseResult::Ok) return outcome;

  ClearMeshCurrentMemos(views);
  ComputeBranchImpedances(state.Branches, table, frequency, results, views.branchValues);
  BuildAdjacency(state.Branches, state.NodeCount, state.Adjacency);
  outcome.loopResult = FindLoops(state, results, views.loops);
  if (outcome.loopResult != LoopSearchResult::Found) {
    outcome.fault = LoopFault(table, state);
    return outcome;
  }

  CountRealNodes(state, outcome.m, outcome.n);
  // A circuit without junctions is one branch closed on itself.
  if (outcome.n == 0) outcome.m = 1;
  state.NeedsTest = false;
  outcome.passed = true;
  return outcome;
}

ZeroNodeRefusal ZeroNodeRefusalOf(const CircuitState& state, int zeroNode, bool junctionNeeded) {
  if (zeroNode < 1 || zeroNode > state.NodeCount) return ZeroNodeRefusal::NotANode;
  if (!junctionNeeded) return ZeroNodeRefusal::None;
  if (state.RealNodes.empty()) return ZeroNodeRefusal::NoJunctions;
  return state.RealNodes.contains(zeroNode) ? ZeroNodeRefusal::None : ZeroNodeRefusal::NotAJunction;
}

}  // namespace ohmara
