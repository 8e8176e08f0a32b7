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

MeshRun SolveMeshCurrents(const CircuitState& state) {
  MeshRun run;
  if (state.NeedsTest || state.BranchCount() == 0) return run;
  run.reached = RunStage::Started;
  MeshSolution& numbers = run.numbers;
  RunSteps(run, [&] {
    run.unknownLoops = UnknownLoops(state);
    ComplexMatrix rows = LoopSystem(state);
    RequireFiniteSystem(rows, run.unknownLoops);
    numbers.system = rows;
    run.reached = RunStage::SystemBuilt;
    if (run.unknownLoops > 0) numbers.loopCurrents = SolveLinearSystem(rows, run.unknownLoops);
    for (const Complex& current : KnownLoopCurrents(state)) numbers.loopCurrents.push_back(current);
    numbers.branchCurrents = BranchCurrentsFromLoops(state, numbers.loopCurrents);
    RequireFiniteLoopCurrents(numbers.loopCurrents);
    RequireSoundCurrentsAndPower(state.Branches, numbers.branchCurrents);
    PowerBalance(state.Branches, numbers.branchCurrents, numbers.source, numbers.consumed);
    run.reached = RunStage::Complete;
  });
  return run;
}

std::string ShowMeshRun(const CircuitState& state, const MeshRun& run, MeshViews& views) {
  if (run.reached == RunStage::NotRun) return {};
  // The memos this method owns hold one run's results, however it is called.
  views.loopCurrents.Clear();
  views.branchCurrents.Clear();
  views.powerBalance.Clear();
  const MeshSolution& numbers = run.numbers;
  if (run.reached >= RunStage::SystemBuilt) ShowLoopSystem(numbers.system, run.unknownLoops, views);
  if (!run.Complete()) return {};

  ShowLoopCurrents(views.loopCurrents, numbers.loopCurrents, run.unknownLoops);
  std::string section = MethodSectionHeader("Метод контурных токов") + "\n\nТоки:\n";
  ReportBranchCurrents(state.Branches, numbers.branchCurrents, views.branchCurrents, section);
  section += "\n";
  ShowPowerBlock(state.Branches, numbers.branchCurrents, numbers.source, numbers.consumed, views.powerBalance, section);
  return section;
}

bool MeshCurrentMethod(const CircuitState& state, ResultsDirectory& results, MeshViews& views) {
  MeshSolution solution;
  return MeshCurrentMethod(state, results, views, solution);
}

bool MeshCurrentMethod(const CircuitState& state, ResultsDirectory& results, MeshViews& views, MeshSolution& solution) {
  const MeshRun run = SolveMeshCurrents(state);
  const std::string section = ShowMeshRun(state, run, views);
  solution = run.numbers;
  return WriteRunFiles(run, run.numbers.system, run.unknownLoops, run.unknownLoops > 0 ? "Currents.txt" : "", section,
                       results);
}

}  // namespace ohmara
