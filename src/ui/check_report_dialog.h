#pragma once
// "Результаты проверки", the report of "Тест": one row of "Да"/"Нет" per
// check, the later checks hidden when an earlier one failed, and under the
// table one line naming the first fault found.

#include <QDialog>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace ohmara {

class CheckReportDialog : public QDialog {
 public:
  explicit CheckReportDialog(QWidget* parent = nullptr);

  // Shows rows 0..statuses.size() and writes the status of each check;
  // `faultLine` stands under the table, and the dialog grows to fit it. An
  // empty line (everything passed) leaves the dialog at its plain size.
  void ShowStatuses(const std::vector<bool>& passed, const QString& faultLine = QString());
  int VisibleRows() const;
  QString Status(int row) const;
  QString FaultLine() const;

 private:
  void SetVisibleRows(int rows);
  void ShowFaultLine(const QString& line);

  QTableWidget* checkTable_ = nullptr;
  QLabel* faultLabel_ = nullptr;
  QPushButton* doneButton_ = nullptr;
};

}  // namespace ohmara
