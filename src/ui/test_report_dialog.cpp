#include "ui/test_report_dialog.h"

#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include "ui/widget_style.h"

namespace ohmara {

namespace {

QTableWidgetItem* ReadOnlyItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

}  // namespace

TResTest::TResTest(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ResTest"));
  setWindowTitle(QStringLiteral("Результаты проверки"));
  setFont(InterfaceFont(11));
  FixClientSize(this, 242, 147);

  TestTable = new QTableWidget(1, 2, this);
  TestTable->setObjectName(QStringLiteral("TestTable"));
  TestTable->setGeometry(8, 8, 225, 106);
  TestTable->horizontalHeader()->hide();
  TestTable->verticalHeader()->hide();
  TestTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
  TestTable->setFont(InterfaceFont(11, true));
  TestTable->setStyleSheet(QStringLiteral("QTableWidget { background: palette(button); }"));
  TestTable->setColumnWidth(0, 170);
  TestTable->setColumnWidth(1, 50);
  TestTable->verticalHeader()->setDefaultSectionSize(24);
  const QString checks[] = {QStringLiteral("Тип проверки"), QStringLiteral("Правильность написания"),
                            QStringLiteral("Связность цепи"), QStringLiteral("Замкнутость цепи")};
  TestTable->setRowCount(4);
  for (int row = 0; row < 4; ++row) {
    TestTable->setItem(row, 0, ReadOnlyItem(checks[row]));
    TestTable->setItem(row, 1, ReadOnlyItem(QString()));
  }
  TestTable->item(0, 1)->setText(QStringLiteral("Статус"));
  // The rows stay; the checks not reached are hidden, so their old statuses
  // persist between tests as the report keeps them.
  SetVisibleRows(1);

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("Ознакомился"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setFont(InterfaceFont(11, true));
  BitBtn1->setDefault(true);
  BitBtn1->setGeometry(8, 120, 113, 25);
  connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
  CentreOnDesktop(this);
}

void TResTest::SetVisibleRows(int rows) {
  for (int row = 0; row < TestTable->rowCount(); ++row) TestTable->setRowHidden(row, row >= rows);
}

int TResTest::VisibleRows() const {
  int rows = 0;
  for (int row = 0; row < TestTable->rowCount(); ++row) rows += !TestTable->isRowHidden(row);
  return rows;
}

QString TResTest::Status(int row) const { return TestTable->item(row, 1)->text(); }

void TResTest::ShowStatuses(const std::vector<bool>& passed) {
  const int checks = std::min(static_cast<int>(passed.size()), TestTable->rowCount() - 1);
  SetVisibleRows(checks + 1);
  for (int i = 0; i < checks; ++i) TestTable->item(i + 1, 1)->setText(passed[i] ? QStringLiteral("Да") : QStringLiteral("Нет"));
}

}  // namespace ohmara
