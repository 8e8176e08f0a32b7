#pragma once
// The window of both node-potential methods; it shows the last run of either.

#include "analysis/result_views.h"
#include "ui/result_window.h"

namespace ohmara {

class TPotForm : public ResultWindow {
 public:
  explicit TPotForm(Prompts& prompts);

  PotFormViews Views();

  QTableWidget* GGrid = nullptr;
  QTableWidget* IGrid = nullptr;
  QPlainTextEdit* InValMem = nullptr;
  QPlainTextEdit* NdPot = nullptr;
  QPlainTextEdit* PowerMemo = nullptr;
  QPlainTextEdit* CurMemo = nullptr;
  QLabel* Image1 = nullptr;
};

}  // namespace ohmara
