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

namespace {

constexpr int kClientWidth = 391;
constexpr int kClientHeight = 86;
constexpr QRect kRowGrid(0, 0, 394, 54);
// The width PlaceGrid gives every column.
constexpr int kColumnWidth = 64;

}  // namespace

AddBranchDialog::AddBranchDialog(Prompts& prompts, CommandGuard guard) : prompts_(prompts), guard_(std::move(guard)) {
  setObjectName(QStringLiteral("AddF"));
  setWindowTitle(QStringLiteral("Добавление ветви"));
  setFont(InterfaceFont(11));
  FixClientSize(this, kClientWidth, kClientHeight);

  rowGrid_ = PlaceGrid(this, "AddTb", 2, kClassicColumns, kRowGrid);
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
  FillTitles(kNameColumn);
  rowGrid_->setCurrentCell(1, kNameColumn);
}

void AddBranchDialog::FillTitles(int firstColumn) {
  const BranchRow& titles = BranchTableTitles();
  for (int column = firstColumn; column < rowGrid_->columnCount(); ++column) {
    rowGrid_->setItem(0, column, new QTableWidgetItem(QString::fromStdString(titles[column])));
    rowGrid_->setItem(1, column, new QTableWidgetItem());
  }
}

void AddBranchDialog::ShowCurrentSourceColumns(bool shown) {
  const int columns = shown ? kBranchColumns : kClassicColumns;
  if (rowGrid_->columnCount() == columns) return;
  CommitPendingEdit(*rowGrid_);
  const int added = (columns - kClassicColumns) * kColumnWidth;
  rowGrid_->setColumnCount(columns);
  rowGrid_->setGeometry(kRowGrid.adjusted(0, 0, added, 0));
  FixClientSize(this, kClientWidth + added, kClientHeight);
  FillTitles(kClassicColumns);
}

// How many columns the row shows: the element columns end there.
int AddBranchDialog::ElementColumns() const { return rowGrid_->columnCount(); }

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
  for (int column = 0; column < ElementColumns(); ++column)
    if (const QTableWidgetItem* item = rowGrid_->item(1, column)) row[column] = item->text().toStdString();
  return row;
}

void AddBranchDialog::ProposeFreshValues() {
  if (current_) {
    confirmed_ = false;
    for (int column = kRColumn; column < ElementColumns(); ++column) SetCell(column, (*current_)[column]);
    return;
  }
  ClockRandomSource random;
  ProposeValues(random);
}

void AddBranchDialog::ProposeValues(RandomSource& random) {
  confirmed_ = false;
  BranchRow row = Row();
  WriteElementValues(RandomElementValues::Draw(random), row);
  // A current source is the student's own choice, never a proposal.
  row[kJColumn].clear();
  row[kJAngleColumn].clear();
  for (int column = kRColumn; column < ElementColumns(); ++column) SetCell(column, row[column]);
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
