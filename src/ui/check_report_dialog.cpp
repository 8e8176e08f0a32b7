#include "ui/check_report_dialog.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include "ui/widget_style.h"

namespace ohmara {

namespace {

constexpr int kClientWidth = 242;
constexpr int kClientHeight = 147;
constexpr int kTableBottom = 114;
constexpr int kLineGap = 6;

QTableWidgetItem* ReadOnlyItem(const QString& text) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled);
  return item;
}

}  // namespace

CheckReportDialog::CheckReportDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ResTest"));
  setWindowTitle(QStringLiteral("Результаты проверки"));
  setFont(InterfaceFont(11));
  FixClientSize(this, kClientWidth, kClientHeight);

  checkTable_ = new QTableWidget(1, 2, this);
  checkTable_->setObjectName(QStringLiteral("TestTable"));
  checkTable_->setGeometry(8, 8, 225, kTableBottom - 8);
  checkTable_->horizontalHeader()->hide();
  checkTable_->verticalHeader()->hide();
  checkTable_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  checkTable_->setFont(InterfaceFont(11, true));
  checkTable_->setStyleSheet(QStringLiteral("QTableWidget { background: palette(button); }"));
  checkTable_->setColumnWidth(0, 170);
  checkTable_->setColumnWidth(1, 50);
  checkTable_->verticalHeader()->setDefaultSectionSize(24);
  const QString checks[] = {QStringLiteral("Тип проверки"), QStringLiteral("Правильность написания"),
                            QStringLiteral("Связность цепи"), QStringLiteral("Замкнутость цепи")};
  checkTable_->setRowCount(4);
  for (int row = 0; row < 4; ++row) {
    checkTable_->setItem(row, 0, ReadOnlyItem(checks[row]));
    checkTable_->setItem(row, 1, ReadOnlyItem(QString()));
  }
  checkTable_->item(0, 1)->setText(QStringLiteral("Статус"));
  // The rows stay; the checks not reached are hidden, so their old statuses
  // persist between tests as the report keeps them.
  SetVisibleRows(1);

  faultLabel_ = new QLabel(this);
  faultLabel_->setObjectName(QStringLiteral("FaultLine"));
  faultLabel_->setWordWrap(true);
  faultLabel_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  faultLabel_->hide();

  doneButton_ =
      new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), QStringLiteral("Ознакомился"), this);
  doneButton_->setObjectName(QStringLiteral("BitBtn1"));
  doneButton_->setFont(InterfaceFont(11, true));
  doneButton_->setDefault(true);
  doneButton_->setGeometry(8, kTableBottom + 6, 113, 25);
  connect(doneButton_, &QPushButton::clicked, this, &QDialog::accept);
  CentreOnDesktop(this);
}

void CheckReportDialog::SetVisibleRows(int rows) {
  for (int row = 0; row < checkTable_->rowCount(); ++row) checkTable_->setRowHidden(row, row >= rows);
}

int CheckReportDialog::VisibleRows() const {
  int rows = 0;
  for (int row = 0; row < checkTable_->rowCount(); ++row) rows += !checkTable_->isRowHidden(row);
  return rows;
}

QString CheckReportDialog::Status(int row) const { return checkTable_->item(row, 1)->text(); }

void CheckReportDialog::ShowStatuses(const std::vector<bool>& passed, const QString& faultLine) {
  const int checks = std::min(static_cast<int>(passed.size()), checkTable_->rowCount() - 1);
  SetVisibleRows(checks + 1);
  for (int i = 0; i < checks; ++i)
    checkTable_->item(i + 1, 1)->setText(passed[i] ? QStringLiteral("Да") : QStringLiteral("Нет"));
  ShowFaultLine(faultLine);
}

QString CheckReportDialog::FaultLine() const { return faultLabel_->isHidden() ? QString() : faultLabel_->text(); }

// The line wraps at the table's width; the button and the dialog's bottom
// move down by its height, so the table keeps its place and size.
void CheckReportDialog::ShowFaultLine(const QString& line) {
  faultLabel_->setText(line);
  faultLabel_->setHidden(line.isEmpty());
  int lineHeight = 0;
  if (!line.isEmpty()) {
    const int textHeight = faultLabel_->heightForWidth(checkTable_->width());
    faultLabel_->setGeometry(8, kTableBottom + kLineGap, checkTable_->width(), textHeight);
    lineHeight = textHeight + kLineGap;
  }
  doneButton_->move(8, kTableBottom + 6 + lineHeight);
  FixClientSize(this, kClientWidth, kClientHeight + lineHeight);
}

}  // namespace ohmara
