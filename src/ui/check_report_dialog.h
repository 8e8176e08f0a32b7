#pragma once
// "Результаты проверки", the report of "Тест": one row of "Да"/"Нет" per
// check, the later checks hidden when an earlier one failed.

#include <QDialog>
#include <vector>

class QTableWidget;

namespace ohmara {

class CheckReportDialog : public QDialog {
 public:
  explicit CheckReportDialog(QWidget* parent = nullptr);

  // Shows rows 0..statuses.size() and writes the status of each check.
  void ShowStatuses(const std::vector<bool>& passed);
  int VisibleRows() const;
  QString Status(int row) const;

 private:
  void SetVisibleRows(int rows);

  QTableWidget* checkTable_ = nullptr;
};

}  // namespace ohmara
