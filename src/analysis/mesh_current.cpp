#include "analysis/mesh_current.h"

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/finite_results.h"
#include "analysis/linear_solver.h"
#include "analysis/power_balance.h"
#include "model/text_format.h"

namespace ohmara {

namespace {


// Sizes impedanceMatrix and emfColumn for the system and shows every entry, before the
// solver runs, so the window shows the matrix even when it is singular.
void ShowLoopSystem(const ComplexMatrix& rows, int loops, MeshViews& views) {
  views.impedanceMatrix.SetRowCount(loops);
  views.impedanceMatrix.SetColCount(loops);
  views.emfColumn.SetColWidth(0, 110);
  views.emfColumn.SetRowCount(loops + 1);
  views.emfColumn.SetColCount(1);
  for (int p = 0; p < loops; ++p) {
    views.impedanceMatrix.SetColWidth(p, 100);
    views.emfColumn.SetCell(0, p, ComplexToText(rows[p][loops]));
    for (int q = 0; q < loops; ++q) views.impedanceMatrix.SetCell(q, p, ComplexToText(rows[p][q]));
  }
}

// The current of branch b from its From to its To: each loop through it adds
// its loop current, with the sign of the direction in which it travels it.
Complex BranchCurrent(const CircuitState& state, int b, const std::vector<Complex>& loopCurrents) {
  Complex current;
  for (int q = 0; q < state.LoopCount(); ++q) {
    const TLoop& loop = state.Loops[q];
    const auto step = std::find(loop.Branches.begin(), loop.Branches.end(), b);
    if (step == loop.Branches.end()) continue;
    if (loop.Forward(state.Branches, static_cast<int>(step - loop.Branches.begin())))
      current += loopCurrents[q];
    else
      current -= loopCurrents[q];
  }
  return current;
}

void ShowLoopCurrents(MemoView& memo, const std::vector<Complex>& loopCurrents) {
  for (size_t p = 0; p < loopCurrents.size(); ++p)
    memo.Add(LoopCurrentName(static_cast<int>(p)) + " = " + ComplexToText(loopCurrents[p]));
}

void RequireFiniteLoopCurrents(const std::vector<Complex>& loopCurrents) {
  for (size_t p = 0; p < loopCurrents.size(); ++p) {
    const std::string name = LoopCurrentName(static_cast<int>(p));
    RequireFinite(loopCurrents[p], name, "контурного тока " + name);
  }
}

}  // namespace

std::string LoopCurrentName(int p) { return Format("I%d%d", p + 1, p + 1); }

Complex LoopImpedance(const CircuitState& state, int p, int q) {
  const TLoop& loopP = state.Loops.at(p);
  Complex sum;
  if (p == q) {
    for (const TBranch& step : loopP.Steps) sum += step.Z;
    return sum;
  }
  const TLoop& loopQ = state.Loops.at(q);
  for (int a = 0; a < loopP.StepCount(); ++a) {
    for (int b = 0; b < loopQ.StepCount(); ++b) {
      if (loopP.Branches[a] != loopQ.Branches[b]) continue;
      if (loopP.Forward(state.Branches, a) == loopQ.Forward(state.Branches, b))
        sum += loopP.Steps[a].Z;
      else
        sum -= loopP.Steps[a].Z;
    }
  }
  return sum;
}

Complex LoopEmf(const CircuitState& state, int p) {
  Complex sum;
  for (const TBranch& step : state.Loops.at(p).Steps) sum += step.E;
  return sum;
}

ComplexMatrix LoopSystem(const CircuitState& state) {
  const int loops = state.LoopCount();
  ComplexMatrix rows(loops, std::vector<Complex>(loops + 1));
  for (int p = 0; p < loops; ++p) {
    rows[p][loops] = LoopEmf(state, p);
    for (int q = 0; q < loops; ++q) rows[p][q] = LoopImpedance(state, p, q);
  }
  return rows;
}

std::vector<Complex> BranchCurrentsFromLoops(const CircuitState& state, const std::vector<Complex>& loopCurrents) {
  std::vector<Complex> currents;
  currents.reserve(state.Branches.size());
  for (int b = 0; b < state.BranchCount(); ++b) currents.push_back(BranchCurrent(state, b, loopCurrents));
  return currents;
}

bool MeshCurrentMethod(const CircuitState& state, ResultsDirectory& results, MeshViews& views) {
  MeshSolution solution;
  return MeshCurrentMethod(state, results, views, solution);
}

bool MeshCurrentMethod(const CircuitState& state, ResultsDirectory& results, MeshViews& views,
                       MeshSolution& solution) {
  solution = {};
  if (state.NeedsTest || state.BranchCount() == 0) return false;
  // The memos this method owns hold one run's results, however it is called.
  views.loopCurrents.Clear();
  views.branchCurrents.Clear();
  views.powerBalance.Clear();

  ComplexMatrix rows = LoopSystem(state);
  RequireFiniteSystem(rows, state.LoopCount());
  ShowLoopSystem(rows, state.LoopCount(), views);
  solution.system = rows;
  solution.loopCurrents = SolveLinearSystem(rows, state.LoopCount(), results, "Currents.txt");
  solution.branchCurrents = BranchCurrentsFromLoops(state, solution.loopCurrents);
  RequireFiniteLoopCurrents(solution.loopCurrents);
  RequireSoundCurrentsAndPower(state.Branches, solution.branchCurrents);

  ShowLoopCurrents(views.loopCurrents, solution.loopCurrents);
  std::string section = MethodSectionHeader("Метод контурных токов") + "\n\nТоки:\n";
  ReportBranchCurrents(state.Branches, solution.branchCurrents, views.branchCurrents, section);
  section += "\n";

  PowerBalance(state.Branches, solution.branchCurrents, solution.source, solution.consumed);
  ShowPowerBalance(views.powerBalance, solution.source, solution.consumed);
  section += PowerBalanceFileText(solution.source, solution.consumed);
  results.Append("out.txt", section);
  return true;
}

}  // namespace ohmara
