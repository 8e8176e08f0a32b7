// The analysis commands of the main window: the circuit check, the three
// methods and the export of the tested circuit to SPICE. The computing is the
// core's; this file reads the controls, shows the results and the messages.

#include <QLineEdit>
#include <optional>

#include "analysis/circuit_check.h"
#include "analysis/circuit_faults.h"
#include "analysis/loop_search.h"
#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "analysis/spice_netlist.h"
#include "model/number_text.h"
#include "ui/application.h"
#include "ui/check_report_dialog.h"
#include "ui/error_messages.h"
#include "ui/file_names.h"
#include "ui/grid_edit.h"
#include "ui/main_window.h"
#include "ui/mesh_current_window.h"
#include "ui/node_potential_window.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

const QString kCaption = QStringLiteral("Ohmara");
const QString kSolved = QStringLiteral("Вычисления прошли успешно.");

// The zero node typed in its edit, or nothing when it names no node of the
// checked circuit: the command then does nothing at all. Text that is no
// integer throws, and the command guard shows the conversion error naming the edit.
std::optional<int> TypedZeroNode(const QLineEdit& zeroNodeEdit, const CircuitState& circuit) {
  const int zeroNode = FieldToInt(zeroNodeEdit.text().toStdString(), "Узел с нулевым потенциалом");
  if (zeroNode < 1 || zeroNode > circuit.NodeCount) return std::nullopt;
  return zeroNode;
}

// "Да"/"Нет" per check reached: a failed check hides the later ones.
std::vector<bool> CheckStatuses(const CircuitCheckOutcome& outcome) {
  if (outcome.parseResult == ParseResult::kMalformed) return {false};
  if (outcome.parseResult == ParseResult::kDisconnected) return {true, false};
  return {true, true, outcome.passed};
}

}  // namespace

void MainWindow::CheckCircuit() {
  CommitPendingEdit(*branchGrid_);
  // The test empties the loop and branch currents of the mesh-current window.
  windows_->meshCurrentWindow().ForgetSolution();
  CurrFormViews views = windows_->meshCurrentWindow().Views();
  const BranchTable table = ReadBranchTable();
  const FrequencySetting frequency = Frequency();
  const CircuitCheckOutcome outcome = RunCircuitCheck(circuit_, table, frequency, results_, views);
  if (outcome.parseResult == ParseResult::kOk && outcome.loopResult == LoopSearchResult::kNotClosed)
    prompts_.Inform(this, kCaption, QStringLiteral("Я вам сочувствую - цепь не замкнута :("));
  if (outcome.passed) {
    testedTable_ = table;
    testedFrequency_ = frequency;
    realBranchesEdit_->setText(QString::number(outcome.m));
    realNodesEdit_->setText(QString::number(outcome.n));
    realCountsPanel_->show();
  }
  windows_->checkReport().ShowStatuses(CheckStatuses(outcome),
                                     QString::fromStdString(CircuitFaultLine(FindCircuitFault(table, circuit_))));
  prompts_.RunModal(windows_->checkReport());
}

void MainWindow::SolveByMeshCurrents() {
  MeshCurrentWindow& window = windows_->meshCurrentWindow();
  window.ClearSolution();
  CurrFormViews views = window.Views();
  MeshSolution solution;
  if (BranchCount() > 0 && MeshCurrentMethod(circuit_, results_, views, solution)) {
    window.ShowSolution(circuit_, solution);
    prompts_.Inform(this, kCaption, kSolved, MessagePosition());
  }
  Present(&window);
}

void MainWindow::SolveByNodeMethod(NodeMethod method, int zeroNode) {
  NodePotentialWindow& window = windows_->nodePotentialWindow();
  // A run that stops half-way leaves memos the last solution no longer matches.
  window.ForgetSolution();
  PotFormViews views = window.Views();
  NodalSolution solution;
  if (BranchCount() > 0 && method(circuit_, zeroNode, results_, views, &solution)) {
    window.ShowSolution(circuit_, solution);
    prompts_.Inform(this, kCaption, kSolved, MessagePosition());
  }
  Present(&window);
}

void MainWindow::SolveByNodePotentials() {
  const std::optional<int> zeroNode = TypedZeroNode(*zeroNodeEdit_, circuit_);
  if (!zeroNode) return;
  SolveByNodeMethod(NodePotentialMethod, *zeroNode);
}

void MainWindow::SolveByOptimalNodePotentials() {
  const std::optional<int> zeroNode = TypedZeroNode(*zeroNodeEdit_, circuit_);
  if (!zeroNode) return;
  if (!circuit_.RealNodes.contains(*zeroNode)) {
    prompts_.Inform(this, kCaption, QStringLiteral("Точка с нулевым потенциалом - не узел"), MessagePosition());
    return;
  }
  SolveByNodeMethod(OptimalNodePotentialMethod, *zeroNode);
}

void MainWindow::ExportSpiceNetlist() {
  if (circuit_.NeedsTest) return;
  const std::optional<int> zeroNode = TypedZeroNode(*zeroNodeEdit_, circuit_);
  if (!zeroNode) {
    prompts_.Inform(this, kCaption,
                    QStringLiteral("Узел с нулевым потенциалом «%1» - не узел проверенной цепи: в ней узлы от 1 до %2.")
                        .arg(QuotedText(zeroNodeEdit_->text()))
                        .arg(circuit_.NodeCount));
    return;
  }
  if (const std::string refusal = SpiceFrequencyRefusal(testedFrequency_); !refusal.empty()) {
    prompts_.Inform(this, kCaption, QString::fromStdString(refusal));
    return;
  }
  const QString name = prompts_.SaveFileName(this, QStringLiteral("Экспорт в SPICE"), QStringLiteral("circuit.cir"));
  if (name.isEmpty()) return;
  if (!SaveSpiceNetlist(ChosenFilePath(name), circuit_.Branches, testedTable_, testedFrequency_, *zeroNode))
    prompts_.Critical(this, QStringLiteral("Ошибка"), FileNotWrittenMessage(name));
}

}  // namespace ohmara
