#include "analysis/node_potential.h"

#include <string>
#include <utility>
#include <vector>

#include "analysis/branch_impedances.h"
#include "analysis/finite_results.h"
#include "analysis/linear_solver.h"
#include "analysis/power_balance.h"
#include "model/text_format.h"

namespace ohmara {

namespace {

// One cell of the pair table: for i != j the admittance of the branch joining
// nodes i and j and the source current it drives into node i; for i == j the
// node's own admittance and source current.
struct PairCell {
  Complex Y;
  Complex J;
};

// n x n cells indexed by node numbers 1..n.
class PairTable {
 public:
  explicit PairTable(int n) : n_(n), cells_(static_cast<size_t>(n) * n) {}
  PairCell& operator()(int i, int j) { return cells_[static_cast<size_t>(i - 1) * n_ + (j - 1)]; }
  const PairCell& operator()(int i, int j) const { return cells_[static_cast<size_t>(i - 1) * n_ + (j - 1)]; }
  int NodeCount() const { return n_; }

 private:
  int n_;
  std::vector<PairCell> cells_;
};

// Enters every branch into the pair table and keeps its admittance and source
// current. The values of a branch follow its division, so a branch with
// Z = 0 stops the run with the values of the branches before it kept.
// An ideal current source adds no admittance: its current J leaves node a
// and enters node b.
void EnterIdealCurrentSource(const CircuitBranch& branch, PairTable& pairs, std::vector<LabelledValue>& branchValues) {
  pairs(branch.From, branch.To).J -= branch.J;
  pairs(branch.To, branch.From).J += branch.J;
  branchValues.push_back({BranchLabel("J", branch), branch.J});
}

void FillPairTable(const std::vector<CircuitBranch>& branches, PairTable& pairs,
                   std::vector<LabelledValue>& branchValues) {
  for (const CircuitBranch& branch : branches) {
    if (branch.IdealCurrentSource) {
      EnterIdealCurrentSource(branch, pairs, branchValues);
      continue;
    }
    const int a = branch.From, b = branch.To;
    const std::string admittance = BranchLabel("Y", branch);
    const Complex y = Divide(Complex(1.0, 0.0), branch.Z, admittance);
    RequireFinite(y, admittance, "проводимости " + admittance);
    const Complex sourceCurrent = TheveninEmf(branch) / branch.Z;
    RequireFinite(sourceCurrent, "E*" + admittance, "тока источника E*" + admittance);
    if (branch.Parallel > 1) {
      // Another branch joins the same nodes: their admittances and currents add.
      pairs(b, a).Y += y;
      pairs(a, b).Y += y;
      pairs(a, b).J -= sourceCurrent;
      pairs(b, a).J += sourceCurrent;
    } else {
      pairs(b, a).Y = y;
      pairs(a, b).Y = y;
      pairs(a, b).J = sourceCurrent * -1.0;
      pairs(b, a).J = sourceCurrent;
    }
    branchValues.push_back({admittance, y});
    branchValues.push_back({"E*" + admittance, sourceCurrent});
  }
}

void SumDiagonal(PairTable& pairs) {
  const int n = pairs.NodeCount();
  for (int k = 1; k <= n; ++k) {
    PairCell& own = pairs(k, k);
    for (int j = 1; j <= n; ++j) {
      if (j == k) continue;
      own.Y += pairs(k, j).Y;
      own.J += pairs(k, j).J;
    }
  }
}

// The nodes other than z, ascending: row r of the system stands for the r-th.
std::vector<int> RowList(int n, int z) {
  std::vector<int> rows;
  rows.reserve(n > 0 ? n - 1 : 0);
  for (int k = 1; k <= n; ++k)
    if (k != z) rows.push_back(k);
  return rows;
}

// Off-diagonal entries are minus the mutual admittance; two nodes without a
// branch get -0 - 0i, which the window shows as " 0".
ComplexMatrix AssembleSystem(const PairTable& pairs, const std::vector<int>& rowNodes) {
  const int t = static_cast<int>(rowNodes.size());
  ComplexMatrix rows(t, std::vector<Complex>(t + 1));
  for (int r = 0; r < t; ++r) {
    const int k = rowNodes[r];
    rows[r][t] = pairs(k, k).J;
    for (int c = 0; c < t; ++c) rows[r][c] = c == r ? pairs(k, k).Y : pairs(k, rowNodes[c]).Y * -1.0;
  }
  return rows;
}

// Potentials indexed by node number (entry 0 unused), the zero node at 0.
std::vector<Complex> NodePotentials(const std::vector<Complex>& solved, const std::vector<int>& rowNodes, int n) {
  std::vector<Complex> potentials(n + 1);
  for (size_t r = 0; r < rowNodes.size(); ++r) potentials[rowNodes[r]] = solved[r];
  return potentials;
}

std::vector<Complex> CurrentsFromPotentials(const std::vector<CircuitBranch>& branches,
                                            const std::vector<Complex>& potentials) {
  std::vector<Complex> currents;
  currents.reserve(branches.size());
  for (const CircuitBranch& branch : branches)
    currents.push_back(branch.IdealCurrentSource
                           ? branch.J
                           : BranchCurrentFromPotentials(potentials[branch.From], potentials[branch.To],
                                                         TheveninEmf(branch), branch.Z));
  return currents;
}

void ClearNodalMemos(NodeViews& views) {
  views.potentials.Clear();
  views.branchValues.Clear();
  views.powerBalance.Clear();
  views.branchCurrents.Clear();
}

// Sizes admittanceMatrix and sourceCurrentColumn for the t x (t + 1) system
// `rows` (the last column is the right-hand side) and shows every entry.
void ShowNodalSystem(const ComplexMatrix& rows, int t, NodeViews& views) {
  views.sourceCurrentColumn.SetColWidth(0, 110);
  views.admittanceMatrix.SetRowCount(t);
  views.admittanceMatrix.SetColCount(t);
  views.sourceCurrentColumn.SetRowCount(t);
  for (int r = 0; r < t; ++r) {
    views.admittanceMatrix.SetColWidth(r, 100);
    for (int c = 0; c < t; ++c) views.admittanceMatrix.SetCell(c, r, ComplexToText(rows[r][c]));
    views.sourceCurrentColumn.SetCell(0, r, ComplexToText(rows[r][t]));
  }
}

// Adds the potentials line "u<node> = ..." and appends the out.txt line
// "U<node>=..." of one potential to `section`.
void ReportPotential(int node, Complex potential, MemoView& potentials, std::string& section) {
  potentials.Add(PotentialName(node) + " = " + ComplexToText(potential));
  AppendFormat(section, "U%d=", node);
  section += ComplexOutText(potential, "\t\t\n");
}

// The two variants frame their sections a little differently, as the course's
// results files always have.
std::string NodeSectionHead(bool optimal) {
  if (optimal) return MethodSectionHeader("Метод узловых потенциалов (оптимальный)") + "\nПотенциалы\n";
  return MethodSectionHeader("Метод узловых потенциалов (не оптимальный)") + "\n\nПотенциалы:\n";
}

}  // namespace

Complex BranchCurrentFromPotentials(Complex fromPotential, Complex toPotential, Complex e, Complex z) {
  return (fromPotential - toPotential + e) / z;
}

std::string PotentialName(int node) { return Format("u%d", node); }

std::string ShowNodeRun(const CircuitState& state, const NodeRun& run, NodeViews& views) {
  if (run.reached == RunStage::NotRun) return {};
  ClearNodalMemos(views);
  for (const LabelledValue& value : run.branchValues)
    views.branchValues.Add(value.label + " = " + ComplexToText(value.value));
  const NodalSolution& numbers = run.numbers;
  if (run.reached >= RunStage::SystemBuilt) ShowNodalSystem(numbers.system, run.unknowns, views);
  if (!run.Complete()) return {};

  std::string section = NodeSectionHead(run.optimal);
  for (size_t i = 0; i < numbers.Nodes.size(); ++i)
    ReportPotential(numbers.Nodes[i], numbers.Potentials[i], views.potentials, section);
  section += run.optimal ? "\nТоки:\n" : "\n\nТоки:\n";
  ReportBranchCurrents(state.Branches, numbers.Currents, views.branchCurrents, section);
  ShowPowerBlock(state.Branches, numbers.Currents, numbers.SourcePower, numbers.ConsumedPower, views.powerBalance,
                 section);
  return section;
}

bool ShowAndWriteNodeRun(const CircuitState& state, const NodeRun& run, ResultsDirectory& results, NodeViews& views,
                         NodalSolution* solution) {
  const std::string section = ShowNodeRun(state, run, views);
  if (solution) *solution = run.numbers;
  return WriteRunFiles(run, run.numbers.system, run.unknowns, "Potential.txt", section, results);
}

NodeRun SolveNodePotentials(const CircuitState& state, int z) {
  NodeRun run;
  if (state.NeedsTest || state.BranchCount() == 0 || z < 1 || z > state.NodeCount) return run;
  run.reached = RunStage::Started;
  const int n = state.NodeCount;
  RunSteps(run, [&] {
    PairTable pairs(n);
    FillPairTable(state.Branches, pairs, run.branchValues);
    SumDiagonal(pairs);
    const std::vector<int> rowNodes = RowList(n, z);
    run.unknowns = static_cast<int>(rowNodes.size());
    ComplexMatrix rows = AssembleSystem(pairs, rowNodes);
    RequireFiniteSystem(rows, run.unknowns);
    run.numbers.system = rows;
    run.reached = RunStage::SystemBuilt;
    const std::vector<Complex> solved = SolveLinearSystem(rows, run.unknowns);
    const std::vector<Complex> potentials = NodePotentials(solved, rowNodes, n);
    std::vector<Complex> currents = CurrentsFromPotentials(state.Branches, potentials);
    std::vector<int> nodes;
    for (int k = 1; k <= n; ++k) nodes.push_back(k);
    FinishNodeRun(state, std::move(nodes), {potentials.begin() + 1, potentials.end()}, std::move(currents), run);
  });
  return run;
}

void FinishNodeRun(const CircuitState& state, std::vector<int> nodes, std::vector<Complex> potentials,
                   std::vector<Complex> currents, NodeRun& run) {
  RequireFiniteNodalRun(nodes, potentials, state.Branches, currents);
  NodalSolution& numbers = run.numbers;
  numbers.Nodes = std::move(nodes);
  numbers.Potentials = std::move(potentials);
  numbers.Currents = std::move(currents);
  PowerBalance(state.Branches, numbers.Currents, numbers.SourcePower, numbers.ConsumedPower);
  run.reached = RunStage::Complete;
}

bool NodePotentialMethod(const CircuitState& state, int z, ResultsDirectory& results, NodeViews& views,
                         NodalSolution* solution) {
  return ShowAndWriteNodeRun(state, SolveNodePotentials(state, z), results, views, solution);
}

}  // namespace ohmara
