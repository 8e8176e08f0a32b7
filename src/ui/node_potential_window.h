#pragma once
// The window of both node-potential methods; it shows the last run of either.

#include "analysis/node_potential.h"
#include "analysis/result_views.h"
#include "model/circuit.h"
#include "ui/result_window.h"

namespace ohmara {

class NodePotentialWindow : public ResultWindow {
 public:
  NodePotentialWindow(Prompts& prompts, CommandGuard guard);

  // Shows every grid and memo as `texts` hold them.
  void Show(const NodeTexts& texts);
  // The numbers behind the memos of a run that went to the end, for the
  // polar readouts and the phasor diagram.
  void ShowSolution(const CircuitState& circuit, const NodalSolution& solution);

 private:
  QTableWidget* admittanceGrid_ = nullptr;
  QTableWidget* sourceCurrentGrid_ = nullptr;
  QPlainTextEdit* branchValuesMemo_ = nullptr;
  QPlainTextEdit* potentialsMemo_ = nullptr;
  QPlainTextEdit* powerMemo_ = nullptr;
  QPlainTextEdit* branchCurrentsMemo_ = nullptr;
};

}  // namespace ohmara
