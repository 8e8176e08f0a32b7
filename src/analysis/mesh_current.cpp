#include "analysis/mesh_current.h"

#include <string>
#include <vector>

#include "analysis/linear_solver.h"
#include "analysis/power_balance.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

using Matrix = std::vector<std::vector<Complex>>;

bool SameWay(const TBranch& a, const TBranch& b) { return a.From == b.From && a.To == b.To; }
bool Opposite(const TBranch& a, const TBranch& b) { return a.From == b.To && a.To == b.From; }

// Writes the loop system into the grids as it is built, so the window shows
// the matrix even when the solver then finds it singular.
Matrix BuildLoopSystem(const CircuitState& state, CurrFormViews& views) {
  const int loops = state.LoopCount();
  Matrix rows(loops, std::vector<Complex>(loops + 1));
  views.RGrid.SetRowCount(loops);
  views.RGrid.SetColCount(loops);
  views.EGrid.SetColWidth(0, 110);
  views.EGrid.SetRowCount(loops + 1);
  views.EGrid.SetColCount(1);
  for (int p = 0; p < loops; ++p) {
    views.RGrid.SetColWidth(p, 100);
    rows[p][loops] = LoopEmf(state, p);
    views.EGrid.SetCell(0, p, ComplexToText(rows[p][loops]));
    for (int q = 0; q < loops; ++q) {
      rows[p][q] = LoopImpedance(state, p, q);
      views.RGrid.SetCell(q, p, ComplexToText(rows[p][q]));
    }
  }
  return rows;
}

// The current of `branch` from its From to its To: each loop through it adds
// its loop current, with the sign of the direction in which it travels it.
Complex BranchCurrent(const CircuitState& state, const TBranch& branch, const std::vector<Complex>& loopCurrents) {
  Complex current;
  for (int q = 0; q < state.LoopCount(); ++q) {
    for (const TBranch& step : state.Loops[q].Steps) {
      if (SameWay(step, branch)) {
        current += loopCurrents[q];
        break;
      }
      if (Opposite(step, branch)) {
        current -= loopCurrents[q];
        break;
      }
    }
  }
  return current;
}

std::string LoopCurrentName(int p) { return Format("I%d%d", p + 1, p + 1); }
std::string BranchLabel(const TBranch& branch) { return Format("I%d%d", branch.From, branch.To); }

void ShowLoopCurrents(MemoView& ContCurr, const std::vector<Complex>& loopCurrents) {
  for (size_t p = 0; p < loopCurrents.size(); ++p)
    ContCurr.Add(LoopCurrentName(static_cast<int>(p)) + " = " + ComplexToText(loopCurrents[p]));
}

// Computes every branch current, shows it in CurMemo and appends its
// out.txt line ("I%d%d=" and the value) to `section`.
std::vector<Complex> BranchCurrents(const CircuitState& state, const std::vector<Complex>& loopCurrents,
                                    MemoView& CurMemo, std::string& section) {
  std::vector<Complex> currents;
  currents.reserve(state.Branches.size());
  for (const TBranch& branch : state.Branches) {
    const Complex current = BranchCurrent(state, branch, loopCurrents);
    currents.push_back(current);
    section += BranchLabel(branch) + "=" + ComplexOutText(current, "\t\t\n");
    CurMemo.Add(BranchLabel(branch) + " = " + ComplexToText(current));
  }
  return currents;
}

}  // namespace

Complex LoopImpedance(const CircuitState& state, int p, int q) {
  const std::vector<TBranch>& stepsP = state.Loops.at(p).Steps;
  Complex sum;
  if (p == q) {
    for (const TBranch& step : stepsP) sum += step.Z;
    return sum;
  }
  for (const TBranch& a : stepsP) {
    for (const TBranch& b : state.Loops.at(q).Steps) {
      if (SameWay(a, b)) sum += a.Z;
      else if (Opposite(a, b)) sum -= a.Z;
    }
  }
  return sum;
}

Complex LoopEmf(const CircuitState& state, int p) {
  Complex sum;
  for (const TBranch& step : state.Loops.at(p).Steps) sum += step.E;
  return sum;
}

bool MeshCurrentMethod(CircuitState& state, ResultsDirectory& results, CurrFormViews& views) {
  if (state.NeedsTest || state.BranchCount() == 0) return false;
  // The memos this method owns hold one run's results, however it is called.
  views.ContCurr.Clear();
  views.CurMemo.Clear();
  views.PowerMemo.Clear();

  Matrix rows = BuildLoopSystem(state, views);
  const std::vector<Complex> loopCurrents = SolveLinearSystem(rows, state.LoopCount(), results, "Currents.txt");
  ShowLoopCurrents(views.ContCurr, loopCurrents);

  std::string section = MethodSectionHeader("Метод контурных токов") + "\n\nТоки:\n";
  const std::vector<Complex> currents = BranchCurrents(state, loopCurrents, views.CurMemo, section);
  section += "\n";

  Complex source, consumed;
  PowerBalance(state.Branches, currents, source, consumed);
  ShowPowerBalance(views.PowerMemo, source, consumed);
  section += PowerBalanceFileText(source, consumed);
  results.Append("out.txt", section);
  return true;
}

}  // namespace ohmara
