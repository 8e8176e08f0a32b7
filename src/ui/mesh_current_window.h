#pragma once
// The window of the mesh-current solution. It computes nothing: the circuit
// check fills the branch values and the loops, the method the grids and the
// other memos.

#include "analysis/mesh_current.h"
#include "analysis/result_views.h"
#include "printing/printed_report.h"
#include "model/circuit.h"
#include "ui/result_window.h"

namespace ohmara {

class MeshCurrentWindow : public ResultWindow {
 public:
  MeshCurrentWindow(Prompts& prompts, CommandGuard guard);

  // The views the analysis writes through.
  CurrFormViews Views();
  // Empties the loop currents, the branch currents and the power balance of
  // the last solution before the next one.
  void ClearSolution();
  // What the window shows, copied for the printed report.
  MeshContent PrintedContent() const;
  // The numbers behind the memos of a run that went to the end, for the
  // polar readouts and the phasor diagram.
  void ShowSolution(const CircuitState& circuit, const MeshSolution& solution);

 private:
  QTableWidget* impedanceGrid_ = nullptr;
  QTableWidget* emfGrid_ = nullptr;
  QPlainTextEdit* branchValuesMemo_ = nullptr;
  QPlainTextEdit* loopsMemo_ = nullptr;
  QPlainTextEdit* loopCurrentsMemo_ = nullptr;
  QPlainTextEdit* branchCurrentsMemo_ = nullptr;
  QPlainTextEdit* powerMemo_ = nullptr;
};

}  // namespace ohmara
