#pragma once
// The window of the mesh-current solution. It computes nothing: it shows the
// texts the session's last check (branch values, loops) and last run (the
// grids and the other memos) left.

#include "analysis/mesh_current.h"
#include "analysis/result_views.h"
#include "model/circuit.h"
#include "ui/result_window.h"

namespace ohmara {

class MeshCurrentWindow : public ResultWindow {
 public:
  MeshCurrentWindow(Prompts& prompts, CommandGuard guard);

  // Shows every grid and memo as `texts` hold them.
  void Show(const MeshTexts& texts);
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
