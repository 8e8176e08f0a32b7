#include "ui/widget_views.h"

namespace ohmara {

void WidgetGrid::SetCell(int col, int row, const std::string& text) {
  const QString value = QString::fromStdString(text);
  if (QTableWidgetItem* item = grid_->item(row, col)) {
    item->setText(value);
  } else {
    grid_->setItem(row, col, new QTableWidgetItem(value));
  }
}

QStringList MemoLinesOf(const QPlainTextEdit* memo) {
  if (memo->document()->isEmpty()) return {};
  return memo->toPlainText().split(QLatin1Char('\n'));
}

}  // namespace ohmara
