// The analysis commands of the main window: the circuit check, the three
// methods and the export of the tested circuit to SPICE. The computing and
// the texts are the session's; this file shows them and the messages.

#include <QLineEdit>
#include <optional>

#include "analysis/circuit_check.h"
#include "analysis/circuit_faults.h"
#include "analysis/loop_search.h"
#include "analysis/mesh_current.h"
#include "analysis/node_potential.h"
#include "analysis/optimal_node_potential.h"
#include "analysis/refusal_text.h"
#include "analysis/spice_netlist.h"
#include "model/number_text.h"
#include "ui/application.h"
#include "ui/check_report_dialog.h"
#include "ui/error_messages.h"
#include "ui/grid_edit.h"
#include "ui/main_window.h"
#include "ui/mesh_current_window.h"
#include "ui/node_potential_window.h"
#include "ui/prompts.h"
#include "ui/variants_dialog.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

const QString kCaption = QStringLiteral("Ohmara");
const QString kSolved = QStringLiteral("Вычисления прошли успешно.");

// "Да"/"Нет" per check reached: a failed check hides the later ones.
std::vector<bool> CheckStatuses(const CircuitCheckOutcome& outcome) {
  if (outcome.parseResult == ParseResult::Malformed) return {false};
  if (outcome.parseResult == ParseResult::Disconnected) return {true, false};
  return {true, true, outcome.passed};
}

// Runs `run`, then `show`, also when `run` throws: a window shows how far a
// run got before the error box names what stopped it.
template <typename Run, typename Show>
void RunThenShow(Run run, Show show) {
  try {
    run();
  } catch (...) {
    show();
    throw;
  }
  show();
}

}  // namespace

int MainWindow::TypedZeroNode() const { return FieldToInt(session_.document().zeroNode, "Узел с нулевым потенциалом"); }

std::optional<int> MainWindow::ZeroNodeToSolveWith(bool junctionNeeded) {
  // A zero node that is no number is refused first, as it always was.
  const int zeroNode = TypedZeroNode();
  if (!ReadyToSolve()) return std::nullopt;
  switch (ZeroNodeRefusalOf(session_.tested()->state, zeroNode, junctionNeeded)) {
    case ZeroNodeRefusal::None:
      return zeroNode;
    case ZeroNodeRefusal::NotANode:
      // The methods have nothing to show for a node the circuit lacks.
      return std::nullopt;
    case ZeroNodeRefusal::NoJunctions:
      prompts_.Inform(this, kCaption, QString::fromUtf8(kOptimalNeedsJunctionText), MessagePosition());
      return std::nullopt;
    case ZeroNodeRefusal::NotAJunction:
      prompts_.Inform(this, kCaption, QString::fromUtf8(kZeroNotJunctionText), MessagePosition());
      return std::nullopt;
  }
  return std::nullopt;
}

bool MainWindow::ReadyToSolve() {
  // A cell still being typed in is part of the table the method would solve.
  CommitPendingEdit(*branchGrid_);
  switch (session_.MethodReadiness()) {
    case Readiness::Ready:
      return true;
    case Readiness::NotTested:
      prompts_.Inform(this, kCaption, QStringLiteral("Сначала проверьте цепь: нажмите «Тест»."), MessagePosition());
      return false;
    case Readiness::Stale:
      prompts_.Inform(this, kCaption, QStringLiteral("Таблица изменилась после проверки. Нажмите «Тест»."),
                      MessagePosition());
      return false;
  }
  return false;
}

void MainWindow::CheckCircuit() {
  CommitPendingEdit(*branchGrid_);
  MeshCurrentWindow& window = windows_->meshCurrentWindow();
  // The test empties the loop and branch currents of the mesh-current window.
  window.ForgetSolution();
  CircuitCheckOutcome outcome;
  RunThenShow([&] { outcome = session_.Test(); },
              [&] {
                window.Show(session_.meshTexts());
                windows_->MarkStaleResults();
              });
  if (outcome.parseResult == ParseResult::Ok && outcome.loopResult == LoopSearchResult::NotClosed)
    prompts_.Inform(this, kCaption, QString::fromUtf8(kNotClosedText));
  if (outcome.passed) {
    realBranchesEdit_->setText(QString::number(outcome.m));
    realNodesEdit_->setText(QString::number(outcome.n));
    realCountsPanel_->show();
  }
  const std::string fault = CircuitFaultLine(outcome.fault);
  windows_->checkReport().ShowStatuses(CheckStatuses(outcome), QString::fromStdString(fault));
  prompts_.RunModal(windows_->checkReport());
}

void MainWindow::SolveByMeshCurrents() {
  if (!ReadyToSolve()) return;
  MeshCurrentWindow& window = windows_->meshCurrentWindow();
  window.ForgetSolution();
  bool solved = false;
  RunThenShow([&] { solved = session_.SolveMesh(); },
              [&] {
                window.Show(session_.meshTexts());
                windows_->MarkStaleResults();
              });
  if (solved) {
    window.ShowSolution(session_.tested()->state, session_.mesh().solution);
    window.OfferSelfCheck(MeshSelfCheck(session_.tested()->state, session_.mesh().solution));
    prompts_.Inform(this, kCaption, kSolved, MessagePosition());
  }
  Present(&window);
}

void MainWindow::SolveByNodeMethod(NodeMethod method, int zeroNode) {
  NodePotentialWindow& window = windows_->nodePotentialWindow();
  // A run that stops half-way leaves memos the last solution no longer matches.
  window.ForgetSolution();
  bool solved = false;
  RunThenShow([&] { solved = session_.SolveNodes(method, zeroNode); },
              [&] {
                window.Show(session_.nodeTexts());
                windows_->MarkStaleResults();
              });
  if (solved) {
    window.ShowSolution(session_.tested()->state, session_.nodes().solution);
    const Method checked = method == OptimalNodePotentialMethod ? Method::Optimal : Method::Nodal;
    window.OfferSelfCheck(NodeSelfCheck(checked, session_.tested()->state, session_.nodes().solution));
    prompts_.Inform(this, kCaption, kSolved, MessagePosition());
  }
  Present(&window);
}

void MainWindow::SolveByNodePotentials() {
  const std::optional<int> zeroNode = ZeroNodeToSolveWith(false);
  if (!zeroNode) return;
  SolveByNodeMethod(NodePotentialMethod, *zeroNode);
}

void MainWindow::SolveByOptimalNodePotentials() {
  const std::optional<int> zeroNode = ZeroNodeToSolveWith(true);
  if (!zeroNode) return;
  SolveByNodeMethod(OptimalNodePotentialMethod, *zeroNode);
}

void MainWindow::ExportSpiceNetlist() {
  const std::shared_ptr<const TestedCircuit>& tested = session_.tested();
  if (!tested) return;
  const int zeroNode = TypedZeroNode();
  if (ZeroNodeRefusalOf(tested->state, zeroNode, false) != ZeroNodeRefusal::None) {
    prompts_.Inform(
        this, kCaption,
        QString::fromStdString(ZeroNodeOutsideText(zeroNodeEdit_->text().toStdString(), tested->state.NodeCount)));
    return;
  }
  if (const std::string refusal = SpiceFrequencyRefusal(tested->document.frequency); !refusal.empty()) {
    prompts_.Inform(this, kCaption, QString::fromStdString(refusal));
    return;
  }
  const QString name = prompts_.SaveFileName(this, QStringLiteral("Экспорт в SPICE"), QStringLiteral("circuit.cir"));
  if (name.isEmpty()) return;
  const SaveProblem problem = SaveSpiceNetlist(ChosenFilePath(name), tested->state.Branches, tested->document.table,
                                               tested->document.frequency, zeroNode);
  if (problem != SaveProblem::None) prompts_.Critical(this, QStringLiteral("Ошибка"), SaveProblemText(problem, name));
}

// The set is drawn afresh and owes nothing to the circuit on screen.
void MainWindow::MakeClassVariants() {
  VariantsDialog dialog(prompts_, Guard(), this);
  prompts_.RunModal(dialog);
}

}  // namespace ohmara
