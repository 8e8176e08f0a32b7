#pragma once
// The window of both node-potential methods; it shows the last run of either.

#include "analysis/node_potential.h"
#include "analysis/result_views.h"
#include "printing/printed_report.h"
#include "model/circuit.h"
#include "ui/result_window.h"

namespace ohmara {

class NodePotentialWindow : public ResultWindow {
 public:
  NodePotentialWindow(Prompts& prompts, CommandGuard guard);

  // The views the analysis writes through.
  PotFormViews Views();
  // What the window shows, copied for the printed report.
  NodeContent PrintedContent() const;
  // Which method and zero node the shown solution came from; unknown (zero
  // node 0) until a run has gone to the end.
  void SetSolvedBy(const NodeMethodRun& run) { solvedBy_ = run; }
  const NodeMethodRun& SolvedBy() const { return solvedBy_; }
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
  NodeMethodRun solvedBy_;
};

}  // namespace ohmara
