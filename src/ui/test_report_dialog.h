#pragma once
// The report of the circuit test: one row of "Да"/"Нет" per check, the later
// checks hidden when an earlier one failed.

#include <QDialog>
#include <vector>

class QPushButton;
class QTableWidget;

namespace ohmara {

class TResTest : public QDialog {
 public:
  explicit TResTest(QWidget* parent = nullptr);

  // Shows rows 0..statuses.size() and writes the status of each check.
  void ShowStatuses(const std::vector<bool>& passed);
  int VisibleRows() const;
  QString Status(int row) const;

  QTableWidget* TestTable = nullptr;
  QPushButton* BitBtn1 = nullptr;

 private:
  void SetVisibleRows(int rows);
};

}  // namespace ohmara
