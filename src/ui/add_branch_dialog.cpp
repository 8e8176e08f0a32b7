#include "ui/add_branch_dialog.h"

#include <QEvent>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>

#include "model/random_values.h"
#include "ui/grid_edit.h"
#include "ui/main_window.h"
#include "ui/prompts.h"
#include "ui/widget_style.h"

namespace ohmara {

TAddF::TAddF(TRGZForm& main) : main_(main) {
  setObjectName(QStringLiteral("AddF"));
  setWindowTitle(QStringLiteral("Добавление ветви"));
  setFont(InterfaceFont(11));
  FixClientSize(this, 391, 86);

  AddTb = PlaceGrid(this, "AddTb", 2, kBranchColumns, {0, 0, 394, 54});
  MakeGridEditable(AddTb);
  AddTb->setShowGrid(true);

  BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogOkButton), QStringLiteral("OK"), this);
  BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
  BitBtn1->setGeometry(8, 56, 75, 25);
  BitBtn1->setDefault(true);
  BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), QStringLiteral("Cancel"), this);
  BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
  BitBtn2->setGeometry(88, 56, 75, 25);
  connect(BitBtn1, &QPushButton::clicked, this, [this] { main_.Guarded([this] { BitBtn1Click(); }); });
  connect(BitBtn2, &QPushButton::clicked, this, [this] { main_.Guarded([this] { BitBtn2Click(); }); });

  CentreOnDesktop(this);
  FormCreate();
}

void TAddF::FormCreate() {
  const BranchRow& titles = BranchTableTitles();
  for (int column = 0; column < kBranchColumns; ++column) {
    AddTb->setItem(0, column, new QTableWidgetItem(QString::fromStdString(titles[column])));
    AddTb->setItem(1, column, new QTableWidgetItem());
  }
  AddTb->setCurrentCell(1, kNameColumn);
}

bool TAddF::event(QEvent* event) {
  if (event->type() == QEvent::WindowActivate) main_.Guarded([this] { FormActivate(); });
  return QDialog::event(event);
}

bool TAddF::AskElementValues() {
  EditorMode = 1;
  main_.prompts().RunModal(*this);
  return Accepted == 1;
}

BranchRow TAddF::Row() const {
  BranchRow row;
  for (int column = 0; column < kBranchColumns; ++column)
    if (const QTableWidgetItem* item = AddTb->item(1, column)) row[column] = item->text().toStdString();
  return row;
}

void TAddF::FormActivate() {
  ClockRandomSource random;
  ProposeValues(random);
}

void TAddF::ProposeValues(RandomSource& random) {
  Accepted = 0;
  BranchRow row = Row();
  WriteElementValues(RandomElementValues::Draw(random), row);
  for (int column = kRColumn; column <= kAngleColumn; ++column) SetCell(column, row[column]);
}

void TAddF::SetCell(int column, const std::string& text) {
  AddTb->item(1, column)->setText(QString::fromStdString(text));
}

void TAddF::BitBtn1Click() {
  CommitPendingEdit(*AddTb);
  if (EditorMode == 1) {
    Accepted = 1;
  } else {
    main_.AppendBranchRow(Row());
  }
  accept();
}

void TAddF::BitBtn2Click() { reject(); }

}  // namespace ohmara
