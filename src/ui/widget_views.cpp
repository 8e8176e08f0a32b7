#include "ui/widget_views.h"

namespace ohmara {

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

}  // namespace ohmara
