#include "ui/widget_views.h"

#include <QScrollBar>
#include <QTextCursor>

namespace ohmara {

void WidgetMemo::Add(const std::string& line) {
  memo_->appendPlainText(QString::fromStdString(line));
  // A memo shows its first lines, as it would after being filled at once;
  // the cursor goes there too, or showing the window would scroll to it.
  memo_->moveCursor(QTextCursor::Start);
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

}  // namespace ohmara
