#include "ui/add_branch_dialog.h"

#include <QEvent>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include "model/random_values.h"
#include "ui/grid_edit.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

AddBranchDialog::AddBranchDialog(Prompts& prompts, CommandGuard guard) : prompts_(prompts), guard_(std::move(guard)) {
  setObjectName(QStringLiteral("AddF"));
  setWindowTitle(QStringLiteral("Добавление ветви"));
  setFont(InterfaceFont(11));
  FixClientSize(this, 391, 86);

  rowGrid_ = PlaceGrid(this, "AddTb", 2, kClassicColumns, {0, 0, 394, 54});
  MakeGridEditable(rowGrid_);
  rowGrid_->setShowGrid(true);

  auto* ok = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("BitBtn1"));
  ok->setGeometry(8, 56, 75, 25);
  ok->setDefault(true);
  auto* cancel = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
  cancel->setObjectName(QStringLiteral("BitBtn2"));
  cancel->setGeometry(88, 56, 75, 25);
  connect(ok, &QPushButton::clicked, this, [this] { guard_([this] { Confirm(); }); });
  connect(cancel, &QPushButton::clicked, this, [this] { guard_([this] { reject(); }); });

  CentreOnDesktop(this);
  FillTitles();
}

void AddBranchDialog::FillTitles() {
  const BranchRow& titles = BranchTableTitles();
  for (int column = 0; column < kClassicColumns; ++column) {
    rowGrid_->setItem(0, column, new QTableWidgetItem(QString::fromStdString(titles[column])));
    rowGrid_->setItem(1, column, new QTableWidgetItem());
  }
  rowGrid_->setCurrentCell(1, kNameColumn);
}

bool AddBranchDialog::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) guard_([this] { ProposeFreshValues(); });
  return QDialog::event(event);
}

void AddBranchDialog::ShowForAppending() {
  mode_ = Mode::AppendRow;
  Present(this);
}

std::optional<BranchRow> AddBranchDialog::AskElementValues(const std::optional<BranchRow>& current) {
  mode_ = Mode::AskElement;
  confirmed_ = false;
  current_ = current;
  prompts_.RunModal(*this);
  current_.reset();
  if (!confirmed_) return std::nullopt;
  return Row();
}

BranchRow AddBranchDialog::Row() const {
  BranchRow row;
  for (int column = 0; column < kClassicColumns; ++column)
    if (const QTableWidgetItem* item = rowGrid_->item(1, column)) row[column] = item->text().toStdString();
  return row;
}

void AddBranchDialog::ProposeFreshValues() {
  if (current_) {
    confirmed_ = false;
    for (int column = kRColumn; column <= kAngleColumn; ++column) SetCell(column, (*current_)[column]);
    return;
  }
  ClockRandomSource random;
  ProposeValues(random);
}

void AddBranchDialog::ProposeValues(RandomSource& random) {
  confirmed_ = false;
  BranchRow row = Row();
  WriteElementValues(RandomElementValues::Draw(random), row);
  for (int column = kRColumn; column <= kAngleColumn; ++column) SetCell(column, row[column]);
}

void AddBranchDialog::SetCell(int column, const std::string& text) {
  rowGrid_->item(1, column)->setText(QString::fromStdString(text));
}

void AddBranchDialog::Confirm() {
  CommitPendingEdit(*rowGrid_);
  if (mode_ == Mode::AskElement) {
    confirmed_ = true;
  } else {
    emit BranchEntered(Row());
  }
  accept();
}

}  // namespace ohmara
