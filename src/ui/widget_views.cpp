#include "ui/widget_views.h"

#include <QScrollBar>

namespace ohmara {

void WidgetMemo::Add(const std::string& line) {
  memo_->appendPlainText(QString::fromStdString(line));
  // A memo shows its first lines, as it would after being filled at once.
  memo_->verticalScrollBar()->setValue(0);
}

void WidgetGrid::SetCell(int col, int row, const std::string& text) {
  const QString value = QString::fromStdString(text);
  QTableWidgetItem* item = grid_->item(row, col);
  if (!item) {
    item = new QTableWidgetItem;
    grid_->setItem(row, col, item);
  }
  item->setText(value);
  // A value wider than its column is cut; the tooltip shows it whole.
  item->setToolTip(value);
}

QStringList MemoLinesOf(const QPlainTextEdit* memo) {
  if (memo->document()->isEmpty()) return {};
  return memo->toPlainText().split(QLatin1Char('\n'));
}

std::vector<std::string> MemoTextOf(const QPlainTextEdit* memo) {
  std::vector<std::string> lines;
  for (const QString& line : MemoLinesOf(memo)) lines.push_back(line.toStdString());
  return lines;
}

GridCells CellsOf(const QTableWidget* grid) {
  GridCells cells;
  cells.SetRowCount(grid->rowCount());
  cells.SetColCount(grid->columnCount());
  for (int row = 0; row < grid->rowCount(); ++row)
    for (int col = 0; col < grid->columnCount(); ++col)
      if (const QTableWidgetItem* item = grid->item(row, col)) cells.SetCell(col, row, item->text().toStdString());
  return cells;
}

}  // namespace ohmara
