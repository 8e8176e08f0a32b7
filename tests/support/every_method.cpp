#include "support/every_method.h"

#include <cmath>
#include <functional>
#include <stdexcept>

#include "analysis/circuit_check.h"
#include "analysis/finite_results.h"
#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "model/errors.h"
#include "support/fault_rules.h"

namespace ohmara {

namespace {

bool ShowsNonFinite(const std::string& text) {
  return text.find("nan") != std::string::npos || text.find("inf") != std::string::npos;
}

std::string NonFiniteShown(const std::vector<const MemoLines*>& memos, const std::vector<const GridCells*>& grids) {
  for (const MemoLines* memo : memos)
    for (const std::string& line : memo->lines)
      if (ShowsNonFinite(line)) return "shown: " + line;
  for (const GridCells* grid : grids)
    for (const auto& [place, text] : grid->cells)
      if (ShowsNonFinite(text)) return "shown in a grid: " + text;
  return "";
}

// Source and consumed power agree on the scale of the terms they sum, which
// is where the rounding of a correct solution lives.
std::string BalanceBroken(const std::vector<CircuitBranch>& branches, const std::vector<Complex>& currents,
                          Complex source, Complex consumed) {
  for (Complex value : currents)
    if (!IsFinite(value)) return "a success with a current that is not finite";
  if (!IsFinite(source) || !IsFinite(consumed)) return "a success with a power that is not finite";
  const Complex gap = source - consumed;
  if (std::hypot(gap.re, gap.im) > kBalanceTolerance * BalanceScale(branches, currents))
    return "a success whose power balance does not close";
  return "";
}

// Runs one method call; a designed error is noted as a refusal.
template <class Method>
bool Refused(EveryMethodRun& run, Method method) {
  try {
    if (method()) ++run.solved;
    return false;
  } catch (const Refusal& refusal) {
    // The editor, the generator and the class variants never run here: their
    // refusals would be a fault.
    const RefusalKind kind = refusal.Category();
    if (kind == RefusalKind::Editor || kind == RefusalKind::Generator || kind == RefusalKind::Variants) throw;
    run.refusals.push_back(refusal.what());
  }
  return true;
}

std::string CheckMesh(const CircuitState& state, ResultsDirectory& results, MeshTexts& window, EveryMethodRun& run) {
  MeshViews views = window.Views();
  MeshSolution solution;
  bool solved = false;
  if (!Refused(run, [&] { return solved = MeshCurrentMethod(state, results, views, solution); }) && solved) {
    for (Complex value : solution.loopCurrents)
      if (!IsFinite(value)) return "mesh: a success with a loop current that is not finite";
    if (std::string broken = BalanceBroken(state.Branches, solution.branchCurrents, solution.source, solution.consumed);
        !broken.empty())
      return "mesh: " + broken;
  }
  return NonFiniteShown(
      {&window.branchValues, &window.loops, &window.loopCurrents, &window.branchCurrents, &window.powerBalance},
      {&window.impedanceMatrix, &window.emfColumn});
}

std::string CheckNodal(const char* name, NodeMethod method, const CircuitState& state, int z, ResultsDirectory& results,
                       EveryMethodRun& run) {
  NodeTexts window;
  NodeViews views = window.Views();
  NodalSolution solution;
  bool solved = false;
  if (!Refused(run, [&] { return solved = method(state, z, results, views, &solution); }) && solved) {
    for (Complex value : solution.Potentials)
      if (!IsFinite(value)) return std::string(name) + ": a success with a potential that is not finite";
    if (std::string broken =
            BalanceBroken(state.Branches, solution.Currents, solution.SourcePower, solution.ConsumedPower);
        !broken.empty())
      return std::string(name) + ": " + broken;
  }
  std::string shown =
      NonFiniteShown({&window.branchValues, &window.potentials, &window.branchCurrents, &window.powerBalance},
                     {&window.admittanceMatrix, &window.sourceCurrentColumn});
  return shown.empty() ? shown : std::string(name) + ": " + shown;
}

}  // namespace

std::string CheckEveryMethod(const BranchTable& table, const FrequencySetting& frequency, ResultsDirectory& results,
                             EveryMethodRun& run, bool extended) {
  run = {};
  CircuitState state;
  state.Extended = extended;
  MeshTexts window;
  MeshViews views = window.Views();
  CircuitCheckOutcome outcome;
  const auto test = [&] {
    outcome = RunCircuitCheck(state, table, frequency, results, views);
    run.passed = outcome.passed;
    return false;
  };
  const bool refused = Refused(run, test);
  if (std::string broken = refused ? "" : FaultRuleBroken(table, outcome); !broken.empty())
    return "the test: " + broken;
  if (refused || !run.passed) return NonFiniteShown({&window.branchValues, &window.loops}, {});
  if (std::string broken = CheckMesh(state, results, window, run); !broken.empty()) return broken;
  for (int z = 1; z <= state.NodeCount; ++z) {
    if (std::string broken = CheckNodal("node potentials", NodePotentialMethod, state, z, results, run);
        !broken.empty())
      return broken;
    if (!state.RealNodes.contains(z)) continue;
    if (std::string broken = CheckNodal("optimal node potentials", OptimalNodePotentialMethod, state, z, results, run);
        !broken.empty())
      return broken;
  }
  return "";
}

}  // namespace ohmara
