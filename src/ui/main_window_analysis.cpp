// The analysis commands of the main window: the circuit test and the three
// methods. The computing is the core's; this file reads the controls, shows
// the results and the messages.

#include <QLabel>
#include <QLineEdit>
#include <optional>

#include "analysis/circuit_check.h"
#include "analysis/loop_search.h"
#include "analysis/mesh_current.h"
#include "ui/mesh_current_window.h"
#include "analysis/node_potential.h"
#include "ui/node_potential_window.h"
#include "analysis/optimal_node_potential.h"
#include "model/number_text.h"
#include "ui/grid_edit.h"
#include "ui/main_window.h"
#include "ui/prompts.h"
#include "ui/test_report_dialog.h"
#include "ui/widget_style.h"

namespace ohmara {

namespace {

const QString kCaption = QStringLiteral("Ohmara");
const QString kSolved = QStringLiteral("Вычисления прошли успешно.");

// The zero node typed in U0Ed, or nothing when it names no node of the
// tested circuit: the command then does nothing at all. Text that is no
// integer throws, and the command guard shows the conversion error.
std::optional<int> TypedZeroNode(const QLineEdit& U0Ed, const CircuitState& circuit) {
  const int zeroNode = StrToInt(U0Ed.text().toStdString());
  if (zeroNode < 1 || zeroNode > circuit.NodeCount) return std::nullopt;
  return zeroNode;
}

// "Да"/"Нет" per check reached: a failed check hides the later ones.
std::vector<bool> CheckStatuses(const CircuitCheckOutcome& outcome) {
  if (outcome.parseCode == kParseMalformed) return {false};
  if (outcome.parseCode == kParseDisconnected) return {true, false};
  return {true, true, outcome.passed};
}

}  // namespace

void TRGZForm::TestBtnClick() {
  CommitPendingEdit(*InitTable);
  CurrFormViews views = windows_.CurrForm->Views();
  const FrequencySetting frequency{Frequence->text().toStdString(), UnitIndex()};
  const CircuitCheckOutcome outcome = RunCircuitCheck(circuit_, ReadBranchTable(), frequency, results_, views);
  if (outcome.parseCode == kParseOk && outcome.loopResult == kNotClosed)
    prompts_.Inform(this, kCaption, QStringLiteral("Я вам сочувствую - цепь не замкнута :("));
  if (outcome.passed) {
    EdM->setText(QString::number(outcome.m));
    EdN->setText(QString::number(outcome.n));
    Panel2->show();
  }
  windows_.ResTest->ShowStatuses(CheckStatuses(outcome));
  prompts_.RunModal(*windows_.ResTest);
}

void TRGZForm::ContBtnClick() {
  TCurrForm& form = *windows_.CurrForm;
  form.ContCurr->clear();
  form.CurMemo->clear();
  form.PowerMemo->clear();
  CurrFormViews views = form.Views();
  if (BranchCount > 0 && MeshCurrentMethod(circuit_, results_, views))
    prompts_.Inform(this, kCaption, kSolved, MessagePosition());
  Present(&form);
}

void TRGZForm::PotentialBtnClick() {
  const std::optional<int> zeroNode = TypedZeroNode(*U0Ed, circuit_);
  if (!zeroNode) return;
  PotFormViews views = windows_.PotForm->Views();
  if (BranchCount > 0 && NodePotentialMethod(circuit_, *zeroNode, results_, views))
    prompts_.Inform(this, kCaption, kSolved, MessagePosition());
  Present(windows_.PotForm);
}

void TRGZForm::BitBtn3Click() {
  const std::optional<int> zeroNode = TypedZeroNode(*U0Ed, circuit_);
  if (!zeroNode) return;
  if (!circuit_.RealNodes.contains(*zeroNode)) {
    prompts_.Inform(this, kCaption, QStringLiteral("Точка с нулевым потенциалом - не узел"), MessagePosition());
    return;
  }
  PotFormViews views = windows_.PotForm->Views();
  if (BranchCount > 0 && OptimalNodePotentialMethod(circuit_, *zeroNode, results_, views))
    prompts_.Inform(this, kCaption, kSolved, MessagePosition());
  Present(windows_.PotForm);
}

}  // namespace ohmara
