#pragma once
// "Добавление ветви": one row of the branch table with random proposals for
// its elements. From "Добавить ветвь" it is modeless and its OK appends the
// row to the main table; the circuit editor shows it modally to ask for the
// values of a new element and learns only whether OK was pressed.

#include <QDialog>

#include "model/branch.h"

class QPushButton;
class QTableWidget;

namespace ohmara {

class RandomSource;
class TRGZForm;

class TAddF : public QDialog {
  Q_OBJECT

 public:
  explicit TAddF(TRGZForm& main);

  int EditorMode = 0;  // 0 = appends to the table, 1 = asks for the editor; set before every showing
  int Accepted = 0;    // 0 at every activation, 1 once OK was pressed in element mode

  QTableWidget* AddTb = nullptr;
  QPushButton* BitBtn1 = nullptr;  // OK
  QPushButton* BitBtn2 = nullptr;  // Cancel

  // Shows the dialog modally in element mode; true when OK was pressed. The
  // caller then reads columns 1..5 of Row().
  bool AskElementValues();

  // The texts of the row being entered.
  BranchRow Row() const;

  // Every activation proposes new values, seeded from the clock.
  void FormActivate();
  // Writes one draw of values into columns 1..5; the name stays.
  void ProposeValues(RandomSource& random);

  void BitBtn1Click();  // OK
  void BitBtn2Click();  // Cancel

 protected:
  bool event(QEvent* event) override;

 private:
  void FormCreate();
  void SetCell(int column, const std::string& text);

  TRGZForm& main_;
};

}  // namespace ohmara
