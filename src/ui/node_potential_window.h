#pragma once
// The window of both node-potential methods; it shows the last run of either.

#include "analysis/result_views.h"
#include "printing/printed_report.h"
#include "ui/result_window.h"

namespace ohmara {

class NodePotentialWindow : public ResultWindow {
 public:
  explicit NodePotentialWindow(Prompts& prompts);

  // The views the analysis writes through.
  PotFormViews Views();
  // What the window shows, copied for the printed report.
  NodeContent PrintedContent() const;

 private:
  QTableWidget* admittanceGrid_ = nullptr;
  QTableWidget* sourceCurrentGrid_ = nullptr;
  QPlainTextEdit* branchValuesMemo_ = nullptr;
  QPlainTextEdit* potentialsMemo_ = nullptr;
  QPlainTextEdit* powerMemo_ = nullptr;
  QPlainTextEdit* branchCurrentsMemo_ = nullptr;
};

}  // namespace ohmara
