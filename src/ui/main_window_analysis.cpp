// The analysis commands of the main window: the circuit test and the three
// methods. The computing is the core's; this file reads the controls, shows
// the results and the messages.

#include <QLabel>
#include <QLineEdit>

#include "analysis/circuit_test.h"
#include "analysis/loop_search.h"
#include "analysis/mesh_current.h"
#include "analysis/mesh_current_window.h"
#include "analysis/node_potential.h"
#include "analysis/node_potential_window.h"
#include "analysis/optimal_node_potential.h"
#include "model/number_text.h"
#include "ui/grid_edit.h"
#include "ui/main_window.h"
#include "ui/prompts.h"
#include "ui/test_report_dialog.h"

namespace ohmara {

namespace {

const QString kCaption = QStringLiteral("Ohmara");

void Present(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

// "Да"/"Нет" per check reached: a failed check hides the later ones.
std::vector<bool> CheckStatuses(const CircuitTestOutcome& outcome) {
  if (outcome.parseCode == kParseMalformed) return {false};
  if (outcome.parseCode == kParseDisconnected) return {true, false};
  return {true, true, outcome.passed};
}

}  // namespace

void TRGZForm::TestBtnClick() {
  CommitPendingEdit(*InitTable);
  CurrFormViews views = windows_.CurrForm->Views();
  const FrequencySetting frequency{Frequence->text().toStdString(), UnitIndex()};
  const CircuitTestOutcome outcome = RunCircuitTest(circuit_, ReadBranchTable(), frequency, results_, views);
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
    prompts_.Inform(this, kCaption, QStringLiteral("Вычисления прошли успешно."), MessagePosition());
  Present(&form);
}

void TRGZForm::PotentialBtnClick() {
  const int zeroNode = StrToInt(U0Ed->text().toStdString());
  if (zeroNode < 1 || zeroNode > circuit_.NodeCount) return;
  PotFormViews views = windows_.PotForm->Views();
  if (BranchCount > 0 && NodePotentialMethod(circuit_, zeroNode, results_, views))
    prompts_.Inform(this, kCaption, QStringLiteral("Вычисления прошли успешно."), MessagePosition());
  Present(windows_.PotForm);
}

void TRGZForm::BitBtn3Click() {
  const int zeroNode = StrToInt(U0Ed->text().toStdString());
  if (zeroNode < 1 || zeroNode > circuit_.NodeCount) return;
  if (!circuit_.RealNodes.contains(zeroNode)) {
    prompts_.Inform(this, kCaption, QStringLiteral("Точка с нулевым потенциалом - не узел"), MessagePosition());
    return;
  }
  PotFormViews views = windows_.PotForm->Views();
  if (BranchCount > 0 && OptimalNodePotentialMethod(circuit_, zeroNode, results_, views))
    prompts_.Inform(this, kCaption, QStringLiteral("Вычисления прошли успешно."), MessagePosition());
  Present(windows_.PotForm);
}

}  // namespace ohmara
