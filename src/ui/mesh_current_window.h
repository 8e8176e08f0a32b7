#pragma once
// The window of the mesh-current solution. It computes nothing: the circuit
// test fills InValMem and Conts, the method the grids and the other memos.

#include "analysis/result_views.h"
#include "ui/result_window.h"

namespace ohmara {

class TCurrForm : public ResultWindow {
 public:
  explicit TCurrForm(Prompts& prompts);

  // The views the analysis writes through.
  CurrFormViews Views();

  QTableWidget* RGrid = nullptr;
  QTableWidget* EGrid = nullptr;
  QPlainTextEdit* InValMem = nullptr;
  QPlainTextEdit* Conts = nullptr;
  QPlainTextEdit* ContCurr = nullptr;
  QPlainTextEdit* CurMemo = nullptr;
  QPlainTextEdit* PowerMemo = nullptr;
  QLabel* Helper = nullptr;
};

}  // namespace ohmara
