#pragma once
// The core's memo and grid views over the Qt widgets that show them.

#include <QPlainTextEdit>
#include <QTableWidget>
#include <string>

#include "model/text_views.h"

namespace ohmara {

class WidgetMemo : public MemoView {
 public:
  explicit WidgetMemo(QPlainTextEdit* memo) : memo_(memo) {}
  void Clear() override { memo_->clear(); }
  void Add(const std::string& line) override;

 private:
  QPlainTextEdit* memo_;
};

class WidgetGrid : public GridView {
 public:
  explicit WidgetGrid(QTableWidget* grid) : grid_(grid) {}
  void SetRowCount(int rows) override { grid_->setRowCount(rows); }
  void SetColCount(int cols) override { grid_->setColumnCount(cols); }
  void SetColWidth(int col, int width) override { grid_->setColumnWidth(col, width); }
  void SetCell(int col, int row, const std::string& text) override;

 private:
  QTableWidget* grid_;
};

// All lines of a memo, for the tests.
QStringList MemoLinesOf(const QPlainTextEdit* memo);

}  // namespace ohmara
