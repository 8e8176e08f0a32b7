#include "analysis/mesh_current.h"

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/finite_results.h"
#include "analysis/linear_solver.h"
#include "analysis/power_balance.h"
#include "model/polar_text.h"
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
    const Loop& loop = state.Loops[q];
    const auto step = std::find(loop.Branches.begin(), loop.Branches.end(), b);
    if (step == loop.Branches.end()) continue;
    if (loop.Forward(state.Branches, static_cast<int>(step - loop.Branches.begin()))) current += loopCurrents[q];
    else current -= loopCurrents[q];
  }
  return current;
}

// The loops of the current sources come last and show their current as given.
void ShowLoopCurrents(MemoView& memo, const std::vector<Complex>& loopCurrents, int unknownLoops) {
  for (size_t p = 0; p < loopCurrents.size(); ++p) {
    const std::string name = LoopCurrentName(static_cast<int>(p));
    if (static_cast<int>(p) < unknownLoops) memo.Add(name + " = " + ComplexToText(loopCurrents[p]));
    else memo.Add(PolarLine(name, loopCurrents[p]) + " (задан источником тока J)");
  }
}

int UnknownLoops(const CircuitState& state) { return state.LoopCount() - state.KnownLoops; }

void RequireFiniteLoopCurrents(const std::vector<Complex>& loopCurrents) {
  for (size_t p = 0; p < loopCurrents.size(); ++p) {
    const std::string name = LoopCurrentName(static_cast<int>(p));
    RequireFinite(loopCurrents[p], name, "контурного тока " + name);
  }
}

}  // namespace

std::string LoopCurrentName(int p) { return Format("I%d%d", p + 1, p + 1); }

Complex LoopImpedance(const CircuitState& state, int p, int q) {
  const Loop& loopP = state.Loops.at(p);
  Complex sum;
  if (p == q) {
    for (const CircuitBranch& step : loopP.Steps) sum += step.Z;
    return sum;
  }
  const Loop& loopQ = state.Loops.at(q);
  for (int a = 0; a < loopP.StepCount(); ++a) {
    for (int b = 0; b < loopQ.StepCount(); ++b) {
      if (loopP.Branches[a] != loopQ.Branches[b]) continue;
      if (loopP.Forward(state.Branches, a) == loopQ.Forward(state.Branches, b)) sum += loopP.Steps[a].Z;
      else sum -= loopP.Steps[a].Z;
    }
  }
  return sum;
}

Complex LoopEmf(const CircuitState& state, int p) {
  Complex sum;
  for (const CircuitBranch& step : state.Loops.at(p).Steps) sum += TheveninEmf(step);
  return sum;
}

std::vector<Complex> KnownLoopCurrents(const CircuitState& state) {
  std::vector<Complex> known;
  for (int p = UnknownLoops(state); p < state.LoopCount(); ++p) known.push_back(state.Loops[p].Steps.back().J);
  return known;
}

ComplexMatrix LoopSystem(const CircuitState& state) {
  const int loops = UnknownLoops(state);
  const std::vector<Complex> known = KnownLoopCurrents(state);
  ComplexMatrix rows(loops, std::vector<Complex>(loops + 1));
  for (int p = 0; p < loops; ++p) {
    rows[p][loops] = LoopEmf(state, p);
    for (size_t k = 0; k < known.size(); ++k)
      rows[p][loops] -= LoopImpedance(state, p, loops + static_cast<int>(k)) * known[k];
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

bool MeshCurrentMethod(const CircuitState& state, ResultsDirectory& results, MeshViews& views, MeshSolution& solution) {
  solution = {};
  if (state.NeedsTest || state.BranchCount() == 0) return false;
  // The memos this method owns hold one run's results, however it is called.
  views.loopCurrents.Clear();
  views.branchCurrents.Clear();
  views.powerBalance.Clear();

  const int unknown = UnknownLoops(state);
  ComplexMatrix rows = LoopSystem(state);
  RequireFiniteSystem(rows, unknown);
  ShowLoopSystem(rows, unknown, views);
  solution.system = rows;
  if (unknown > 0) solution.loopCurrents = SolveLinearSystem(rows, unknown, results, "Currents.txt");
  for (const Complex& current : KnownLoopCurrents(state)) solution.loopCurrents.push_back(current);
  solution.branchCurrents = BranchCurrentsFromLoops(state, solution.loopCurrents);
  RequireFiniteLoopCurrents(solution.loopCurrents);
  RequireSoundCurrentsAndPower(state.Branches, solution.branchCurrents);

  ShowLoopCurrents(views.loopCurrents, solution.loopCurrents, unknown);
  std::string section = MethodSectionHeader("Метод контурных токов") + "\n\nТоки:\n";
  ReportBranchCurrents(state.Branches, solution.branchCurrents, views.branchCurrents, section);
  section += "\n";

  AccountPower(state.Branches, solution.branchCurrents, views.powerBalance, section, solution.source,
               solution.consumed);
  results.Append("out.txt", section);
  return true;
}

}  // namespace ohmara
