#include "analysis/circuit_session.h"

#include <string>

#include "analysis/optimal_node_potential.h"
#include "analysis/phasor_readouts.h"
#include "model/number_text.h"

namespace ohmara {

namespace {

// What the report prints on the task page when the screen shows another table.
constexpr const char* kScreenDiffersNote =
    "Таблица на экране изменена после проверки: здесь напечатана проверенная цепь.";

MeshContent MeshPages(const MeshTexts& texts) {
  return {texts.impedanceMatrix,      texts.emfColumn,         texts.loops.lines, texts.loopCurrents.lines,
          texts.branchCurrents.lines, texts.powerBalance.lines};
}

NodeContent NodePages(const NodeTexts& texts) {
  return {texts.admittanceMatrix, texts.sourceCurrentColumn, texts.potentials.lines, texts.branchCurrents.lines,
          texts.powerBalance.lines};
}

// The lines of a "Показательная форма" panel: each group's heading and its
// values in polar form, a blank line between the groups.
std::vector<std::string> PolarSection(const std::vector<std::pair<std::string, std::vector<LabelledPhasor>>>& groups) {
  std::vector<std::string> lines;
  for (const auto& [heading, values] : groups) {
    if (!lines.empty()) lines.emplace_back();
    lines.push_back(heading);
    for (std::string& line : PolarLines(values)) lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> MeshPolar(const CircuitState& circuit, const MeshSolution& solution) {
  return PolarSection({{"Контурные токи", LoopCurrentPhasors(solution.loopCurrents)},
                       {"Токи в каждой ветви", BranchCurrentPhasors(circuit.Branches, solution.branchCurrents)}});
}

std::vector<std::string> NodePolar(const CircuitState& circuit, const NodalSolution& solution) {
  return PolarSection({{"Узловые потенциалы", NodePotentialPhasors(solution.Nodes, solution.Potentials)},
                       {"Токи в каждой ветви", BranchCurrentPhasors(circuit.Branches, solution.Currents)}});
}

TaskContent TaskPage(const CircuitDocument& document) {
  return {PrintedTable(document.table), document.frequency.text, UnitName(document.frequency.unitIndex), {}, {}};
}

}  // namespace

GridCells PrintedTable(const BranchTable& table) {
  GridCells grid;
  grid.SetRowCount(static_cast<int>(table.size()) + 1);
  // The current source columns are printed only for a table that has one.
  const int columns = TableColumns(UsesCurrentSource(table));
  grid.SetColCount(columns);
  for (int col = 0; col < columns; ++col) grid.SetCell(col, 0, BranchTableTitles()[col]);
  for (size_t row = 0; row < table.size(); ++row)
    for (int col = 0; col < columns; ++col) grid.SetCell(col, static_cast<int>(row) + 1, table[row][col]);
  return grid;
}

CircuitCheckOutcome CircuitSession::Test() {
  // The previous tested circuit is gone from the moment "Тест" is pressed:
  // a check that throws half-way leaves none.
  tested_.reset();
  everTested_ = true;
  MeshViews views = meshTexts_.Views();
  state_.Extended = document_.extended;
  const CircuitCheckOutcome outcome = RunCircuitCheck(state_, document_.table, document_.frequency, results_, views);
  if (outcome.passed)
    tested_ = std::make_shared<const TestedCircuit>(TestedCircuit{document_, state_, outcome.m, outcome.n});
  return outcome;
}

bool CircuitSession::ChangedSinceTest() const {
  return tested_ && (tested_->document.table != document_.table || tested_->document.frequency != document_.frequency ||
                     tested_->document.extended != document_.extended);
}

Readiness CircuitSession::MethodReadiness() const {
  if (!tested_) return Readiness::NotTested;
  return ChangedSinceTest() ? Readiness::Stale : Readiness::Ready;
}

bool CircuitSession::SolveMesh() {
  mesh_ = {tested_, {}, false};
  MeshViews views = meshTexts_.Views();
  mesh_.complete = MeshCurrentMethod(tested_->state, results_, views, mesh_.solution);
  return mesh_.complete;
}

bool CircuitSession::SolveNodes(NodeMethod method, int zeroNode) {
  nodes_ = {tested_, zeroNode, method == OptimalNodePotentialMethod, {}, false};
  NodeViews views = nodeTexts_.Views();
  nodes_.complete = method(tested_->state, zeroNode, results_, views, &nodes_.solution);
  return nodes_.complete;
}

bool CircuitSession::TypedZeroNodeIs(int node) const {
  try {
    return FieldToInt(document_.zeroNode, "") == node;
  } catch (const std::exception&) {
    return false;
  }
}

bool CircuitSession::MeshShownIsStale() const { return everTested_ && MethodReadiness() != Readiness::Ready; }

bool CircuitSession::NodesShownIsStale() const {
  if (!nodes_.circuit) return false;
  return nodes_.circuit != tested_ || ChangedSinceTest() || !TypedZeroNodeIs(nodes_.zeroNode);
}

ReportContent CircuitSession::Report() const {
  ReportContent content;
  if (tested_) {
    content.task = TaskPage(tested_->document);
    if (ChangedSinceTest()) content.task.note = kScreenDiffersNote;
  } else {
    content.task = TaskPage(document_);
  }
  content.available.task = tested_ || !document_.table.empty();
  content.available.meshCurrents = tested_ && mesh_.complete && mesh_.circuit == tested_;
  if (content.available.meshCurrents) {
    content.mesh = MeshPages(meshTexts_);
    content.meshPolar = MeshPolar(tested_->state, mesh_.solution);
  }
  content.available.nodePotentials = tested_ && nodes_.complete && nodes_.circuit == tested_;
  if (content.available.nodePotentials) {
    content.nodes = NodePages(nodeTexts_);
    content.nodeRun = {nodes_.optimal, nodes_.zeroNode};
    content.nodePolar = NodePolar(tested_->state, nodes_.solution);
  }
  return content;
}

}  // namespace ohmara
