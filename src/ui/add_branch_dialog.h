#pragma once
// "Добавление ветви": one row of the branch table with random proposals for
// its elements. From "Добавить ветвь" it is modeless and its OK hands the row
// to whoever listens to BranchEntered; the circuit editor shows it modally to
// ask for the values of a new element.

#include <QDialog>
#include <optional>

#include "model/branch.h"
#include "ui/command_guard.h"

class QTableWidget;

namespace ohmara {

class Prompts;
class RandomSource;

class AddBranchDialog : public QDialog {
  Q_OBJECT

 public:
  AddBranchDialog(Prompts& prompts, CommandGuard guard);

  // Shows the dialog modelessly; each OK emits BranchEntered.
  void ShowForAppending();
  // Shows the dialog modally to ask for the values of a new element: the
  // row after OK (the caller reads the element columns), nothing after
  // Cancel. With `current`, its element columns are shown instead of fresh values.
  std::optional<BranchRow> AskElementValues(const std::optional<BranchRow>& current = std::nullopt);
  // Adds the columns "J, А" and "Угол J" to the row (the dialog widens), or
  // takes them away again; the callers choose before showing it.
  void ShowCurrentSourceColumns(bool shown);

  // The texts of the row being entered.
  BranchRow Row() const;
  // Writes one draw of values into columns 1..5 and empties J and its
  // angle; the name stays. Every activation does this with a clock-seeded source.
  void ProposeValues(RandomSource& random);

 signals:
  void BranchEntered(const BranchRow& row);

 protected:
  bool event(QEvent* event) override;

 private:
  enum class Mode { AppendRow, AskElement };

  void FillTitles(int firstColumn);
  int ElementColumns() const;
  void ProposeFreshValues();
  void SetCell(int column, const std::string& text);
  void Confirm();

  Prompts& prompts_;
  CommandGuard guard_;
  Mode mode_ = Mode::AppendRow;
  // Set by OK in element mode; cleared at every activation, so an earlier OK
  // never answers a later question.
  bool confirmed_ = false;
  std::optional<BranchRow> current_;
  QTableWidget* rowGrid_ = nullptr;
};

}  // namespace ohmara
